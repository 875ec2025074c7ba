// The soak: many notes held and released at random short gaps through the player's own PulseAudio
// stream (the mixer and the stream exactly as the player has them), recorded from the null sink's
// monitor; counts the starts and the releases that never reached the speaker. Run by hand through
// scripts/bench.
//
//   bench_dauerlauf NOTEN LUECKE_MS [QUELLE] [SERVER]
//   bench_dauerlauf auswerten AUFNAHME NOTEN     counts again in a kept recording
//
// Every note is one constant level on both channels, longer than the whole run, except that its
// right channel starts one frame late. Left minus right is then zero everywhere but in a voice's
// first frame, where it is one level: the starts count exactly, even where the mixer drops a
// fading voice in the same frame or several start at once. Once every released voice has faded,
// what is left of the level is one level for each voice that was never released.
//
// One line per run on stdout; the exit code is 1 only when the measurement could not be made.
#include "sound/Mischer.h"
#include "sound/PulseStrom.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr float Pegel = 0.01f;           // each note's level: a step of 328 in 16 bits
constexpr int Fragment = 128;            // frames per read of the monitor
constexpr auto Ausklang = 200ms;         // after the last release every voice has faded (150 ms)
constexpr auto Nachlauf = 300ms;         // and the recording has caught up with what was played
constexpr unsigned Saat = 18;            // the same gaps every run
constexpr size_t Gefaellefenster = 256;  // frames before a silence that tell how fast the fades fell

struct Zaehlung
{
    long anfaenge = 0;     // voices' first frames heard
    long spaet = 0;        // voices that came in past their first frame (the server had taken it)
    long ueberbrueckt = 0; // voices that came in while the stream ran dry
    long spruenge = 0;     // rises of no whole level: a fading voice's level set back up (a click)
    long abbrueche = 0;    // a whole voice's level gone from one frame to the next
    long aussetzer = 0;    // the stream ran dry: exact silence entered by a fall
    long einkanalig = 0;   // frames with one channel silent
    double stufe = 0;      // one level as it came out, in 16-bit units
    double rest = 0;       // the level at the end, in levels
    long gehoert() const { return anfaenge + spaet + ueberbrueckt; }
};

// A note's sound: the constant level on both channels, `sekunden` long; the right channel's first
// sample is silent.
Mischer::Klang dauerton(double sekunden)
{
    std::vector<float> klang(size_t(sekunden * Mischer::Rate) * Mischer::Kanaele, Pegel);
    klang[1] = 0;
    return std::make_shared<const std::vector<float>>(std::move(klang));
}

// Frames of the recording, both channels.
struct Aufnahme
{
    const std::vector<int16_t>& x;
    size_t frames() const { return x.size() / Mischer::Kanaele; }
    int links(size_t i) const { return x[Mischer::Kanaele * i]; }
    int rechts(size_t i) const { return x[Mischer::Kanaele * i + 1]; }
    bool still(size_t i) const { return links(i) == 0 && rechts(i) == 0; }
};

// One start's step as it came out: the most frequent single start within a tenth of the level
// asked for (a gain in the mixer would scale it).
double einzelstufe(const Aufnahme& a)
{
    const int nenn = int(std::lrint(Pegel * 32768));
    std::vector<int> haeufigkeit(size_t(nenn + nenn / 10) + 1);
    for (size_t i = 0; i < a.frames(); ++i)
        if (const int d = a.links(i) - a.rechts(i); d >= nenn - nenn / 10 && d <= nenn + nenn / 10)
            ++haeufigkeit[size_t(d)];
    const auto spitze = std::max_element(haeufigkeit.begin(), haeufigkeit.end());
    return *spitze > 0 ? double(spitze - haeufigkeit.begin()) : nenn;
}

// PipeWire's pulse server now and then hands over a stretch with one channel silent, the other
// playing on: both channels then take the one that plays (a first frame there shows as a voice
// come in late). A silent right channel right after silence is a first frame. Returns the frames.
long fuelleKanal(std::vector<int16_t>& x)
{
    long frames = 0;
    for (size_t i = Mischer::Kanaele; i + 1 < x.size(); i += Mischer::Kanaele) {
        const bool davorStill = x[i - 2] == 0 && x[i - 1] == 0;
        if ((x[i] == 0) != (x[i + 1] == 0) && (x[i] == 0 || !davorStill)) {
            x[i] = x[i + 1] = std::max(x[i], x[i + 1]);
            ++frames;
        }
    }
    return frames;
}

// Sorts what a frame's level did besides its first frames (`hub`, as much on both channels). A
// whole level up is a voice that came in late, a whole level down one cut off; a rise of no whole
// level is a fading voice set back up. Fades slope slightly; the mixer drops a fading voice
// with what is left of it.
void ordneEin(Zaehlung& z, double hub)
{
    const double n = hub / z.stufe;
    if (n > 0.5 && std::abs(n - std::round(n)) < 1.0 / 7)
        z.spaet += std::lround(n);
    else if (n > 0.25)
        ++z.spruenge;
    else if (n < -0.9)
        z.abbrueche += long(-n + 0.1);
}

// How fast the level fell over the frames in `zuletzt`, per frame, leaving out the voices that
// started there (each lifts the right channel one level, one frame after its first).
double fadeGefaelle(const std::deque<std::pair<int, long>>& zuletzt, double stufe)
{
    if (zuletzt.size() < Gefaellefenster)
        return 0;
    long starts = 0;
    for (size_t j = 0; j + 1 < zuletzt.size(); ++j)
        starts += zuletzt[j].second;
    const double fall = zuletzt.front().first + double(starts) * stufe - zuletzt.back().first;
    return std::max(0.0, fall / double(zuletzt.size() - 1));
}

// A stretch of exact silence after sound is the stream running dry. PipeWire's graph then drops
// whole periods that the server had taken from the stream: the fades went on meanwhile. The rise of
// the right channel across the silence (which leaves out first frames), beyond where the fades
// seen just before would have taken it, estimates the voices that came in meanwhile. Only an
// estimate: a fade may end or begin while it is dry.
Zaehlung zaehle(const std::vector<int16_t>& aufnahme)
{
    std::vector<int16_t> heil = aufnahme;
    Zaehlung z;
    z.einkanalig = fuelleKanal(heil);
    const Aufnahme a{heil};
    z.stufe = einzelstufe(a);
    int vorher = 0;        // the level before the silence
    double gefaelle = 0;   // and how fast the fades took it down, per frame
    size_t stilleAb = 0;
    std::deque<std::pair<int, long>> zuletzt; // the right channel and the starts of the last frames
    for (size_t i = 1; i < a.frames(); ++i) {
        if (a.still(i)) {
            if (!a.still(i - 1)) {
                vorher = a.links(i - 1);
                z.aussetzer += vorher > z.stufe / 4;
                gefaelle = fadeGefaelle(zuletzt, z.stufe);
                stilleAb = i;
            }
            zuletzt.clear();
            continue;
        }
        const long neu = std::lround((a.links(i) - a.rechts(i)) / z.stufe);
        z.anfaenge += neu;
        zuletzt.emplace_back(a.rechts(i), neu);
        if (zuletzt.size() > Gefaellefenster)
            zuletzt.pop_front();
        if (a.still(i - 1)) {
            const double erwartet = std::max(0.0, vorher - gefaelle * double(i - stilleAb));
            z.ueberbrueckt += std::max(0L, std::lround((a.rechts(i) - erwartet) / z.stufe));
        } else
            ordneEin(z, a.links(i) - a.links(i - 1) - double(neu) * z.stufe);
    }
    const size_t ende = std::min<size_t>(a.frames(), Mischer::Rate / 100); // the last 10 ms
    double summe = 0;
    for (size_t i = a.frames() - ende; i < a.frames(); ++i)
        summe += a.links(i);
    z.rest = ende ? summe / double(ende) / z.stufe : 0;
    return z;
}

// Records the monitor on a thread of its own until `halt`.
struct Rekorder
{
    pa_simple* quelle = nullptr;
    std::vector<int16_t> proben; // interleaved
    std::atomic<bool> halt{false};
    std::atomic<long> fragmente{0};
    std::thread faden;

    bool starte(const char* name, size_t erwartet)
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, Mischer::Rate, Mischer::Kanaele};
        const pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1), Fragment * 4};
        int fehler = 0;
        quelle = pa_simple_new(nullptr, "bench_dauerlauf", PA_STREAM_RECORD, name, "Monitor", &format, nullptr, &attr,
                               &fehler);
        if (!quelle) {
            std::printf("soak: cannot record %s: %s\n", name, pa_strerror(fehler));
            return false;
        }
        proben.reserve(erwartet * Mischer::Kanaele);
        faden = std::thread([this] {
            std::vector<int16_t> puffer(Fragment * Mischer::Kanaele);
            int fehler = 0;
            while (!halt) {
                if (pa_simple_read(quelle, puffer.data(), puffer.size() * sizeof(int16_t), &fehler) < 0)
                    break;
                proben.insert(proben.end(), puffer.begin(), puffer.end());
                ++fragmente;
            }
        });
        // The first fragments take a moment to come; start once they flow.
        for (int i = 0; i < 100 && fragmente == 0; ++i)
            std::this_thread::sleep_for(50ms);
        return fragmente > 0;
    }

    ~Rekorder()
    {
        halt = true;
        if (faden.joinable())
            faden.join();
        if (quelle)
            pa_simple_free(quelle);
    }
};

void berichte(const char* server, int noten, const Zaehlung& z)
{
    // Beyond Hoechste_Stimmen held voices the mixer releases the oldest itself.
    const long haengen = std::lround(z.rest);
    std::printf("soak (%s): %d notes, lost starts %ld, lost releases %ld%s\n", server, noten, noten - z.gehoert(), haengen,
                haengen >= Mischer::Hoechste_Stimmen - 1 ? " or more (the mixer holds no more)" : "");
    std::printf("  first frames heard %ld, voices come in late %ld, come in while the stream ran dry %ld (estimated; it did "
                "%ld times); whole voices cut off %ld; rises of no whole voice (clicks) %ld; frames with one channel silent %ld; "
                "one voice %.0f (expected %.0f), level left %.2f voices\n",
                z.anfaenge, z.spaet, z.ueberbrueckt, z.aussetzer, z.abbrueche, z.spruenge, z.einkanalig, z.stufe,
                Pegel * 32768, z.rest);
}

// Plays the notes and records them; KLAVIDOR_DAUERLAUF_AUFNAHME names a file for the recording.
int dauerlauf(int noten, int luecke_ms, const char* quelle, const char* server)
{
    // Each note takes two gaps; the sound outlasts the slowest run.
    const double hoechstdauer = 2.0 * noten * luecke_ms / 1000 + 10;
    const Mischer::Klang klang = dauerton(hoechstdauer);
    Mischer mischer;
    const std::unique_ptr<PulseStrom> strom = PulseStrom::verbinde(mischer);
    if (!strom || !strom->starte()) {
        std::printf("soak (%s): the player's stream did not open\n", server);
        return 1;
    }
    Rekorder rekorder;
    if (!rekorder.starte(quelle, size_t(hoechstdauer * Mischer::Rate))) {
        std::printf("soak (%s): nothing came from %s\n", server, quelle);
        return 1;
    }
    std::this_thread::sleep_for(300ms);

    std::mt19937 zufall(Saat);
    std::uniform_int_distribution<int> luecke(0, luecke_ms * 1000);
    const auto beginn = std::chrono::steady_clock::now();
    for (int i = 0; i < noten; ++i) {
        const int stimme = mischer.halte(klang, 1.0);
        std::this_thread::sleep_for(std::chrono::microseconds(luecke(zufall)));
        mischer.loese(stimme);
        std::this_thread::sleep_for(std::chrono::microseconds(luecke(zufall)));
    }
    const double sekunden = std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count();
    std::this_thread::sleep_for(Ausklang + Nachlauf);
    rekorder.halt = true;
    rekorder.faden.join();

    if (const char* datei = std::getenv("KLAVIDOR_DAUERLAUF_AUFNAHME"))
        if (std::FILE* f = std::fopen(datei, "wb")) {
            std::fwrite(rekorder.proben.data(), sizeof(int16_t), rekorder.proben.size(), f);
            std::fclose(f);
        }
    berichte(server, noten, zaehle(rekorder.proben));
    std::printf("  gaps 0-%d ms, %.1f s of notes\n", luecke_ms, sekunden);
    return 0;
}

// Counts again in a recording kept before (raw s16 stereo).
int werteAus(const char* datei, int noten)
{
    std::FILE* f = std::fopen(datei, "rb");
    if (!f)
        return 1;
    std::vector<int16_t> proben;
    int16_t puffer[4096];
    while (const size_t n = std::fread(puffer, sizeof(int16_t), std::size(puffer), f))
        proben.insert(proben.end(), puffer, puffer + n);
    std::fclose(f);
    berichte(datei, noten, zaehle(proben));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string_view(argv[1]) == "auswerten")
        return werteAus(argv[2], std::atoi(argv[3]));
    const int noten = argc > 1 ? std::atoi(argv[1]) : 0;
    const int luecke = argc > 2 ? std::atoi(argv[2]) : 0;
    if (noten <= 0 || luecke <= 0) {
        std::fprintf(stderr, "usage: bench_dauerlauf NOTEN LUECKE_MS [MONITOR] [SERVER]\n"
                             "       bench_dauerlauf auswerten AUFNAHME NOTEN\n");
        return 2;
    }
    return dauerlauf(noten, luecke, argc > 3 ? argv[3] : "klavidor_null.monitor", argc > 4 ? argv[4] : "pulseaudio");
}
