#!/usr/bin/env bash
# Without any display the program says so in one line and ends with exit code 1, no crash.
set -uo pipefail
fehler=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1 >/dev/null)
rc=$?
[ "$rc" -eq 1 ] || { echo "exit code $rc, expected 1" >&2; exit 1; }
[ "$(printf '%s\n' "$fehler" | wc -l)" -eq 1 ] || { echo "expected one line, got: $fehler" >&2; exit 1; }
echo "$fehler" | grep -q "Anzeige" || { echo "unclear message: $fehler" >&2; exit 1; }
# A display that is set but cannot be reached is no display either.
fehler=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 "$1" 2>&1 >/dev/null)
rc=$?
[ "$rc" -eq 1 ] && [ "$(printf '%s\n' "$fehler" | wc -l)" -eq 1 ] || { echo "unreachable display: $rc $fehler" >&2; exit 1; }
echo "2 passed, 0 failed"
