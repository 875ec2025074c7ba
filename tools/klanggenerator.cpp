// Renders the 40 key sounds "00-c.wav" ... "39-dis.wav" from the acoustic grand piano of a General
// MIDI SoundFont with FluidSynth: key k is MIDI note 48 + k, all at one velocity, without the
// synthesiser's reverb and chorus. Each file is mono, 44.1 kHz, 16-bit, starts with its attack,
// has the loudness of every other key and ends at rest.
//
//   klanggenerator SOUNDFONT OUTPUT_DIR
#include "kern/Notenmodell.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr int Anschlag = 90;         // velocity of every key
constexpr double Loslassen_s = 1.6;  // note-off, so the release is rendered, not cut
constexpr double Ende_s = 2.0;
constexpr double Einsatz_Schwelle = 1e-3; // of the key's peak: where its attack begins
constexpr int Vorlauf = 8;                // samples kept before that point, rising from rest
constexpr double Pegel_Fenster_s = 0.3;   // the loudness that is matched: RMS of the attack
constexpr double Hoechste_Spitze = 0.891; // -1 dBFS
constexpr double Ausklang_s = 0.05;       // the fade to zero at the end

struct Fluid
{
    fluid_settings_t* einstellungen = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    ~Fluid()
    {
        if (synth)
            delete_fluid_synth(synth);
        delete_fluid_settings(einstellungen);
    }
};

// One key as the piano plays it, mixed down to mono.
std::vector<double> spiele(fluid_synth_t* synth, int note)
{
    const int bis_los = int(Loslassen_s * Rate), gesamt = int(Ende_s * Rate);
    std::vector<float> links(gesamt), rechts(gesamt);
    fluid_synth_noteon(synth, 0, note, Anschlag);
    fluid_synth_write_float(synth, bis_los, links.data(), 0, 1, rechts.data(), 0, 1);
    fluid_synth_noteoff(synth, 0, note);
    fluid_synth_write_float(synth, gesamt - bis_los, links.data(), bis_los, 1, rechts.data(), bis_los, 1);
    fluid_synth_all_sounds_off(synth, -1);
    std::vector<double> mono(gesamt);
    for (int i = 0; i < gesamt; ++i)
        mono[i] = 0.5 * (double(links[i]) + rechts[i]);
    return mono;
}

double spitze(const std::vector<double>& s)
{
    double p = 0;
    for (double v : s)
        p = std::max(p, std::abs(v));
    return p;
}

double pegel(const std::vector<double>& s)
{
    const size_t n = std::min(s.size(), size_t(Pegel_Fenster_s * Rate));
    double summe = 0;
    for (size_t i = 0; i < n; ++i)
        summe += s[i] * s[i];
    return std::sqrt(summe / double(n));
}

// Drops the silence before the attack, and fades the end to zero.
void zuschneiden(std::vector<double>& s)
{
    const double schwelle = Einsatz_Schwelle * spitze(s);
    const auto einsatz = std::find_if(s.begin(), s.end(), [&](double v) { return std::abs(v) > schwelle; });
    s.erase(s.begin(), einsatz - std::min<std::ptrdiff_t>(Vorlauf, einsatz - s.begin()));
    for (int i = 0; i < Vorlauf && i < int(s.size()); ++i)
        s[i] *= double(i) / Vorlauf;
    const size_t aus = std::min(s.size(), size_t(Ausklang_s * Rate));
    for (size_t i = 0; i < aus; ++i)
        s[s.size() - aus + i] *= 0.5 + 0.5 * std::cos(M_PI * double(i + 1) / double(aus));
}

void le(std::FILE* f, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        std::fputc(int((v >> (8 * i)) & 0xFF), f);
}

bool schreibe(const std::filesystem::path& pfad, const std::vector<double>& s, double faktor)
{
    std::FILE* f = std::fopen(pfad.c_str(), "wb");
    if (!f)
        return false;
    const uint32_t daten = uint32_t(s.size() * 2);
    std::fputs("RIFF", f);
    le(f, 36 + daten, 4);
    std::fputs("WAVEfmt ", f);
    le(f, 16, 4);
    le(f, 1, 2);        // PCM
    le(f, 1, 2);        // mono
    le(f, Rate, 4);
    le(f, Rate * 2, 4); // bytes per second
    le(f, 2, 2);        // block align
    le(f, 16, 2);       // bits per sample
    std::fputs("data", f);
    le(f, daten, 4);
    for (double v : s)
        le(f, uint16_t(int16_t(std::lround(std::clamp(v * faktor, -1.0, 1.0) * 32767))), 2);
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: klanggenerator SOUNDFONT OUTPUT_DIR\n");
        return 2;
    }
    Fluid fluid;
    fluid_settings_setnum(fluid.einstellungen, "synth.sample-rate", Rate);
    fluid_settings_setint(fluid.einstellungen, "synth.reverb.active", 0);
    fluid_settings_setint(fluid.einstellungen, "synth.chorus.active", 0);
    fluid.synth = new_fluid_synth(fluid.einstellungen);
    if (!fluid.synth || fluid_synth_sfload(fluid.synth, argv[1], 1) == FLUID_FAILED) {
        std::fprintf(stderr, "klanggenerator: cannot load the soundfont %s\n", argv[1]);
        return 1;
    }
    fluid_synth_program_change(fluid.synth, 0, 0); // General MIDI 1: Acoustic Grand Piano

    std::vector<std::vector<double>> klaenge;
    for (int k = 0; k < Noten::Tastenzahl; ++k) {
        klaenge.push_back(spiele(fluid.synth, Noten::Midinote_Taste0 + k));
        zuschneiden(klaenge.back());
        if (pegel(klaenge.back()) <= 0) {
            std::fprintf(stderr, "klanggenerator: key %d is silent\n", k);
            return 1;
        }
    }
    // Every key at the same loudness, as loud as the peakiest key allows.
    double ziel = 1;
    for (const auto& s : klaenge)
        ziel = std::min(ziel, Hoechste_Spitze * pegel(s) / spitze(s));

    const std::filesystem::path ordner(argv[2]);
    std::filesystem::create_directories(ordner);
    for (int k = 0; k < Noten::Tastenzahl; ++k) {
        const std::string name = Noten::Klangname(k).toStdString() + ".wav";
        if (!schreibe(ordner / name, klaenge[k], ziel / pegel(klaenge[k]))) {
            std::fprintf(stderr, "klanggenerator: cannot write %s\n", (ordner / name).c_str());
            return 1;
        }
    }
    return 0;
}
