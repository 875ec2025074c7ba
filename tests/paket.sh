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
# A window on the Xvfb below, whatever platform the caller's environment names.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash -c '
    cd "$1" && { "$2" & pid=$!; }
    for _ in $(seq 1 100); do
        if xdotool search --onlyvisible --pid $pid >/dev/null 2>&1; then kill $pid; exit 0; fi
        sleep 0.1
    done
    kill $pid; echo "no window from the desktop entry" >&2; exit 1' _ "$pfad" "$exec_zeile"

# The Debian package made from the same build: its fields, its files, lintian, and an install and
# purge in a throw-away root.
cd "$build" && cpack -B "$prefix/deb" >/dev/null
deb=$(ls "$prefix"/deb/klavidor_*-1_*.deb)
feld() { dpkg-deb -f "$deb" "$1"; }
version=$("$build/klavidor" --version)
[ "$(feld Version)" = "${version#Klavidor }-1" ] || { echo "package version $(feld Version), program $version" >&2; exit 1; }
# The program's own libraries are needed; the modules' only recommended, as it runs without them.
for bib in libqt6widgets6 libqt6svg6 libxcb1; do
    feld Depends | grep -q "$bib" || { echo "Depends lacks $bib: $(feld Depends)" >&2; exit 1; }
done
for bib in libsdl2 libpulse0 librtmidi libjack libaubio libasound2; do
    feld Recommends | grep -q "$bib" || { echo "Recommends lacks $bib: $(feld Recommends)" >&2; exit 1; }
    ! feld Depends | grep -q "$bib" || { echo "$bib is in Depends" >&2; exit 1; }
done
# No maintainer scripts: Debian's triggers update the menus, icons and manual pages.
[ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -v -e '^\./$' -e control -e md5sums)" = "" ] || { echo "maintainer scripts found" >&2; exit 1; }
dateien=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for d in ./usr/bin/klavidor ./usr/share/doc/klavidor/copyright ./usr/share/doc/klavidor/changelog.Debian.gz \
         ./usr/share/man/man1/klavidor.1.gz ./usr/share/man/de/man1/klavidor.1.gz \
         ./usr/share/applications/de.klavidor.Klavidor.desktop ./usr/share/metainfo/de.klavidor.Klavidor.metainfo.xml; do
    grep -qx -- "$d" <<<"$dateien" || { echo "$d missing from the package" >&2; exit 1; }
done
[ "$(grep -c '^\./usr/lib/.*klavidor/klavidor_\(ton\|midi\|mikro\)\.so$' <<<"$dateien")" -eq 3 ] || { echo "modules missing" >&2; exit 1; }
[ "$(grep -c '^\./usr/share/klavidor/klaenge/.*\.wav$' <<<"$dateien")" -eq 41 ] || { echo "sounds missing from the package" >&2; exit 1; }
befund=$(lintian "$deb" 2>/dev/null | grep -E '^(E|W):' || true)
[ -z "$befund" ] || { echo "lintian: $befund" >&2; exit 1; }
# Installed and purged without its dependencies (the root is empty): nothing of it stays behind.
wurzel="$prefix/wurzel"
mkdir -p "$wurzel"/var/lib/dpkg/{info,updates,triggers}
touch "$wurzel/var/lib/dpkg/status"
dpkg --root="$wurzel" --log=/dev/null --force-not-root --force-depends --force-script-chrootless -i "$deb" >/dev/null 2>&1
[ -x "$wurzel/usr/bin/klavidor" ] || { echo "dpkg did not install the program" >&2; exit 1; }
dpkg --root="$wurzel" --log=/dev/null --force-not-root --force-script-chrootless --purge klavidor >/dev/null
uebrig=$(cd "$wurzel" && find . -mindepth 1 -not -path './var*' | head)
[ -z "$uebrig" ] || { echo "left after purge: $uebrig" >&2; exit 1; }
echo "2 passed, 0 failed"
