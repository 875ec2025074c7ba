#!/usr/bin/env bash
# Starts the real program (inside mit_desktop.sh), clicks "&Starten", waits for the main window
# and takes a screenshot of it, which must have the window's size and show more than a blank area.
set -euo pipefail
programm="$1"; klaenge="$2"; ausgabe="$3"
. "$(cd "$(dirname "$0")" && pwd)/fenster_suchen.sh"
mkdir -p "$ausgabe"
cd "$klaenge"
SDL_AUDIODRIVER=dummy "$programm" 2>"$ausgabe/stderr.txt" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
start=$(warte_auf_fenster 635x474)
eval "$(xdotool getwindowgeometry --shell "$start")"
# "&Starten" lies at 3720, 3240 twips (248, 216 px), 177 x 49 px.
xdotool mousemove $((X + 336)) $((Y + 240)) click 1
# The client area is 940 x 590; the menu bar adds its own height.
haupt=$(warte_auf_fenster '940x6[0-4][0-9]')
sleep 0.5
import -window "$haupt" "$ausgabe/hauptfenster.png"
groesse=$(identify -format '%wx%h' "$ausgabe/hauptfenster.png")
farben=$(convert "$ausgabe/hauptfenster.png" -format '%k' info:)
echo "screenshot $groesse with $farben colours"
[ "${groesse%x*}" = 940 ] || { echo "wrong width: $groesse" >&2; exit 1; }
[ "$farben" -gt 200 ] || { echo "screenshot looks blank" >&2; exit 1; }
if [ -s "$ausgabe/stderr.txt" ] && grep -v -e XDG_RUNTIME_DIR "$ausgabe/stderr.txt" | grep -q .; then
    echo "the program wrote to stderr:" >&2; cat "$ausgabe/stderr.txt" >&2; exit 1
fi
echo "1 passed, 0 failed"
