#!/usr/bin/env bash
# Starts the real program under Xvfb, clicks "&Starten", waits for the main window and takes a
# screenshot of it, which must have the window's size and show more than a blank area.
set -euo pipefail
programm="$1"; klaenge="$2"; ausgabe="$3"
mkdir -p "$ausgabe"
export SDL_AUDIODRIVER=dummy
exec xvfb-run -a -s "-screen 0 1280x800x24" bash -s "$programm" "$klaenge" "$ausgabe" <<'INNEN'
set -euo pipefail
programm="$1"; klaenge="$2"; ausgabe="$3"
cd "$klaenge"
"$programm" 2>"$ausgabe/stderr.txt" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
# Waits until a visible window whose size matches the pattern is mapped; prints its id.
warte_auf_fenster() {
    for _ in $(seq 1 100); do
        for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
            geo=$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {print $2}')
            if [[ "$geo" == $1 ]]; then echo "$id"; return 0; fi
        done
        sleep 0.1
    done
    echo "no window of size $1 appeared" >&2
    return 1
}
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
INNEN
