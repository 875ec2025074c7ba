#!/usr/bin/env bash
# Keeps the folders pointing one way: a file may include its own folder and folders on lower
# levels, never one on its own level or above it, so the graph of folders has no cycle.
#   Usage: ordnung.sh SOURCE_DIR
set -euo pipefail
cd "$1"

# Top down: the entry and start screen; the main window with the keyboard panel; the windows and
# panels it composes (learning uses the staff and command panels, the book the web addresses);
# the instruments; the player (whose module places the instruments share); the practice core;
# shared widgets.
declare -A ebene=(
    [app]=0
    [keyboard]=1
    [learning]=2 [book]=2
    [views]=3 [web]=3
    [input]=4
    [sound]=5
    [kern]=6
    [widgets]=7
)

# Beside the direction: the learning panel knows no device and no player.
verboten="learning -> input
learning -> sound"

kanten=0
rueck=()
for ordner in "${!ebene[@]}"; do
    [ -d "$ordner" ] || continue
    while IFS=: read -r datei ziel; do
        ziel_ordner="${ziel%%/*}"
        [ -n "${ebene[$ziel_ordner]+x}" ] || continue
        [ "$ziel_ordner" = "$ordner" ] && continue
        kanten=$((kanten + 1))
        if [ "${ebene[$ziel_ordner]}" -le "${ebene[$ordner]}" ] || grep -qx "$ordner -> $ziel_ordner" <<<"$verboten"; then
            rueck+=("$datei -> $ziel")
        fi
    done < <(grep -rHo --include='*.h' --include='*.cpp' '^\s*#\s*include\s*"[^"]*"' "$ordner" \
                 | sed -E 's/:\s*#\s*include\s*"([^"]*)"$/:\1/')
done

falsch=$(printf '%s\n' "${rueck[@]}" | sed '/^$/d' | sort -u)
echo "ordnung: $kanten includes between folders, $(sed '/^$/d' <<<"$falsch" | wc -l) against the direction"
if [ -n "$falsch" ]; then
    echo "Includes into a folder on the same level or above:"
    sed 's/^/  /' <<<"$falsch"
    exit 1
fi
