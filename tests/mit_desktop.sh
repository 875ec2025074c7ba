#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb, 1280 x 800), under the openbox window manager
# when --wm is given, and stops both afterwards.   Usage: mit_desktop.sh [--wm] COMMAND [ARG...]
set -euo pipefail
wm=0
if [ "${1:-}" = --wm ]; then wm=1; shift; fi
tmp="$(mktemp -d -t klavidor-x.XXXXXX)"
pids=()
aufraeumen() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap aufraeumen EXIT
# -noreset: without it the server resets whenever its last client leaves (the readiness probe
# below), and a client connecting during that reset is turned away.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$tmp/nummer" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/nummer" ] && break; sleep 0.05; done
[ -s "$tmp/nummer" ] || { echo "Xvfb did not start:"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=":$(cat "$tmp/nummer")"
# The command runs on this server whatever platform the caller's environment names.
export QT_QPA_PLATFORM=xcb
# Ready once a client gets through, not only once the server has chosen its number.
for _ in $(seq 100); do xprop -root >/dev/null 2>&1 && break; sleep 0.05; done
xprop -root >/dev/null 2>&1 || { echo "Xvfb on $DISPLAY takes no clients:"; cat "$tmp/xvfb.log"; exit 1; }
if [ "$wm" = 1 ]; then
    openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
    pids+=($!)
    # Ready once it has announced itself on the root window.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" || { echo "openbox did not start"; cat "$tmp/openbox.log"; exit 1; }
fi
"$@"
