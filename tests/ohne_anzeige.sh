#!/usr/bin/env bash
# Without any display the program says so in one line and ends with exit code 1, no crash; asked
# for its version or help it answers in one line with exit code 0, display or not.
set -uo pipefail
programm="$1"
bestanden=0
# pruefe NAME CODE TEXT ENV... -- ARG...: one line on the stream the exit code implies, with TEXT.
pruefe() {
    local name="$1" code="$2" text="$3"; shift 3
    local umgebung=() ausgabe rc
    while [ "$1" != -- ]; do umgebung+=("$1"); shift; done
    shift
    if [ "$code" -eq 0 ]; then
        ausgabe=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${umgebung[@]}" "$programm" "$@" 2>/dev/null)
    else
        ausgabe=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${umgebung[@]}" "$programm" "$@" 2>&1 >/dev/null)
    fi
    rc=$?
    [ "$rc" -eq "$code" ] || { echo "$name: exit code $rc, expected $code: $ausgabe" >&2; exit 1; }
    [ "$(printf '%s\n' "$ausgabe" | wc -l)" -eq 1 ] || { echo "$name: expected one line, got: $ausgabe" >&2; exit 1; }
    echo "$ausgabe" | grep -q -- "$text" || { echo "$name: unclear answer: $ausgabe" >&2; exit 1; }
    bestanden=$((bestanden + 1))
}
pruefe "no display" 1 Anzeige --
# A display that is set but cannot be reached is no display either, on X as on Wayland.
pruefe "unreachable X display" 1 Anzeige DISPLAY=:97 --
pruefe "Wayland socket missing" 1 Anzeige WAYLAND_DISPLAY=wayland-97 XDG_RUNTIME_DIR=/tmp --
version=$(sed -n 's/^project(Klavidor VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
pruefe "--version" 0 "^Klavidor $version\$" -- --version
pruefe "--help" 0 "klavidor" -- --help
echo "$bestanden passed, 0 failed"
