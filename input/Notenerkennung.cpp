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
// While yinfft's window fills with a new note its pitch may approach the key's from one side
// (FluidR3's key 4: 3.99 to 3.89 semitones over 60 ms), which held low keys back for 140 ms. A
// pitch that moves one way only and has come to rest in the newest frames counts as held; a voice
// seldom glides like that: none of 90 s of speech gave a key, and a man's voice, which lies below
// the keyboard (MIDI 48 up), gave 3 notes there until those were left to the full check.
constexpr double Einschwing_Streuung = 0.15;
constexpr int Einschwingen_Ab = 48;
constexpr int Ruhig_Frames = 3;
constexpr double Ruhig_Streuung = 0.015;
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
// A strike is told by its key's own partials, taken just before the onset and at the decision
// (geometric mean of the first 6): a key struck over another still ringing (whose level hardly
// rises) gains many times; a ringing pair's beats swing the level 2-fold with the partials falling.
constexpr int Anstieg_Teiltoene = 6;
constexpr double Teile_Allein = 2.0;
constexpr double Teile_Mit_Pegel = 1.2;
constexpr double Pegel_Mit_Teilen = 1.45;
// The keys named last count as ringing this long after the newest one's onset. A note heard then
// may glide in the beats of the two (spread as in the upper keys), and a good part of the magnitude
// gained must lie on its own partials: not a blend of two ringing keys, nor a ringing key while
// yinfft has not yet caught the new one. A ringing key named again must have been struck again:
// either the highs rose with the level, as a hammer's attack makes them (FluidR3: 2-5-fold; a
// ringing pair's beats: 1.6 at most), or its odd partials rose with the rest (TimGM6mb, whose highs
// are thin), which a key struck an octave above leaves alone.
constexpr double Nachklang_s = 2.0;
constexpr double Eigener_Anteil = 0.3;
constexpr double Hoehen_Hz = 5000;
constexpr double Hoehen_Anstieg = 1.8;
constexpr double Pegel_Wieder = 1.25;
constexpr double Ungerade_Anstieg = 1.15;
// A ringing key struck again need not gain mostly on its own partials: the new vibration meets the
// old one's phase and some partials cancel (FluidR3's keys 8 and 12: 0.2 of the gain). Highs risen
// 3-fold with its partials risen are a hammer on that key; ringing keys' beats and dampers in the
// pairs raised the highs 1.7-fold at most, a restrike 3.3-fold or more (FluidR3), 2-fold (TimGM6mb,
// whose restrikes keep their share anyway).
constexpr double Hoehen_Hammer = 3.0;
constexpr double Teile_Hammer = 1.1;
// Over keys still ringing yinfft hears the mixture: a note below both that they share, or the old
// key. The new one is what rose: the key whose first partials gained most since the onset, less
// what rose midway between them (so neither the octave below nor a hammer's broadband thump
// wins), whose fundamental itself gained, and whose partials are mostly new (not a damper's
// flutter as the keys decay); the same key in a few frames in a row.
constexpr int Erste_Kandidat = 48, Letzte_Kandidat = 87; // the keyboard's 40 keys
constexpr int Gewinn_Teiltoene = 8;
constexpr double Grundton_Gewinn = 0.1; // of the key's largest partial gain
constexpr double Neu_Anteil = 0.55;     // of its partials' magnitude now
constexpr int Gewinn_Frames = 3;
// A ringing key named again with its even partials risen this much more than its odd ones: the
// octave above was struck, and yinfft still hears the old key's period in it.
constexpr double Oktave_Verhaeltnis = 3.5;
constexpr double Betrag_Boden = 1e-6; // a bin's magnitude in silence, so a ratio stays finite

// Where a pitch's fundamental lies in the spectrum, in (fractional) bins.
double spektralort(double midi, int abtastrate)
{
    return 440.0 * std::pow(2.0, (midi - 69) / 12) * Tonfenster / abtastrate;
}

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
        for (auto& f : spektren)
            f.assign(spektrum->length, 0);
        vorher.assign(spektrum->length, 0);
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
    void merkeSpektrum();
    void beurteile();
    double steht(int note, int frames) const;
    bool schwingtEin(int frames) const;
    void verwirf();
    bool grundtonDa(double midi) const;
    double teilton(const float* n, int note, int h) const;
    bool angeschlagen() const { return seitEinsatz >= Neuer_Anschlag * vorEinsatz; }
    bool angeschlagen(int note) const;
    double anstieg(int note, int schritt = 1, int bis = Anstieg_Teiltoene) const;
    bool oktaveDarueber(int note) const;
    int gestiegen() const;
    bool ueberKlang(int& note, double& mittel, double midi);
    double gewinn(double bin) const;
    bool klingt(int note) const { return (note == gemeldet[0] || note == gemeldet[1]) && nachNote(); }
    double eigenerAnteil(int note) const;
    bool nachNote() const
    {
        return 20 * std::log10(std::max(vorEinsatz, 1e-9)) >= stille &&
               einsatzBei - gemeldetBei < std::int64_t(Nachklang_s * abtastrate);
    }

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
    std::array<std::vector<float>, Verlauf> spektren; // magnitudes of the last frames, like letztePegel
    std::vector<float> vorher;                         // the spectrum just before the onset
    std::int64_t gelesen = 0;
    double pegel = 0;

    std::array<double, Verlauf> letztePegel{}; // RMS of the last frames, the newest at naechster - 1
    std::array<double, Verlauf> letzteHoehen{}; // their magnitude above Hoehen_Hz, alike
    std::size_t naechster = 0;
    double vorEinsatz = 0;   // level just before the onset
    double seitEinsatz = 0;  // loudest frame since
    double vorHoehen = 0, seitHoehen = 0; // the same above Hoehen_Hz
    bool wartet = false;          // an onset waits for its key
    std::int64_t einsatzBei = 0;
    std::array<int, 2> gemeldet{-1, -1};                 // the last notes named, the newest first
    std::int64_t gemeldetBei = -(std::int64_t(1) << 40); // the newest's onset
    std::array<double, Stabile_Frames> toene{}; // pitches of the last frames, piano's sharpness taken off
    std::int64_t toeneGezaehlt = 0;
    int kandidat = -1, kandidatFrames = 0; // the key that rose most since the onset, how many frames so
    bool yinfftGilt = true;                // over ringing keys: until yinfft held on one not struck again
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
    merkeSpektrum();
    if (einsatzAus->data[0] > 0)
        neuerEinsatz(std::int64_t(aubio_onset_get_last(einsatz)));
    else if (rms >= Pegelsprung * davor && rms >= Pegelsprung_Boden)
        neuerEinsatz(gelesen - Sprung);
    merke(tonAus->data[0]);
    if (wartet)
        beurteile();
}

// Every frame's spectrum is kept a few frames, so an onset aubio reports late still finds the one before.
void Notenerkennung::Zustand::merkeSpektrum()
{
    const std::size_t i = (naechster - 1) % Verlauf;
    std::copy(spektrum->norm, spektrum->norm + spektrum->length, spektren[i].begin());
    double hoehen = 0;
    for (auto b = std::size_t(Hoehen_Hz * Tonfenster / abtastrate); b < spektrum->length; ++b)
        hoehen += double(spektrum->norm[b]) * spektrum->norm[b];
    letzteHoehen[i] = std::sqrt(hoehen);
    seitHoehen = std::max(seitHoehen, letzteHoehen[i]);
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
    kandidat = -1;
    yinfftGilt = true;
    // aubio reports the onset a few frames late: the frame before it is still in the ring.
    const auto zurueck = std::clamp<std::int64_t>((gelesen - bei) / Sprung + 1, 1, Verlauf);
    vorEinsatz = letztePegel[(naechster + Verlauf - std::size_t(zurueck)) % Verlauf];
    const auto& davor = spektren[(naechster + Verlauf - std::size_t(zurueck)) % Verlauf];
    std::copy(davor.begin(), davor.end(), vorher.begin());
    vorHoehen = letzteHoehen[(naechster + Verlauf - std::size_t(zurueck)) % Verlauf];
    seitEinsatz = seitHoehen = 0;
    for (std::int64_t i = 1; i < zurueck; ++i) {
        seitEinsatz = std::max(seitEinsatz, letztePegel[(naechster + Verlauf - std::size_t(i)) % Verlauf]);
        seitHoehen = std::max(seitHoehen, letzteHoehen[(naechster + Verlauf - std::size_t(i)) % Verlauf]);
    }
}

// Whether the last frames' pitches move one way only and have come to rest in the newest ones.
bool Notenerkennung::Zustand::schwingtEin(int frames) const
{
    const auto ton = [&](int i) { return toene[std::size_t((toeneGezaehlt - i) % Stabile_Frames)]; };
    int auf = 0, ab = 0;
    for (int i = 1; i < frames; ++i) {
        auf += ton(i) >= ton(i + 1);
        ab += ton(i) <= ton(i + 1);
    }
    double tiefst = 1e9, hoechst = -1e9;
    for (int i = 1; i <= Ruhig_Frames; ++i) {
        tiefst = std::min(tiefst, ton(i));
        hoechst = std::max(hoechst, ton(i));
    }
    return (auf == frames - 1 || ab == frames - 1) && hoechst - tiefst <= Ruhig_Streuung;
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
    const double streuung = note >= Oben_Ab || nachNote() ? Streuung_Oben : Streuung_Halbtoene;
    return hoechst - tiefst <= streuung || (note >= Einschwingen_Ab && hoechst - tiefst <= Einschwing_Streuung && schwingtEin(frames))
               ? summe / frames
               : NAN;
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
    int note = int(std::lround(midi));
    double mittel = NAN;
    if (nachNote()) {
        if (!ueberKlang(note, mittel, midi))
            return;
        wartet = false;
    } else {
        // A wrong key still needs the full check: only the asked one is taken on less.
        mittel = steht(note, note == erwartet ? Erwartete_Frames : Stabile_Frames);
        if (std::isnan(mittel))
            return;
        wartet = false;
        // Without a rise in its partials the "onset" is a key ringing on or being let go (its
        // damper), and the pitch heard is the old note's or a blend: no new key.
        if (!angeschlagen(note))
            return;
    }
    gemeldetBei = einsatzBei;
    gemeldet = {note, gemeldet[0]};
    meldung(Note{note, einsatzBei, gelesen, int(std::lround(100 * (mittel - note)))});
}

// A key heard over keys still ringing: the one that rose, if it is a new one and has held a few
// frames; else yinfft's once it holds, if it is a ringing key struck again. yinfft names any
// other key there from the mixture, and a ringing key not struck again leaves it no say.
bool Notenerkennung::Zustand::ueberKlang(int& note, double& mittel, double midi)
{
    const int k = gestiegen();
    kandidatFrames = k == kandidat ? kandidatFrames + 1 : 1;
    kandidat = k;
    // A damper's release lets the level fall while its noise rises on some key's partials.
    if (k >= 0 && kandidatFrames >= Gewinn_Frames && !klingt(k) && seitEinsatz >= vorEinsatz && angeschlagen(k)) {
        note = k;
        mittel = std::abs(midi - k) <= Toleranz_Halbtoene ? midi : k; // yinfft's cents if it agrees
        return true;
    }
    if (!yinfftGilt)
        return false;
    mittel = steht(note, Stabile_Frames);
    if (std::isnan(mittel) || !klingt(note))
        return false;
    if (oktaveDarueber(note)) {
        note += 12;
        mittel += 12;
    }
    yinfftGilt = angeschlagen(note);
    return yinfftGilt;
}

// Whether the frame's spectrum has a peak at that pitch's fundamental, not just its harmonics.
bool Notenerkennung::Zustand::grundtonDa(double midi) const
{
    const auto b = std::size_t(std::lround(spektralort(midi, abtastrate)));
    const smpl_t* n = spektrum->norm;
    if (b < 2 || 2 * b + 2 >= spektrum->length)
        return true;
    const std::size_t spitze = std::size_t(std::max_element(n + b - 1, n + b + 2) - n);
    const bool gipfel = n[spitze] >= n[spitze - 1] && n[spitze] >= n[spitze + 1];
    const double oktave = *std::max_element(n + 2 * b - 2, n + 2 * b + 3);
    return gipfel && n[spitze] >= Grundton_Anteil * oktave;
}

// The magnitude of a key's h-th partial: the largest bin within one of where it lies.
double Notenerkennung::Zustand::teilton(const float* n, int note, int h) const
{
    const auto b = std::size_t(std::lround(h * spektralort(note, abtastrate)));
    if (b < 1 || b + 1 >= spektrum->length)
        return 0;
    return *std::max_element(n + b - 1, n + b + 2);
}

// How much a key's partials rose since just before the onset: the geometric mean over partials
// 1, 1 + schritt, ... up to Anstieg_Teiltoene.
double Notenerkennung::Zustand::anstieg(int note, int schritt, int bis) const
{
    double summe = 0;
    int n = 0;
    for (int h = 1; h <= bis; h += schritt, ++n)
        summe += std::log((teilton(spektrum->norm, note, h) + Betrag_Boden) /
                          (teilton(vorher.data(), note, h) + Betrag_Boden));
    return std::exp(summe / n);
}

bool Notenerkennung::Zustand::angeschlagen(int note) const
{
    const double pegelAnstieg = seitEinsatz / std::max(vorEinsatz, 1e-9), teile = anstieg(note);
    const bool mitPegel = teile >= Teile_Mit_Pegel && pegelAnstieg >= Pegel_Mit_Teilen;
    const bool hammer = seitHoehen >= Hoehen_Anstieg * vorHoehen && pegelAnstieg >= Pegel_Wieder;
    const bool wiederAngeschlagen =
        klingt(note) && hammer && seitHoehen >= Hoehen_Hammer * vorHoehen && teile >= Teile_Hammer;
    if (nachNote() && !wiederAngeschlagen && eigenerAnteil(note) < Eigener_Anteil)
        return false;
    if (klingt(note)) {
        return hammer || (mitPegel && anstieg(note, 2) >= Ungerade_Anstieg);
    }
    return (pegelAnstieg >= Neuer_Anschlag && teile >= 1) || teile >= Teile_Allein || mitPegel;
}

bool Notenerkennung::Zustand::oktaveDarueber(int note) const
{
    return anstieg(note + 12, 1, Anstieg_Teiltoene / 2) >= Oktave_Verhaeltnis * anstieg(note, 2);
}

// A bin's gain since just before the onset, between bins by straight lines.
double Notenerkennung::Zustand::gewinn(double bin) const
{
    const auto b = std::size_t(bin);
    if (b + 1 >= spektrum->length)
        return 0;
    const auto g = [&](std::size_t i) { return std::max(0.0, double(spektrum->norm[i]) - vorher[i]); };
    return g(b) + (bin - double(b)) * (g(b + 1) - g(b));
}

// The key whose partials rose most since the onset, or -1 if none rose clearly.
int Notenerkennung::Zustand::gestiegen() const
{
    int beste = -1;
    double besteWertung = 0, besteSumme = 0, besteJetzt = 0;
    for (int k = Erste_Kandidat; k <= Letzte_Kandidat; ++k) {
        const double f0 = spektralort(k, abtastrate);
        double summe = 0, dazwischen = 0, groesste = 0, jetzt = 0;
        for (int h = 1; h <= Gewinn_Teiltoene; ++h) {
            const double g = gewinn(h * f0);
            summe += g;
            dazwischen += gewinn((h - 0.5) * f0);
            groesste = std::max(groesste, g);
            jetzt += teilton(spektrum->norm, k, h);
        }
        if (summe - dazwischen > besteWertung && gewinn(f0) >= Grundton_Gewinn * groesste) {
            beste = k;
            besteWertung = summe - dazwischen;
            besteSumme = summe;
            besteJetzt = jetzt;
        }
    }
    return besteSumme >= Neu_Anteil * besteJetzt ? beste : -1;
}

// Which share of the magnitude gained since the onset lies on the key's own partials.
double Notenerkennung::Zustand::eigenerAnteil(int note) const
{
    const auto bis = std::size_t(Hoehen_Hz * Tonfenster / abtastrate);
    const auto gewinn = [&](std::size_t b) { return std::max(0.0, double(spektrum->norm[b]) - vorher[b]); };
    double alle = 0, eigene = 0;
    for (std::size_t b = 1; b < bis; ++b)
        alle += gewinn(b) * gewinn(b);
    const double f0 = spektralort(note, abtastrate);
    for (int h = 1; h * f0 + 1 < bis; ++h) {
        const auto b = std::size_t(std::lround(h * f0));
        for (std::size_t i = std::max<std::size_t>(b, 1) - 1; i <= b + 1; ++i)
            eigene += gewinn(i) * gewinn(i);
    }
    return eigene / std::max(alle, 1e-12);
}
