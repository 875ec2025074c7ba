// Microphone figures on recordings made by mikro_aufnahmen.sh, for each piano: notes named with the
// right octave (clean, soft, hard, noisy), the second of two quick notes heard, false keys per
// minute of sound without notes, and the time from a note's onset to the key decided, with and
// without the key expected.
// Usage: bench_mikro DIR
#include "input/Mikrowav.h"
#include "input/Notenerkennung.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Tasten = 40;
constexpr int Erste_Note = 48;
constexpr double Vorlauf_s = 0.5; // where mikro_aufnahmen.sh puts each note's onset
constexpr double Ruhe_s = 1.0;    // the quiet measured at the start of the recording without notes
const char* const Klaviere[] = {"fluidr3", "timgm6mb"};
const std::pair<const char*, int> Arten[] = {{"sauber", 39}, {"leise", 39}, {"hart", 39}, {"laut", 38}};

std::vector<Notenerkennung::Note> erkenne(const Mikrowav& w, int erwartet = -1, double stille = -100)
{
    std::vector<Notenerkennung::Note> noten;
    Notenerkennung e(w.abtastrate, [&](const Notenerkennung::Note& n) { noten.push_back(n); });
    e.erwarte(erwartet);
    if (stille > -100)
        e.setzeStille(stille);
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

double ms(const Notenerkennung::Note& n, int rate) { return 1000.0 * (double(n.entschieden) / rate - Vorlauf_s); }

struct Zeiten
{
    std::map<int, std::vector<double>> jeTaste; // key -> decision times over all sets
    std::vector<double> alle, erwartet;
};

// Right = exactly one key, the right one. Prints the wrong ones.
void satz(const std::string& dir, const char* art, int ziel, Zeiten& zeiten)
{
    int richtig = 0;
    std::vector<double> t;
    for (int k = 0; k < Tasten; ++k) {
        char name[24];
        std::snprintf(name, sizeof name, "/%02d.wav", k);
        const Mikrowav w = Mikrowav::lese(dir + "/" + art + name);
        const auto noten = erkenne(w);
        if (noten.size() == 1 && noten[0].midi == Erste_Note + k) {
            ++richtig;
            t.push_back(ms(noten[0], w.abtastrate));
            zeiten.jeTaste[k].push_back(t.back());
            const auto mit = erkenne(w, Erste_Note + k);
            if (mit.size() == 1 && mit[0].midi == Erste_Note + k)
                zeiten.erwartet.push_back(ms(mit[0], w.abtastrate));
            continue;
        }
        std::printf("  %s key %d (MIDI %d): heard", art, k, Erste_Note + k);
        for (const auto& n : noten)
            std::printf(" %d@%.0fms", n.midi, 1000.0 * double(n.entschieden) / w.abtastrate);
        std::printf("%s\n", noten.empty() ? " nothing" : "");
    }
    zeiten.alle.insert(zeiten.alle.end(), t.begin(), t.end());
    std::sort(t.begin(), t.end());
    std::printf("  %-6s named right: %d of %d (target >= %d); onset to key: median %.0f ms, min %.0f, max %.0f\n", art,
                richtig, Tasten, ziel, median(t), t.empty() ? 0 : t.front(), t.empty() ? 0 : t.back());
}

// Files AA-BB.wav: the second key heard (exactly the two, in order), and notes counted twice.
void paare(const std::string& dir)
{
    int verschieden = 0, verschiedenGehoert = 0, gleich = 0, gleichGehoert = 0, doppelt = 0;
    std::vector<std::string> dateien;
    for (const auto& f : std::filesystem::directory_iterator(dir))
        dateien.push_back(f.path().string());
    std::sort(dateien.begin(), dateien.end());
    for (const auto& pfad : dateien) {
        int a = 0, b = 0;
        if (std::sscanf(std::filesystem::path(pfad).filename().c_str(), "%d-%d", &a, &b) != 2)
            continue;
        const auto noten = erkenne(Mikrowav::lese(pfad));
        const bool gehoert = noten.size() == 2 && noten[0].midi == Erste_Note + a && noten[1].midi == Erste_Note + b;
        ++(a == b ? gleich : verschieden);
        if (gehoert)
            ++(a == b ? gleichGehoert : verschiedenGehoert);
        // The first key named again at the second's onset is heard twice too.
        doppelt += noten.size() > 2 || (noten.size() == 2 && a != b && noten[1].midi == noten[0].midi);
        if (!gehoert) {
            std::printf("  pair %d-%d: heard", a, b);
            for (const auto& n : noten)
                std::printf(" %d@%.2fs", n.midi - Erste_Note, double(n.einsatz) / 44100);
            std::printf("\n");
        }
    }
    std::printf("  pairs: second key heard in %d of %d different keys 0.25 s apart, %d of %d repeats 0.3 s "
                "apart (target >= 95 %%); %d with a note heard twice (target 0)\n",
                verschiedenGehoert, verschieden, gleichGehoert, gleich, doppelt);
}

// The loudest level in the first second, as the check window measures a room's quiet.
double ruhe(const Mikrowav& w)
{
    Notenerkennung e(w.abtastrate, [](const Notenerkennung::Note&) {});
    double lautest = 0;
    for (std::size_t i = 0; i + 512 <= std::size_t(Ruhe_s * w.abtastrate); i += 512) {
        e.verarbeite(w.proben.data() + i, 512);
        lautest = std::max(lautest, e.pegel());
    }
    return Notenerkennung::Pegel_Boden_dB * (1 - lautest);
}

void ohneNoten(const std::string& pfad, const char* was, double stille)
{
    const Mikrowav w = Mikrowav::lese(pfad);
    if (w.proben.empty())
        return;
    const double minuten = double(w.proben.size()) / w.abtastrate / 60;
    for (double s : {-100.0, stille}) {
        const auto noten = erkenne(w, -1, s);
        const auto tasten = std::count_if(noten.begin(), noten.end(), [](const auto& n) {
            return n.midi >= Erste_Note && n.midi < Erste_Note + Tasten;
        });
        std::printf("%s (%.0f s), %s: %ld false keys (target 0), %zu notes outside the keyboard", was, minuten * 60,
                    s > -100 ? "after the quiet was measured" : "default level", long(tasten),
                    noten.size() - std::size_t(tasten));
        for (const auto& n : noten)
            std::printf(" [%d at %.2f s]", n.midi, double(n.einsatz) / w.abtastrate);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    Zeiten zeiten;
    for (const char* klavier : Klaviere) {
        std::printf("%s:\n", klavier);
        for (const auto& [art, ziel] : Arten)
            satz(dir + "/" + klavier, art, ziel, zeiten);
        paare(dir + "/" + klavier + "/paare");
    }
    std::vector<double> mediane;
    int langsamste = 0;
    for (const auto& [k, t] : zeiten.jeTaste) {
        mediane.push_back(median(t));
        if (mediane.back() >= median(zeiten.jeTaste[langsamste]))
            langsamste = k;
    }
    std::printf("onset to key, all notes named right: median %.0f ms (target <= 60); slowest key's median %.0f ms "
                "(key %d; target <= 120); with the key expected: median %.0f ms (target <= 40)\n",
                median(zeiten.alle), *std::max_element(mediane.begin(), mediane.end()), langsamste,
                median(zeiten.erwartet));
    const Mikrowav geraeusch = Mikrowav::lese(dir + "/geraeusch.wav");
    const double stille = ruhe(geraeusch);
    std::printf("the quiet measured: %.0f dB\n", stille);
    ohneNoten(dir + "/geraeusch.wav", "hum, room noise, clicks, speech", stille);
    ohneNoten(dir + "/sprache.wav", "speech", stille);
    return 0;
}
