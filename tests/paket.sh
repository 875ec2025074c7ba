#!/usr/bin/env bash
# Installs into a temporary prefix, validates the desktop entry and the AppStream metadata, and
# starts the program the way the desktop entry says (Exec in the Path folder) under Xvfb.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop="$prefix/share/applications/de.klavidor.Klavidor.desktop"
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/de.klavidor.Klavidor.metainfo.xml" >/dev/null
[ "$(ls "$prefix/share/klavidor/klaenge"/*.wav | wc -l)" -eq 41 ] || { echo "sounds missing" >&2; exit 1; }
for s in 16 24 32 48 64 128 256; do
    [ -s "$prefix/share/icons/hicolor/${s}x${s}/apps/de.klavidor.Klavidor.png" ] || { echo "icon $s missing" >&2; exit 1; }
done
[ -s "$prefix/share/icons/hicolor/scalable/apps/de.klavidor.Klavidor.svg" ]
ls "$prefix"/lib*/klavidor/klavidor_ton.so >/dev/null || { echo "sound player module missing" >&2; exit 1; }
exec_zeile=$(sed -n 's/^Exec=//p' "$desktop")
pfad=$(sed -n 's/^Path=//p' "$desktop")
[ "$pfad" = "$prefix/share/klavidor/klaenge" ] || { echo "Path is $pfad" >&2; exit 1; }
[ "$exec_zeile" = "$prefix/bin/klavidor" ] || { echo "Exec is $exec_zeile" >&2; exit 1; }
export SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash -c '
    cd "$1" && { "$2" & pid=$!; }
    for _ in $(seq 1 100); do
        if xdotool search --onlyvisible --pid $pid >/dev/null 2>&1; then kill $pid; exit 0; fi
        sleep 0.1
    done
    kill $pid; echo "no window from the desktop entry" >&2; exit 1' _ "$pfad" "$exec_zeile"
echo "1 passed, 0 failed"
