#!/usr/bin/env bash
# Makes the recordings the microphone is tested and measured on, from Debian packages only, for
# two pianos: fluidr3 (FluidR3's acoustic grand, the one the program plays) and timgm6mb (TimGM6mb's
# piano, samples of its own), each rendered through FluidSynth. Mono 44.1 kHz; every note's onset
# lies exactly 0.5 s into its file.
#   (no dither anywhere: the same files every run)
#   PIANO/sauber/NN.wav  key NN (MIDI 48 + NN) at velocity 80; fluidr3's is the program's own key
#                        sound "NN-name.wav" from the folder KLAENGE if given
#   PIANO/leise/NN.wav   velocity 40, PIANO/hart/NN.wav velocity 120: a hard stroke at -3 dBFS
#                        and the others as much quieter as the piano makes them
#   PIANO/laut/NN.wav    the clean note with reverb and pink noise about 20 dB below it throughout
#   PIANO/paare/AA-BB.wav  key AA, then key BB 0.25 s later while AA still sounds; AA-AA: the
#                        same key let go and struck again 0.3 s later
#   geraeusch.wav        hum and room noise, clicks, then German speech (espeak-ng): no note in it
#   sprache.wav          SPRACHE seconds of speech alone (for the false keys per minute)
# Usage: [KLAENGE=DIR] [SPRACHE=SECONDS] [PAARE="AA-BB ..."] mikro_aufnahmen.sh DIR [KEY...]
#        (default keys 0..39, no pairs)
set -euo pipefail
ziel="$1"
shift
tasten=("$@")
[ ${#tasten[@]} -gt 0 ] || tasten=($(seq 0 39))
paare=(${PAARE:-})
declare -A sf2=([fluidr3]=/usr/share/sounds/sf2/FluidR3_GM.sf2 [timgm6mb]=/usr/share/sounds/sf2/TimGM6mb.sf2)
rate=44100
vorlauf=0.5          # the note's onset lies here in every note file
sprache_s="${SPRACHE:-0}"
tmp="$ziel/tmp"
mkdir -p "$tmp"

# Ticks (960 a second: 120 bpm, 480 a beat) as a MIDI variable-length number, in printf escapes.
vl() {
    local n=$1 s
    s=$(printf '\\x%02x' $((n & 0x7f)))
    while ((n >>= 7)); do s=$(printf '\\x%02x' $(((n & 0x7f) | 0x80)))$s; done
    printf '%s' "$s"
}

# A one-track MIDI file of piano notes from lines "TICKS_SINCE_LAST STATUS NOTE VELOCITY" on stdin.
midi() {
    local spur d s n v
    spur='\x00\xc0\x00'
    while read -r d s n v; do spur+=$(vl "$d")$(printf '\\x%02x\\x%02x\\x%02x' "$s" "$n" "$v"); done
    spur+='\x00\xff\x2f\x00'
    printf "MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk$(printf '\\x%02x' 0 0 0 $((${#spur} / 4)))$spur"
}

# Renders MIDI from stdin with piano $1 into $2 (raw, as FluidSynth makes it).
rendere() {
    midi >"$tmp/x.mid"
    fluidsynth -ni -q -R 0 -C 0 -g 0.5 -r $rate -F "$2" "${sf2[$1]}" "$tmp/x.mid" >/dev/null 2>&1
}

# One key held 1.6 s at velocity $3.
einzeln() { printf '0 144 %d %d\n1536 128 %d 0\n384 128 %d 0\n' "$2" "$3" "$2" "$2" | rendere "$1" "$4"; }

# Mono, scaled by $3, the attack at the very start, then the lead-in of silence.
schneide() { sox -D "$1" "$2" remix - vol "$3" silence 1 1 0.2% trim 0 "${4:-2.0}" pad "$vorlauf" 0; }

# The factor that brings a file's peak to -3 dBFS.
normal() { sox "$1" -n remix - stat -v 2>&1 | awk '{print $1 * 0.708}'; }

# RMS amplitude of the first 300 ms after the lead-in, or of the whole file.
rms() { sox "$1" -n "${@:2}" stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }

# The noisy one: reverb on the note, pink noise 20 dB below the note's first 300 ms.
verrausche() {
    sox -D "$1" "$tmp/hall.wav" reverb 40 50 30 gain -n -3
    sox -R -n -r $rate -c 1 "$tmp/rauschen.wav" synth "$(soxi -D "$tmp/hall.wav")" pinknoise # -R: the same noise every run
    local faktor
    faktor=$(awk -v n="$(rms "$tmp/hall.wav" trim "$vorlauf" 0.3)" -v r="$(rms "$tmp/rauschen.wav")" 'BEGIN {print n / r / 10}')
    sox -D -m -v 1 "$tmp/hall.wav" -v "$faktor" "$tmp/rauschen.wav" "$2"
}

for klavier in fluidr3 timgm6mb; do
    d="$ziel/$klavier"
    mkdir -p "$d/sauber" "$d/leise" "$d/hart" "$d/laut" "$d/paare"
    for k in "${tasten[@]}"; do
        nr=$(printf '%02d' "$k")
        [ -s "$d/laut/$nr.wav" ] && continue
        einzeln $klavier $((48 + k)) 120 "$tmp/hart.wav"
        einzeln $klavier $((48 + k)) 40 "$tmp/leise.wav"
        einzeln $klavier $((48 + k)) 80 "$tmp/sauber.wav"
        eigener=$(ls "${KLAENGE:-/nonexistent}/$nr"-*.wav 2>/dev/null | head -1 || true)
        [ $klavier = fluidr3 ] && [ -n "$eigener" ] && cp "$eigener" "$tmp/sauber.wav"
        faktor=$(normal "$tmp/hart.wav")
        schneide "$tmp/hart.wav" "$d/hart/$nr.wav" "$faktor"
        schneide "$tmp/leise.wav" "$d/leise/$nr.wav" "$faktor"
        schneide "$tmp/sauber.wav" "$d/sauber/$nr.wav" "$(normal "$tmp/sauber.wav")"
        verrausche "$d/sauber/$nr.wav" "$d/laut/$nr.wav"
    done
    for p in "${paare[@]}"; do
        [ -s "$d/paare/$p.wav" ] && continue
        a=$((48 + 10#${p%-*})) b=$((48 + 10#${p#*-}))
        if [ $a = $b ]; then # let go 10 ms before the repeat, as a finger lifts and strikes again
            printf '0 144 %d 80\n278 128 %d 0\n10 144 %d 80\n1536 128 %d 0\n384 128 0 0\n' $a $a $a $a
        else
            printf '0 144 %d 80\n240 144 %d 80\n1296 128 %d 0\n240 128 %d 0\n384 128 0 0\n' $a $b $a $b
        fi | rendere $klavier "$tmp/paar.wav"
        schneide "$tmp/paar.wav" "$d/paare/$p.wav" "$(normal "$tmp/paar.wav")" 2.4
    done
done

text="Guten Morgen. Heute üben wir das Lesen von Noten. Nimm dir Zeit, und spiele jede Note ruhig. \
Wie war dein Wochenende? Wir waren am Samstag im Garten, und am Sonntag hat es den ganzen Tag geregnet. \
Das Klavier steht im Wohnzimmer neben dem Fenster. Meine Schwester spielt Geige, mein Bruder Trompete. \
Morgen kommt die Lehrerin um vier Uhr. Vergiss bitte die Hefte nicht, und bring auch den Bleistift mit."
# Half a man's voice, half a woman's: the woman's lies inside the keyboard's range.
sprich() {
    local dauer="$1" aus="$2" geschw="$3" haelfte
    haelfte=$(awk -v d="$dauer" 'BEGIN {print d / 2}')
    espeak-ng -v de -s "$geschw" -w "$tmp/mann.wav" "$text $text $text"
    espeak-ng -v de+f3 -p 70 -s "$geschw" -w "$tmp/frau.wav" "$text $text $text"
    sox "$tmp/mann.wav" -r $rate -c 1 "$tmp/mann-kurz.wav" trim 0 "$haelfte"
    sox "$tmp/frau.wav" -r $rate -c 1 "$tmp/frau-kurz.wav" trim 0 "$haelfte"
    sox "$tmp/mann-kurz.wav" "$tmp/frau-kurz.wav" "$aus" gain -n -6
}

if [ ! -s "$ziel/geraeusch.wav" ]; then
    # 8 s of mains hum with harmonics under room noise, 8 s of clicks, 14 s of speech.
    sox -n -r $rate -c 1 "$tmp/brumm.wav" synth 8 sine 50 sine 100 sine 150 sine 200 remix - gain -n -20
    sox -n -r $rate -c 1 "$tmp/raum.wav" synth 8 brownnoise gain -n -30
    sox -m "$tmp/brumm.wav" "$tmp/raum.wav" "$tmp/teil1.wav"
    sox -n -r $rate -c 1 "$tmp/klick.wav" synth 0.003 whitenoise gain -n -2 pad 0 0.397
    sox "$tmp/klick.wav" "$tmp/teil2.wav" repeat 19
    sprich 14 "$tmp/teil3.wav" 160
    sox "$tmp/teil1.wav" "$tmp/teil2.wav" "$tmp/teil3.wav" "$ziel/geraeusch.wav"
fi
if [ "$sprache_s" != 0 ] && [ ! -s "$ziel/sprache.wav" ]; then
    sprich "$sprache_s" "$ziel/sprache.wav" 150
fi
rm -rf "$tmp"
