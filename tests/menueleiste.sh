#!/usr/bin/env bash
# The real program on a real X server (run inside mit_desktop.sh): Alt enters the main window's
# menu bar and Right moves on; the title row must look different after each key, or a keyboard
# user cannot see where they are.   menueleiste.sh PROGRAM SOUNDS OUTDIR
set -euo pipefail
programm="$1"; klaenge="$2"; ausgabe="$3"
. "$(cd "$(dirname "$0")" && pwd)/fenster_suchen.sh"
mkdir -p "$ausgabe"
cd "$klaenge"
SDL_AUDIODRIVER=dummy "$programm" 2>"$ausgabe/menueleiste-stderr.txt" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
xdotool mousemove 0 0
warte_auf_fenster 635x474 >/dev/null
sleep 0.3
xdotool key --clearmodifiers alt+s
haupt=$(warte_auf_fenster '940x6[0-4][0-9]')
sleep 0.5
# The title row: the top 20 pixels of the client area (the menu bar), as a picture.
zeile() {
    sleep 0.4
    import -window "$haupt" -crop 940x20+0+0 +repage "$ausgabe/menueleiste-$1.png"
}
unterschied() { compare -metric AE "$ausgabe/menueleiste-$1.png" "$ausgabe/menueleiste-$2.png" null: 2>&1 || true; }
zeile vorher
xdotool key Alt_L
zeile alt
xdotool key Right
zeile rechts
bestanden=0
for paar in "vorher alt" "alt rechts"; do
    set -- $paar
    n=$(unterschied "$1" "$2")
    echo "$1 -> $2: $n pixels differ"
    [ "${n%%.*}" -gt 0 ] || { echo "the menu bar looks the same after $2 as $1" >&2; exit 1; }
    bestanden=$((bestanden + 1))
done
echo "$bestanden passed, 0 failed"
