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
// Frames in a row (46 ms) that must name the same key. Measured on the 40 key sounds: every count
// from 4 up names all 40, clean and in noise; fewer frames let speech through (4: 27 false keys a
// minute, 6: 6, 7: 2, 8: none), and 8 still decides 80 ms after the onset (median).
constexpr int Stabile_Frames = 8;
constexpr double Toleranz_Halbtoene = 0.4;  // +-40 cents around the key
// yinfft (and yin) read a piano's notes 20 to 40 cents sharp, a stretched string's upper partials
// pulling the period (measured on FluidR3's grand, whose fundamentals are in tune): taken off
// before the key is judged, or the keys near +40 would come late or not at all.
constexpr double Klavier_Versatz = 0.25;
constexpr double Streuung_Halbtoene = 0.03; // a string holds its pitch over those frames; a voice glides
constexpr double Grundton_Anteil = 0.1;     // a fundamental: a spectral peak of 1/10 of its octave or more
constexpr double Frist_s = 0.4;             // a note not named by then is let go
constexpr double Neuer_Anschlag = 2.0;      // a new strike at least doubles the level
constexpr std::size_t Verlauf = 8;          // frames of level kept to know the level before an onset
constexpr const char* Einsatzmethode = "specflux";
constexpr double Einsatzschwelle = 0.058;   // below its default (0.18), which missed soft notes in noise
constexpr double Einsatz_Mindestabstand_ms = 50.0;

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
    void beurteile(double midi);
    void verwirf();
    bool grundtonDa(double midi) const;
    bool angeschlagen() const { return seitEinsatz >= Neuer_Anschlag * vorEinsatz; }

    int abtastrate;
    Meldung meldung;
    Verworfen verworfen;
    double stille = Stille_Standard_dB;
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
    std::array<double, Stabile_Frames> toene{};
    int toeneGezaehlt = 0;
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
    letztePegel[naechster++ % Verlauf] = rms;
    seitEinsatz = std::max(seitEinsatz, rms);
    const double dB = 20 * std::log10(std::max(rms, 1e-9));
    pegel = std::clamp((dB - Pegel_Boden_dB) / -Pegel_Boden_dB, 0.0, 1.0);

    aubio_onset_do(einsatz, eingabe, einsatzAus);
    aubio_pitch_do(ton, eingabe, tonAus);
    aubio_pvoc_do(zerlegung, eingabe, spektrum);
    if (einsatzAus->data[0] > 0)
        neuerEinsatz(std::int64_t(aubio_onset_get_last(einsatz)));
    if (wartet)
        beurteile(tonAus->data[0]);
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
    if (wartet)
        verwirf();
    wartet = true;
    einsatzBei = bei;
    toeneGezaehlt = 0;
    // aubio reports the onset a few frames late: the frame before it is still in the ring.
    const auto zurueck = std::clamp<std::int64_t>((gelesen - bei) / Sprung + 1, 1, Verlauf);
    vorEinsatz = letztePegel[(naechster + Verlauf - std::size_t(zurueck)) % Verlauf];
    seitEinsatz = 0;
    for (std::int64_t i = 1; i < zurueck; ++i)
        seitEinsatz = std::max(seitEinsatz, letztePegel[(naechster + Verlauf - std::size_t(i)) % Verlauf]);
}

void Notenerkennung::Zustand::beurteile(double midi)
{
    const std::int64_t seit = gelesen - einsatzBei;
    if (seit > std::int64_t(Frist_s * abtastrate)) {
        verwirf();
        return;
    }
    // Until then the window still holds mostly what sounded before the onset.
    if (seit < std::int64_t(Tonfenster / 2))
        return;
    // Over a key still ringing, yinfft may name the octave below the new one: no fundamental there.
    if (midi > 0 && !grundtonDa(midi) && grundtonDa(midi + 12))
        midi += 12;
    toene[toeneGezaehlt++ % Stabile_Frames] = midi > 0 ? midi - Klavier_Versatz : 0;
    if (toeneGezaehlt < Stabile_Frames || midi <= 0)
        return;
    const int note = int(std::lround(midi - Klavier_Versatz));
    for (double t : toene)
        if (std::abs(t - note) > Toleranz_Halbtoene)
            return;
    const auto [tiefst, hoechst] = std::minmax_element(toene.begin(), toene.end());
    if (*hoechst - *tiefst > Streuung_Halbtoene)
        return;
    wartet = false;
    // Without a rise in level the "onset" is a key ringing on or being let go (its damper), and the
    // pitch heard is the old note's or a blend: no new key.
    if (!angeschlagen())
        return;
    double summe = 0;
    for (double t : toene)
        summe += t;
    meldung(Note{note, einsatzBei, gelesen, int(std::lround(100 * (summe / Stabile_Frames - note)))});
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
