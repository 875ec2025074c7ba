#!/usr/bin/env bash
# Makes the recordings the microphone is tested and measured on, from Debian packages only:
#   sauber/NN.wav   the piano note of key NN, mono 44.1 kHz, preceded by exactly 0.5 s of silence: the
#                   program's own key sound "NN-name.wav" from the folder KLAENGE if given, else
#                   rendered the same way (FluidR3's acoustic grand through FluidSynth, MIDI 48 + NN)
#   laut/NN.wav     the same note with a short reverb and pink noise about 20 dB below it throughout
#   geraeusch.wav   hum and room noise, clicks, then German speech (espeak-ng): no note in it
#   sprache.wav     SPRACHE seconds of speech alone (for the false keys per minute)
# Usage: [KLAENGE=DIR] [SPRACHE=SECONDS] mikro_aufnahmen.sh DIR [KEY...]   (default keys 0..39)
set -euo pipefail
ziel="$1"
shift
tasten=("$@")
[ ${#tasten[@]} -gt 0 ] || tasten=($(seq 0 39))
sf2=/usr/share/sounds/sf2/FluidR3_GM.sf2
rate=44100
vorlauf=0.5          # the note's onset lies here in every note file
sprache_s="${SPRACHE:-0}"
mkdir -p "$ziel/sauber" "$ziel/laut" "$ziel/tmp"
tmp="$ziel/tmp"

# A one-track MIDI file: note on at velocity 90, note off at 1.6 s, end at 2.0 s (120 bpm, 480 ticks).
midi() {
    local nn
    nn=$(printf '\\x%02x' "$1")
    printf "MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk\x00\x00\x00\x13"
    printf "\x00\xc0\x00\x00\x90${nn}\x5a\x8c\x00\x80${nn}\x00\x83\x00\xff\x2f\x00"
}

# RMS amplitude of the first 300 ms after the lead-in, or of the whole file.
rms() { sox "$1" -n "${@:2}" stat 2>&1 | awk '/RMS +amplitude/ {print $3}'; }

for k in "${tasten[@]}"; do
    nr=$(printf '%02d' "$k")
    [ -s "$ziel/laut/$nr.wav" ] && continue
    eigener=$(ls "${KLAENGE:-/nonexistent}/$nr"-*.wav 2>/dev/null | head -1 || true)
    if [ -n "$eigener" ]; then
        cp "$eigener" "$tmp/$nr-roh.wav"
    else
        midi $((48 + k)) >"$tmp/$nr.mid"
        fluidsynth -ni -q -R 0 -C 0 -g 1.0 -r $rate -F "$tmp/$nr-roh.wav" "$sf2" "$tmp/$nr.mid" >/dev/null 2>&1
    fi
    # Mono, the attack at the very start, normalised to -3 dBFS, then the lead-in of silence.
    sox "$tmp/$nr-roh.wav" -c 1 "$tmp/$nr-ton.wav" silence 1 1 0.2% trim 0 2.0 gain -n -3 pad "$vorlauf" 0
    cp "$tmp/$nr-ton.wav" "$ziel/sauber/$nr.wav"
    # The noisy one: reverb on the note, pink noise 20 dB below the note's first 300 ms.
    sox "$tmp/$nr-ton.wav" "$tmp/$nr-hall.wav" reverb 40 50 30 gain -n -3
    laenge=$(soxi -D "$tmp/$nr-hall.wav")
    sox -R -n -r $rate -c 1 "$tmp/rauschen.wav" synth "$laenge" pinknoise # -R: the same noise every run
    note=$(rms "$tmp/$nr-hall.wav" trim "$vorlauf" 0.3)
    rausch=$(rms "$tmp/rauschen.wav")
    faktor=$(awk -v n="$note" -v r="$rausch" 'BEGIN {print n / r / 10}')
    sox -m -v 1 "$tmp/$nr-hall.wav" -v "$faktor" "$tmp/rauschen.wav" "$ziel/laut/$nr.wav"
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
