// How quickly a key click is answered; run by hand through scripts/bench.
//
//   bench_latenz klick   [KLAENGE] [N]       click on the real keyboard (offscreen) -> note set ->
//                                             sound handed to SDL, over N clicks
//   bench_latenz einsatz [KLAENGE] [N] [QUELLE]
//                                             sounds played through the output the player opens
//                                             (KLAVIDOR_AUSGABE=pipewire|pulse|sdl forces one) ->
//                                             first audible sample played by the null sink whose
//                                             monitor is QUELLE (recorded through PulseAudio or
//                                             pipewire-pulse), over N plays; each sound is compared
//                                             with its file at the output's rate for dropouts
//
// Every figure is one line on stdout. The exit code is 0 whether a target is met or not; it is
// 1 only when the measurement itself could not be made.
#include "sound/SdlTonausgabe.h"
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "kern/Notenmodell.h"
#include "widgets/Steuerelemente.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#ifdef KLAVIDOR_MIT_PULSE
#include <pulse/error.h>
#include <pulse/simple.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Uhr = std::chrono::steady_clock;
using namespace std::chrono_literals;

double ms(Uhr::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Verteilung
{
    double median = 0, p95 = 0, p99 = 0, max = 0;
};

Verteilung verteilung(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    auto rang = [&](double p) { return v[size_t(std::ceil(p * double(n))) - 1]; };
    return {(v[(n - 1) / 2] + v[n / 2]) / 2, rang(0.95), rang(0.99), v.back()};
}

QString klang(const QString& klaenge, int k) { return klaenge + "/" + Noten::Klangname(k) + ".wav"; }

// Passes every sound on and notes when the click reached it and when SDL had it.
class Stoppuhr : public Tonausgabe
{
public:
    explicit Stoppuhr(Tonausgabe& echt) : m_echt(echt) {}
    void spiele(const QString& pfad) override
    {
        an = Uhr::now();
        m_echt.spiele(pfad);
        ab = Uhr::now();
        ++aufrufe;
        letzter = pfad;
    }
    Uhr::time_point an, ab;
    int aufrufe = 0;
    QString letzter;

private:
    Tonausgabe& m_echt;
};

int klick(const QString& klaenge, int n)
{
    int argc = 1;
    char name[] = "bench_latenz";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    Haupt haupt;
    haupt.Randomize(1);
    haupt.Ton_Verzeichnis = klaenge + "/";
    SdlTonausgabe echt;
    Stoppuhr ton(echt);
    Keyboard kb(haupt, ton);
    kb.show();
    if (!QTest::qWaitForWindowExposed(&kb)) {
        std::printf("click handling: the window did not show\n");
        return 1;
    }
    QCoreApplication::processEvents();

    std::vector<double> gesetzt, uebergeben, gezeichnet, kalt, warm;
    for (int i = 0; i < n; ++i) {
        const int k = (i * 7) % 40; // every key in turn, the first 40 clicks each load a file
        QWidget* taste = kb.findChild<QWidget*>(arrayName("TheKey", k));
        const QPoint mitte = taste->rect().center();
        QTest::mousePress(taste, Qt::LeftButton, {}, mitte);
        const int vorher = ton.aufrufe;
        const auto t0 = Uhr::now();
        QTest::mouseRelease(taste, Qt::LeftButton, {}, mitte); // the click happens on release
        if (ton.aufrufe != vorher + 1 || !ton.letzter.endsWith("/" + Noten::Klangname(k) + ".wav")) {
            std::printf("click handling: key %d did not play its sound (%s)\n", k, qPrintable(ton.letzter));
            return 1;
        }
        QCoreApplication::processEvents(); // the repaint the click asked for
        const auto t1 = Uhr::now();
        gesetzt.push_back(ms(ton.an - t0));
        uebergeben.push_back(ms(ton.ab - t0));
        gezeichnet.push_back(ms(t1 - t0));
        (i < 40 ? kalt : warm).push_back(ms(ton.ab - t0));
        std::this_thread::sleep_for(2ms); // let the audio thread mix in between, as it does for a user
    }

    const Verteilung u = verteilung(uebergeben), g = verteilung(gesetzt), z = verteilung(gezeichnet);
    const Verteilung kv = verteilung(kalt), wv = verteilung(warm);
    std::printf("click handling: median %.3f ms, p99 %.3f ms (target < 1 ms median) - click to sound handed to SDL, "
                "%d clicks, SDL driver %s\n",
                u.median, u.p99, n, SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "none");
    std::printf("  click to note set (DoNoten done): median %.3f ms, p99 %.3f ms\n", g.median, g.p99);
    std::printf("  first click on each key (file read and decoded): median %.3f ms, max %.3f ms; later clicks: "
                "median %.3f ms, p99 %.3f ms\n",
                kv.median, kv.max, wv.median, wv.p99);
    std::printf("  click to window repainted (offscreen): median %.3f ms, p99 %.3f ms, max %.3f ms\n", z.median, z.p99,
                z.max);
    return 0;
}

#ifdef KLAVIDOR_MIT_PULSE

// The first channel of a file as the player mixes it: at the output's rate, in 16 bits.
std::vector<int16_t> dateiProben(SdlTonausgabe& ton, const QString& pfad)
{
    const Mischer::Klang k = ton.lade(pfad);
    std::vector<int16_t> s;
    for (size_t i = 0; k && i < k->size(); i += Mischer::Kanaele)
        s.push_back(int16_t(std::lrint(std::clamp((*k)[i] * 32768.0f, -32768.0f, 32767.0f))));
    return s;
}

int Rate = Mischer::Rate; // the output's, once the player opened it
constexpr int Fragment = 128;    // frames per read: 2.9 ms, no shorter than the sink latency SDL's stream asks for
constexpr int16_t Hoerbar = 100; // -50 dB of full scale

// The configured latency of a sink, as pactl reports it while streams play; -1 if unknown.
double senkenLatenz(const QString& senke)
{
    std::FILE* p = popen("pactl list sinks 2>/dev/null", "r");
    if (!p)
        return -1;
    QByteArray text;
    char zeile[512];
    while (std::fgets(zeile, sizeof zeile, p))
        text += zeile;
    pclose(p);
    const qsizetype von = text.indexOf("Name: " + senke.toUtf8() + "\n");
    if (von < 0)
        return -1;
    static const QRegularExpression latenz("configured (\\d+) usec");
    const auto treffer = latenz.match(QString::fromUtf8(text.mid(von)));
    return treffer.hasMatch() ? treffer.captured(1).toDouble() / 1000 : -1;
}

struct Block
{
    size_t ende; // index after the block's last sample
    Uhr::time_point zeit;
};

int einsatz(const QString& klaenge, int n, const char* quelle)
{
    SdlTonausgabe ton;
    const QByteArray treiber = ton.treiber();
    const QByteArray verlangt = qgetenv("KLAVIDOR_AUSGABE");
    const bool passt = verlangt == "pipewire" ? treiber == "pipewire"
                       : verlangt == "pulse"  ? treiber == "pulseaudio-direkt"
                                              : treiber.startsWith("pulseaudio") || treiber == "pipewire";
    if (!ton.geraetOffen() || !passt) {
        std::printf("audio onset (%s): the player did not open it (driver: %s)\n",
                    verlangt.isEmpty() ? "any" : verlangt.constData(), treiber.constData());
        return 1;
    }
    Rate = ton.rate();

    // The monitor in small fragments: each read returns as soon as the server has mixed them.
    const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(Rate), 2};
    const pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1), Fragment * 4};
    int fehler = 0;
    pa_simple* aufnahme = pa_simple_new(nullptr, "bench_latenz", PA_STREAM_RECORD, quelle, "Monitor", &format, nullptr,
                                        &attr, &fehler);
    if (!aufnahme) {
        std::printf("audio onset: cannot record %s: %s\n", quelle, pa_strerror(fehler));
        return 1;
    }
    std::vector<int16_t> links;
    links.reserve(size_t(Rate) * (n + 10));
    std::vector<Block> bloecke;
    bloecke.reserve(links.capacity() / Fragment);
    std::atomic<bool> halt{false};
    std::atomic<size_t> gelesen{0};
    std::thread rekorder([&] {
        std::vector<int16_t> puffer(Fragment * 2);
        while (!halt) {
            if (pa_simple_read(aufnahme, puffer.data(), puffer.size() * sizeof(int16_t), &fehler) < 0)
                break;
            const auto t = Uhr::now();
            for (int i = 0; i < Fragment; ++i)
                links.push_back(puffer[2 * i]);
            bloecke.push_back({links.size(), t});
            ++gelesen;
        }
    });

    // The first fragments take a second or so to come; start once they flow.
    for (int i = 0; i < 100 && gelesen == 0; ++i)
        std::this_thread::sleep_for(50ms);
    std::this_thread::sleep_for(300ms);
    const QString stumm = klaenge + "/gibt-es-nicht.wav";
    std::vector<Uhr::time_point> klicks;
    std::vector<int> tasten;
    // Read, decoded and brought to the output's rate ahead, as the program does for its keys.
    QStringList vorab;
    for (int k = 12; k < 22; ++k)
        vorab.append(klang(klaenge, k));
    const auto t_vorab = Uhr::now();
    ton.vorladen(vorab);
    const double je_datei = ms(Uhr::now() - t_vorab) / double(vorab.size());
    std::vector<double> kosten;
    double puffer = -1;
    for (int i = 0; i < n; ++i) {
        if (i == 1)
            puffer = senkenLatenz(QString(quelle).remove(".monitor"));
        const int k = 12 + i % 10; // ten keys
        const auto t = Uhr::now();
        ton.spiele(klang(klaenge, k));
        kosten.push_back(ms(Uhr::now() - t) * 1000);
        klicks.push_back(t);
        tasten.push_back(k);
        std::this_thread::sleep_for(600ms);
        ton.spiele(stumm); // a missing file only fades out what plays: silence before the next one
        std::this_thread::sleep_for(250ms);
    }
    halt = true;
    rekorder.join();
    pa_simple_free(aufnahme);
    if (bloecke.empty()) {
        std::printf("audio onset: nothing came from %s\n", quelle);
        return 1;
    }

    // The monitor counts samples on the server's clock, and a read can only come late: near each
    // click, the earliest arrival against its sample index tells when each sample left the mixer,
    // whatever kept the recording thread from reading at once. Near, because the null sink's clock
    // drifts by a few hundred ppm and a rewind repeats a stretch of the monitor.
    auto dauer = [](qint64 proben) {
        return std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(double(proben) / Rate));
    };
    auto nullpunkt = [&](Uhr::time_point von, Uhr::time_point bis) {
        Uhr::time_point null = Uhr::time_point::max();
        for (const Block& b : bloecke)
            if (b.zeit >= von && b.zeit < bis)
                null = std::min(null, b.zeit - dauer(qint64(b.ende)));
        return null;
    };
    std::vector<double> verspaetung;
    for (const Block& b : bloecke) {
        const Uhr::time_point null = nullpunkt(b.zeit - 500ms, b.zeit + 500ms);
        verspaetung.push_back(ms(b.zeit - (null + dauer(qint64(b.ende)))));
    }

    std::vector<double> einsaetze;
    int nichtGehoert = 0, nichtAufgenommen = 0, mitAussetzern = 0;
    QStringList aussetzer, jeder;
    const size_t vergleich = size_t(0.55 * Rate); // the sound is cut after 600 ms
    for (int i = 0; i < n; ++i) {
        const Uhr::time_point null = nullpunkt(klicks[i] - 300ms, klicks[i] + 700ms);
        if (null == Uhr::time_point::max()) { // the recording itself has a gap here
            ++nichtAufgenommen;
            jeder.append("-");
            continue;
        }
        auto probeBei = [&](Uhr::time_point t) {
            const double s = std::chrono::duration<double>(t - null).count() * Rate;
            return size_t(std::clamp(s, 0.0, double(links.size())));
        };
        size_t j = probeBei(klicks[i]);
        const size_t ende = probeBei(klicks[i] + 850ms);
        while (j < ende && std::abs(links[j]) <= Hoerbar)
            ++j;
        if (j >= ende) {
            ++nichtGehoert;
            jeder.append("-");
            continue;
        }
        einsaetze.push_back(ms(null + dauer(qint64(j)) - klicks[i]));
        jeder.append(QString::number(einsaetze.back(), 'f', 1));

        // What came out against the file, sample for sample.
        const std::vector<int16_t> datei = dateiProben(ton, klang(klaenge, tasten[i]));
        size_t w0 = 0;
        while (w0 < datei.size() && std::abs(datei[w0]) <= Hoerbar)
            ++w0;
        const size_t m = std::min({vergleich, datei.size() - w0, links.size() - j});
        double kreuz = 0, eigen = 0;
        for (size_t s = 0; s < std::min<size_t>(m, Rate / 50); ++s) {
            kreuz += double(links[j + s]) * datei[w0 + s];
            eigen += double(datei[w0 + s]) * datei[w0 + s];
        }
        const double pegel = eigen > 0 ? kreuz / eigen : 0; // 1 unless a volume was applied on the way
        if (std::abs(pegel - 1) > 0.01)
            aussetzer.append(QString("key %1 came out at level %2").arg(tasten[i]).arg(pegel, 0, 'f', 3));
        for (size_t s = 0; s < m; ++s) {
            if (std::abs(links[j + s] - pegel * datei[w0 + s]) > 64) {
                size_t still = s;
                while (still < m && std::abs(links[j + still]) <= Hoerbar / 4)
                    ++still;
                ++mitAussetzern;
                aussetzer.append(QString("key %1 at %2 ms%3")
                                     .arg(tasten[i])
                                     .arg(1000.0 * s / Rate, 0, 'f', 1)
                                     .arg(still > s ? QString(", %1 ms of silence").arg(1000.0 * (still - s) / Rate, 0, 'f', 1)
                                                    : QString(", samples differ")));
                break;
            }
        }
    }

    if (einsaetze.empty()) {
        std::printf("audio onset: no sound reached %s\n", quelle);
        return 1;
    }
    const Verteilung e = verteilung(einsaetze), kv = verteilung(kosten), v = verteilung(verspaetung);
    // What leaves the mixer is played one sink buffer later.
    const double b = std::max(puffer, 0.0);
    const char* ziel = treiber == "pipewire" ? "<= 5 ms median, <= 8 ms p95" : "<= 10 ms median, <= 14 ms p95";
    std::printf("audio onset (%s): median %.1f ms, p95 %.1f ms, min %.1f ms, max %.1f ms (target %s) - play() to the first "
                "audible sample played by the null sink, %zu plays\n",
                treiber.constData(), e.median + b, e.p95 + b, *std::min_element(einsaetze.begin(), einsaetze.end()) + b,
                e.max + b, ziel, einsaetze.size());
    if (puffer >= 0)
        std::printf("  of which the sink's buffer (configured latency): %.1f ms; leaving the server's mixer: median %.1f ms\n",
                    puffer, e.median);
    else
        std::printf("  the sink's buffer is unknown (no pactl) and not counted\n");
    std::printf("  each play, leaving the mixer (ms): %s\n", qPrintable(jeder.join(' ')));
    std::printf("dropouts (%s): %d of %zu sounds (each compared sample for sample with its file at %d Hz over %.0f ms)%s%s\n",
                treiber.constData(), mitAussetzern, einsaetze.size(), Rate, 1000.0 * vergleich / Rate, aussetzer.isEmpty() ? "" : ": ",
                qPrintable(aussetzer.join("; ")));
    if (nichtGehoert)
        std::printf("  not heard within 850 ms: %d of %d sounds\n", nichtGehoert, n);
    if (nichtAufgenommen)
        std::printf("  not judged, since the recording has no sample near the click: %d of %d sounds\n", nichtAufgenommen, n);
    std::printf("  cost of play(): median %.0f us, max %.0f us; each file read, decoded and brought to %d Hz ahead in %.1f ms\n",
                kv.median, kv.max, Rate, je_datei);
    std::printf("  the recorder read its fragments %.1f ms (median), at most %.1f ms, after they left the mixer "
                "(taken out of the onset)\n",
                v.median, v.max);
    return 0;
}

#endif

} // namespace

int main(int argc, char** argv)
{
    const QString art = argc > 1 ? argv[1] : "";
    const QString klaenge = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(KLAVIDOR_KLAENGE_DIR);
    const int n = argc > 3 ? std::atoi(argv[3]) : 0;
    if (!QFile::exists(klang(klaenge, 21))) {
        std::printf("bench_latenz: no key sounds in %s\n", qPrintable(klaenge));
        return 1;
    }
    if (art == "klick") {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return klick(klaenge, n > 0 ? n : 1000);
    }
    if (art == "einsatz") {
#ifdef KLAVIDOR_MIT_PULSE
        return einsatz(klaenge, n > 0 ? n : 20, argc > 4 ? argv[4] : "klavidor_null.monitor");
#else
        std::printf("audio onset: bench_latenz was built without libpulse-simple\n");
        return 1;
#endif
    }
    std::fprintf(stderr, "usage: bench_latenz klick|einsatz [KLAENGE] [N] [MONITOR]\n");
    return 2;
}
