// Microphone figures on recordings made by mikro_aufnahmen.sh: notes named with the right octave,
// false keys per minute of sound without notes, and the time from a note's onset in the recording
// to the key decided.
// Usage: bench_mikro DIR
#include "input/Mikrowav.h"
#include "input/Notenerkennung.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Tasten = 40;
constexpr int Erste_Note = 48;
constexpr double Vorlauf_s = 0.5; // where mikro_aufnahmen.sh puts each note's onset

std::vector<Notenerkennung::Note> erkenne(const Mikrowav& w)
{
    std::vector<Notenerkennung::Note> noten;
    Notenerkennung e(w.abtastrate, [&](const Notenerkennung::Note& n) { noten.push_back(n); });
    e.verarbeite(w.proben.data(), w.proben.size());
    return noten;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Right = exactly one key, the right one. Prints the wrong ones.
void satz(const std::string& dir, const char* art, int ziel)
{
    int richtig = 0;
    std::vector<double> ms;
    for (int k = 0; k < Tasten; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "/%02d.wav", k);
        const Mikrowav w = Mikrowav::lese(dir + "/" + art + name);
        const auto noten = erkenne(w);
        if (noten.size() == 1 && noten[0].midi == Erste_Note + k) {
            ++richtig;
            ms.push_back(1000.0 * (double(noten[0].entschieden) / w.abtastrate - Vorlauf_s));
            continue;
        }
        std::printf("  %s key %d (MIDI %d): heard", art, k, Erste_Note + k);
        for (const auto& n : noten)
            std::printf(" %d@%.0fms", n.midi, 1000.0 * double(n.entschieden) / w.abtastrate);
        std::printf("%s\n", noten.empty() ? " nothing" : "");
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s notes named right: %d of %d (target >= %d); onset to key decided: median %.0f ms (target <= 120), "
                "min %.0f, max %.0f\n",
                art, richtig, Tasten, ziel, median(ms), ms.empty() ? 0 : ms.front(), ms.empty() ? 0 : ms.back());
}

void ohneNoten(const std::string& pfad, const char* was)
{
    const Mikrowav w = Mikrowav::lese(pfad);
    if (w.proben.empty())
        return;
    const auto noten = erkenne(w);
    const double minuten = double(w.proben.size()) / w.abtastrate / 60;
    const auto tasten = std::count_if(noten.begin(), noten.end(), [](const auto& n) {
        return n.midi >= Erste_Note && n.midi < Erste_Note + Tasten;
    });
    const auto ausserhalb = noten.size() - std::size_t(tasten);
    std::printf("%s (%.0f s): %.1f false keys per minute (%ld; speech: target <= 1), "
                "%.1f notes outside the keyboard per minute (%zu)",
                was, minuten * 60, double(tasten) / minuten, long(tasten), double(ausserhalb) / minuten, ausserhalb);
    for (const auto& n : noten)
        if (n.midi >= Erste_Note && n.midi < Erste_Note + Tasten)
            std::printf(" [%d at %.2f s]", n.midi, double(n.einsatz) / w.abtastrate);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    satz(dir, "sauber", 39);
    satz(dir, "laut", 38);
    ohneNoten(dir + "/geraeusch.wav", "hum, room noise, clicks, speech");
    ohneNoten(dir + "/sprache.wav", "speech");
    return 0;
}
