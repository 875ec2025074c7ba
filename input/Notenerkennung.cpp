#include "input/Notenerkennung.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr uint_t Sprung = 256;              // samples per analysis frame (5.8 ms at 44.1 kHz)
constexpr uint_t Tonfenster = 2048;         // yinfft window: several periods of the lowest key
constexpr uint_t Einsatzfenster = 1024;
// Samples after an onset before its pitch counts: the window then holds a quarter of the new note,
// several periods of the lowest key, and the frames read meanwhile count when aubio reports the
// onset (a few frames late). Half the window took 80 ms to a key (median), this 57 ms.
constexpr std::int64_t Anlauf = Tonfenster / 4;
// Frames in a row (46 ms) that must name the same key. Measured on the 40 key sounds: every count
// from 4 up names all 40, clean and in noise; fewer frames let speech through (4: 27 false keys a
// minute, 6: 6, 7: 2, 8: none), and 8 still decide 57 ms after the onset (median).
constexpr int Stabile_Frames = 8;
// The key asked for needs only to settle (17 ms): speech and noise seldom land on that one key.
constexpr int Erwartete_Frames = 3;
constexpr double Toleranz_Halbtoene = 0.4;  // +-40 cents around the key
// yinfft (and yin) read a piano's notes 20 to 40 cents sharp, a stretched string's upper partials
// pulling the period (measured on FluidR3's grand, whose fundamentals are in tune): taken off
// before the key is judged, or the keys near +40 would come late or not at all.
constexpr double Klavier_Versatz = 0.25;
constexpr double Streuung_Halbtoene = 0.03; // a string holds its pitch over those frames; a voice glides
// yinfft reads the upper keys less steadily (a few samples a period), and no voice's fundamental
// lies up there: 0.03 held keys 31-36 back for 150-260 ms.
constexpr double Streuung_Oben = 0.12;
constexpr int Oben_Ab = 66;
constexpr double Grundton_Anteil = 0.1;     // a fundamental: a spectral peak of 1/10 of its octave or more
constexpr double Frist_s = 0.4;             // a note not named by then is let go
constexpr double Neuer_Anschlag = 2.0;      // a new strike at least doubles the level
constexpr std::size_t Verlauf = 8;          // frames of level kept to know the level before an onset
constexpr const char* Einsatzmethode = "specflux";
constexpr double Einsatzschwelle = 0.058;   // below its default (0.18), which missed soft notes in noise
constexpr double Einsatz_Mindestabstand_ms = 50.0;
// In broadband noise aubio's spectral flux hardly moves when a note starts (TimGM6mb's piano in
// pink noise: 7 of 40 heard); its level does at once. A frame this much louder than the last few.
constexpr double Pegelsprung = 3.0;
constexpr std::size_t Pegelsprung_Frames = 3;
constexpr double Pegelsprung_Boden = 0.001; // -60 dBFS: below it a jump is dither

} // namespace

struct Notenerkennung::Zustand
{
    Zustand(int rate, Meldung m)
        : abtastrate(rate), meldung(std::move(m)), eingabe(new_fvec(Sprung)), einsatzAus(new_fvec(1)),
          tonAus(new_fvec(1)), einsatz(new_aubio_onset(Einsatzmethode, Einsatzfenster, Sprung, uint_t(rate))),
          ton(new_aubio_pitch("yinfft", Tonfenster, Sprung, uint_t(rate))),
          zerlegung(new_aubio_pvoc(Tonfenster, Sprung)), spektrum(new_cvec(Tonfenster))
    {
        aubio_onset_set_threshold(einsatz, Einsatzschwelle);
        aubio_onset_set_minioi_ms(einsatz, Einsatz_Mindestabstand_ms);
        // Onsets under the pitch's silence too, so a note played too softly can be told so.
        aubio_onset_set_silence(einsatz, Pegel_Boden_dB);
        aubio_pitch_set_unit(ton, "midi");
        aubio_pitch_set_silence(ton, Stille_Standard_dB);
        puffer.reserve(Sprung);
    }
    ~Zustand()
    {
        del_cvec(spektrum);
        del_aubio_pvoc(zerlegung);
        del_aubio_pitch(ton);
        del_aubio_onset(einsatz);
        del_fvec(tonAus);
        del_fvec(einsatzAus);
        del_fvec(eingabe);
    }

    void frame();
    void neuerEinsatz(std::int64_t bei);
    void merke(double midi);
    void beurteile();
    double steht(int note, int frames) const;
    void verwirf();
    bool grundtonDa(double midi) const;
    bool angeschlagen() const { return seitEinsatz >= Neuer_Anschlag * vorEinsatz; }

    int abtastrate;
    Meldung meldung;
    Verworfen verworfen;
    double stille = Stille_Standard_dB;
    int erwartet = -1;
    fvec_t* eingabe;
    fvec_t* einsatzAus;
    fvec_t* tonAus;
    aubio_onset_t* einsatz;
    aubio_pitch_t* ton;
    aubio_pvoc_t* zerlegung;
    cvec_t* spektrum;
    std::vector<float> puffer;
    std::int64_t gelesen = 0;
    double pegel = 0;

    std::array<double, Verlauf> letztePegel{}; // RMS of the last frames, the newest at naechster - 1
    std::size_t naechster = 0;
    double vorEinsatz = 0;   // level just before the onset
    double seitEinsatz = 0;  // loudest frame since
    bool wartet = false;          // an onset waits for its key
    std::int64_t einsatzBei = 0;
    std::array<double, Stabile_Frames> toene{}; // pitches of the last frames, piano's sharpness taken off
    std::int64_t toeneGezaehlt = 0;
};

Notenerkennung::Notenerkennung(int abtastrate, Meldung meldung)
    : z(std::make_unique<Zustand>(abtastrate, std::move(meldung)))
{
}

Notenerkennung::~Notenerkennung() = default;

void Notenerkennung::beiVerworfen(Verworfen verworfen) { z->verworfen = std::move(verworfen); }

void Notenerkennung::setzeStille(double dB)
{
    z->stille = wirksameStille(dB);
    aubio_pitch_set_silence(z->ton, smpl_t(z->stille));
}

void Notenerkennung::erwarte(int midi) { z->erwartet = midi; }

double Notenerkennung::pegel() const { return z->pegel; }
std::int64_t Notenerkennung::gelesen() const { return z->gelesen; }

void Notenerkennung::verarbeite(const float* proben, std::size_t anzahl)
{
    for (std::size_t i = 0; i < anzahl; ++i) {
        z->puffer.push_back(proben[i]);
        if (z->puffer.size() == Sprung) {
            std::copy(z->puffer.begin(), z->puffer.end(), z->eingabe->data);
            z->puffer.clear();
            z->gelesen += Sprung;
            z->frame();
        }
    }
}

void Notenerkennung::Zustand::frame()
{
    double summe = 0;
    for (uint_t i = 0; i < Sprung; ++i)
        summe += double(eingabe->data[i]) * eingabe->data[i];
    const double rms = std::sqrt(summe / Sprung);
    double davor = 0;
    for (std::size_t i = 1; i <= Pegelsprung_Frames; ++i)
        davor = std::max(davor, letztePegel[(naechster + Verlauf - i) % Verlauf]);
    letztePegel[naechster++ % Verlauf] = rms;
    seitEinsatz = std::max(seitEinsatz, rms);
    const double dB = 20 * std::log10(std::max(rms, 1e-9));
    pegel = std::clamp((dB - Pegel_Boden_dB) / -Pegel_Boden_dB, 0.0, 1.0);

    aubio_onset_do(einsatz, eingabe, einsatzAus);
    aubio_pitch_do(ton, eingabe, tonAus);
    aubio_pvoc_do(zerlegung, eingabe, spektrum);
    if (einsatzAus->data[0] > 0)
        neuerEinsatz(std::int64_t(aubio_onset_get_last(einsatz)));
    else if (rms >= Pegelsprung * davor && rms >= Pegelsprung_Boden)
        neuerEinsatz(gelesen - Sprung);
    merke(tonAus->data[0]);
    if (wartet)
        beurteile();
}

// Every frame's pitch is kept, so the frames between an onset and aubio's word of it count.
void Notenerkennung::Zustand::merke(double midi)
{
    // Over a key still ringing, yinfft may name the octave below the new one: no fundamental there.
    if (midi > 0 && !grundtonDa(midi) && grundtonDa(midi + 12))
        midi += 12;
    toene[std::size_t(toeneGezaehlt++ % Stabile_Frames)] = midi > 0 ? midi - Klavier_Versatz : 0;
}

// A struck onset that named no key, let go at its deadline or by the next onset, says why.
void Notenerkennung::Zustand::verwirf()
{
    wartet = false;
    if (verworfen && angeschlagen())
        verworfen(20 * std::log10(std::max(seitEinsatz, 1e-9)) < stille ? Grund::ZuLeise : Grund::KeinKlarerTon,
                  einsatzBei);
}

void Notenerkennung::Zustand::neuerEinsatz(std::int64_t bei)
{
    // One strike told twice: by its level at once, by aubio a few frames later.
    if (wartet && bei - einsatzBei < std::int64_t(Einsatz_Mindestabstand_ms * abtastrate / 1000))
        return;
    if (wartet)
        verwirf();
    wartet = true;
    einsatzBei = bei;
    // aubio reports the onset a few frames late: the frame before it is still in the ring.
    const auto zurueck = std::clamp<std::int64_t>((gelesen - bei) / Sprung + 1, 1, Verlauf);
    vorEinsatz = letztePegel[(naechster + Verlauf - std::size_t(zurueck)) % Verlauf];
    seitEinsatz = 0;
    for (std::int64_t i = 1; i < zurueck; ++i)
        seitEinsatz = std::max(seitEinsatz, letztePegel[(naechster + Verlauf - std::size_t(i)) % Verlauf]);
}

// The mean of the last frames' pitches if they all lie on the key and hold still, else NaN.
double Notenerkennung::Zustand::steht(int note, int frames) const
{
    if ((gelesen - einsatzBei - Anlauf) / Sprung + 1 < frames)
        return NAN;
    double tiefst = 1e9, hoechst = -1e9, summe = 0;
    for (int i = 1; i <= frames; ++i) {
        const double t = toene[std::size_t((toeneGezaehlt - i) % Stabile_Frames)];
        if (std::abs(t - note) > Toleranz_Halbtoene)
            return NAN;
        tiefst = std::min(tiefst, t);
        hoechst = std::max(hoechst, t);
        summe += t;
    }
    const double streuung = note >= Oben_Ab ? Streuung_Oben : Streuung_Halbtoene;
    return hoechst - tiefst > streuung ? NAN : summe / frames;
}

void Notenerkennung::Zustand::beurteile()
{
    if (gelesen - einsatzBei > std::int64_t(Frist_s * abtastrate)) {
        verwirf();
        return;
    }
    const double midi = toene[std::size_t((toeneGezaehlt - 1) % Stabile_Frames)];
    if (gelesen - einsatzBei < Anlauf || midi <= 0)
        return;
    const int note = int(std::lround(midi));
    // A wrong key still needs the full check: only the asked one is taken on less.
    const double mittel = steht(note, note == erwartet ? Erwartete_Frames : Stabile_Frames);
    if (std::isnan(mittel))
        return;
    wartet = false;
    // Without a rise in level the "onset" is a key ringing on or being let go (its damper), and the
    // pitch heard is the old note's or a blend: no new key.
    if (!angeschlagen())
        return;
    meldung(Note{note, einsatzBei, gelesen, int(std::lround(100 * (mittel - note)))});
}

// Whether the frame's spectrum has a peak at that pitch's fundamental, not just its harmonics.
bool Notenerkennung::Zustand::grundtonDa(double midi) const
{
    const double hz = 440.0 * std::pow(2.0, (midi - 69) / 12);
    const auto b = std::size_t(std::lround(hz * Tonfenster / abtastrate));
    const smpl_t* n = spektrum->norm;
    if (b < 2 || 2 * b + 2 >= spektrum->length)
        return true;
    const std::size_t spitze = std::size_t(std::max_element(n + b - 1, n + b + 2) - n);
    const bool gipfel = n[spitze] >= n[spitze - 1] && n[spitze] >= n[spitze + 1];
    const double oktave = *std::max_element(n + 2 * b - 2, n + 2 * b + 3);
    return gipfel && n[spitze] >= Grundton_Anteil * oktave;
}
