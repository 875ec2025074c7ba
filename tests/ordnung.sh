#!/usr/bin/env bash
# Keeps the folders pointing one way: a file may include its own folder, a folder on its level and
# folders below it, never one above it. The back edges left today are listed below as debts; the
# check also fails when a listed debt is gone, so the list stays true and only shrinks.
#   Usage: ordnung.sh SOURCE_DIR
set -euo pipefail
cd "$1"

# Top down: the entry and start screen; the window; its panels and windows; devices, player and
# core; shared widgets.
declare -A ebene=(
    [app]=0
    [keyboard]=1
    [views]=2 [learning]=2 [book]=2 [web]=2
    [input]=3 [sound]=3 [kern]=3
    [widgets]=4
)

# Debts: the main window class Keyboard is still defined across several folders, which include its
# header from below, and the help book still plays through keyboard/'s mdlSound. Remove a line when
# its include goes.
schulden="
    book/Buch.cpp -> keyboard/mdlSound.h
    book/Fenster.cpp -> keyboard/Keyboard.h
    input/Instrument.cpp -> keyboard/Keyboard.h
    learning/Aufbau.cpp -> keyboard/Keyboard.h
    learning/Lernmodus.cpp -> keyboard/Keyboard.h
    views/Ansicht.cpp -> keyboard/Keyboard.h
    views/Aufbau.cpp -> keyboard/Keyboard.h
    views/Befehle.cpp -> keyboard/Keyboard.h
    views/Markierungen.cpp -> keyboard/Keyboard.h
    views/Tonarten.cpp -> keyboard/Keyboard.h
"

kanten=0
rueck=()
for ordner in "${!ebene[@]}"; do
    [ -d "$ordner" ] || continue
    while IFS=: read -r datei ziel; do
        ziel_ordner="${ziel%%/*}"
        [ -n "${ebene[$ziel_ordner]+x}" ] || continue
        kanten=$((kanten + 1))
        if [ "${ebene[$ziel_ordner]}" -lt "${ebene[$ordner]}" ]; then
            rueck+=("$datei -> $ziel")
        fi
    done < <(grep -rHo --include='*.h' --include='*.cpp' '^\s*#\s*include\s*"[^"]*"' "$ordner" \
                 | sed -E 's/:\s*#\s*include\s*"([^"]*)"$/:\1/')
done

gefunden=$(printf '%s\n' "${rueck[@]}" | sed '/^$/d' | sort -u)
erwartet=$(printf '%s\n' "$schulden" | sed -e 's/^\s*//' -e '/^$/d' | sort -u)
neu=$(comm -23 <(printf '%s\n' "$gefunden") <(printf '%s\n' "$erwartet") | sed '/^$/d')
getilgt=$(comm -13 <(printf '%s\n' "$gefunden") <(printf '%s\n' "$erwartet") | sed '/^$/d')

echo "ordnung: $kanten includes between folders, $(printf '%s\n' "$gefunden" | sed '/^$/d' | wc -l) against the direction (listed debts: $(printf '%s\n' "$erwartet" | sed '/^$/d' | wc -l))"
fehler=0
if [ -n "$neu" ]; then
    echo "Includes from a lower folder into a higher one:"
    sed 's/^/  /' <<<"$neu"
    fehler=1
fi
if [ -n "$getilgt" ]; then
    echo "Listed debts that are gone (remove them from tests/ordnung.sh):"
    sed 's/^/  /' <<<"$getilgt"
    fehler=1
fi
exit $fehler
