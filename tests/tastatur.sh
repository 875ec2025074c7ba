#!/usr/bin/env bash
# The real program on a real X server (run inside mit_desktop.sh), used as a person would:
#   tastatur.sh PROGRAM SOUNDS OUTDIR tastatur   Alt+S, F4 (blue keys), Ctrl+W twice, F1, F11, Esc
#   tastatur.sh PROGRAM SOUNDS OUTDIR maus       a mouse click on "Starten", then F4 (blue keys)
# The keys go to whichever window has the keyboard focus, as typed keys do; the pointer is moved
# out of the way first, so no window gets the focus by lying under it.
set -euo pipefail
programm="$1"; klaenge="$2"; ausgabe="$3"; ablauf="$4"
hier="$(cd "$(dirname "$0")" && pwd)"
fotos="$ausgabe/$ablauf-$([ -n "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep 'window id')" ] && echo wm || echo ohne-wm)"
mkdir -p "$fotos"
cd "$klaenge"
SDL_AUDIODRIVER=dummy "$programm" 2>"$fotos/stderr.txt" &
pid=$!
# On the way out: the program ends, and whatever it wrote is shown if a step failed.
trap 'rc=$?; kill $pid 2>/dev/null || true; [ $rc -eq 0 ] || cat "$fotos/stderr.txt" >&2' EXIT

. "$hier/fenster_suchen.sh"
# The colour (#RRGGBB) of the main window's client pixel x, y, below its menu bar.
farbe_bei() {
    local id hoehe
    id=$(warte_auf_fenster '940x6[0-4][0-9]')
    hoehe=$(xdotool getwindowgeometry "$id" | awk '/Geometry/ {split($2, g, "x"); print g[2]}')
    import -window "$id" "$fotos/$3.png"
    convert "$fotos/$3.png" -format "%[hex:p{$1,$(($2 + hoehe - 590))}]" info: | cut -c1-6
}
# Waits until the pixel x, y of the main window shows the colour RRGGBB.
erwarte_farbe() {
    local f=""
    for _ in $(seq 1 30); do
        f=$(farbe_bei "$1" "$2" "$4")
        [ "${f^^}" = "$3" ] && return 0
        sleep 0.1
    done
    echo "$4: pixel $1,$2 is #$f, expected #$3" >&2
    return 1
}
taste() { xdotool key --clearmodifiers "$1"; }

xdotool mousemove 0 0
start=$(warte_auf_fenster 635x474)
# The lower part of the first white key, and the first range button of learning mode.
taste_x=136; taste_y=474; bereich_x=723; bereich_y=123
if [ "$ablauf" = tastatur ]; then
    sleep 0.3
    taste alt+s
else
    eval "$(xdotool getwindowgeometry --shell "$start")"
    xdotool mousemove $((X + 336)) $((Y + 240)) click 1
    xdotool mousemove 0 0
fi
warte_auf_fenster '940x6[0-4][0-9]' >/dev/null
sleep 0.3
taste F4
erwarte_farbe $taste_x $taste_y 0000FF "f4-blaue-tasten"
if [ "$ablauf" = tastatur ]; then
    taste ctrl+w; sleep 0.5
    taste ctrl+w; sleep 0.5
    taste F1
    erwarte_farbe $taste_x $taste_y F2ECD5 "nach-ctrl-w"
    taste F11
    erwarte_farbe $bereich_x $bereich_y A25C2F "lernen"
    taste Escape
    for _ in $(seq 30); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $pid 2>/dev/null; then echo "Esc did not end the program" >&2; exit 1; fi
    wait $pid
fi
if grep -v -e XDG_RUNTIME_DIR "$fotos/stderr.txt" | grep -q .; then
    echo "the program wrote to stderr:" >&2; cat "$fotos/stderr.txt" >&2; exit 1
fi
echo "1 passed, 0 failed"
