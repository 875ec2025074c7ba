#!/usr/bin/env bash
# The real program (inside mit_desktop.sh) started from a folder without sounds, as a user starts
# it from a terminal: a click on a key must still be heard, its sound found beside the program.
#   klang_von_ueberall.sh PROGRAM
set -euo pipefail
programm="$1"
. "$(cd "$(dirname "$0")" && pwd)/fenster_suchen.sh"
leer="$(mktemp -d)"
trap 'kill $pid 2>/dev/null || true; rm -rf "$leer"' EXIT
cd "$leer"
# SDL's disk driver writes what would reach the speakers: 16-bit stereo at 44.1 kHz.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$leer/aus.raw" "$programm" 2>"$leer/stderr.txt" &
pid=$!
warte_auf_fenster 635x474 >/dev/null
xdotool key --clearmodifiers alt+s
haupt=$(warte_auf_fenster '940x6[0-4][0-9]')
eval "$(xdotool getwindowgeometry --shell "$haupt")"
sleep 1 # the player loads in the background after the window opens
# A white key in the middle of the keyboard, in its lower half where no black key covers it.
xdotool mousemove $((X + 470)) $((Y + 485)) click 1
sleep 1.5
kill $pid
spitze=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$leer/aus.raw" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
echo "peak of what was played: $spitze"
awk -v s="$spitze" 'BEGIN { exit !(s > 0.05) }' || { echo "silent when started outside the sound folder" >&2; cat "$leer/stderr.txt" >&2; exit 1; }
echo "1 passed, 0 failed"
