// A MIDI keyboard playing the real main window, as the program runs it: the MIDI module on a JACK
// server with the dummy driver (64 frames at 48 kHz), the player (its own PulseAudio stream where a
// server answers) behind the loading output. A source of our own stamps each note-on when it
// writes it into JACK; run by hand through scripts/bench.
//
//   bench_midi_fenster [KLAENGE] [BILD_NOTEN] [KLANG_NOTEN] [MONITOR]
//     note-on -> the note set and named (the window's handler done) -> the window repainted (the
//     update request that painted the note-name label has returned, the picture handed to the
//     screen), over BILD_NOTEN notes; then note-on -> first audible sample played by the null sink
//     whose monitor is MONITOR, over KLANG_NOTEN notes (0 = not measured).
//
// Every figure is one line on stdout; the exit code is 1 only when nothing could be measured.
#include "bench/midiquelle.h"

#include "sound/LadendeTonausgabe.h"
#include "sound/SdlTonausgabe.h"
#include "input/MidiEingang.h"
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "sound/mdlSound.h"
#include "kern/Notenmodell.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#ifdef KLAVIDOR_MIT_PULSE
#include <pulse/error.h>
#include <pulse/simple.h>
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t An = 0x90, Aus = 0x80;
constexpr std::uint8_t Anschlag = 127; // full velocity: the key sounds at the level of its file
constexpr int Erste_Note = 48;         // MIDI note of key 0
constexpr int Schritt = 7;             // keys in turn: every key once per 40 notes, never the same name twice
constexpr int Warte_ms = 1000;         // longest wait for a note to arrive or be drawn
constexpr int Loslassen_ms = 5;        // after the note-off, before the next note

double ms(Uhr::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Verteilung
{
    double median = 0, p95 = 0, max = 0;
};

Verteilung verteilung(std::vector<double> v)
{
    if (v.empty())
        return {};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {(v[(n - 1) / 2] + v[n / 2]) / 2, v[size_t(std::ceil(0.95 * double(n))) - 1], v.back()};
}

void laufen(int ms) { warte([] { return false; }, ms); }

// Notes when the main window has finished a repaint that painted `beschriftung`: widgets paint
// into the backing store while their top-level window handles its update request, which then
// hands the picture to the screen.
class Anwendung : public QApplication
{
public:
    using QApplication::QApplication;
    QWidget* fenster = nullptr;
    QWidget* beschriftung = nullptr;
    std::optional<Uhr::time_point> gemalt;

    bool notify(QObject* o, QEvent* e) override
    {
        const QEvent::Type art = e->type();
        const bool ganz = o == fenster && art == QEvent::UpdateRequest;
        const bool ergebnis = QApplication::notify(o, e);
        if (o == beschriftung && art == QEvent::Paint)
            m_beschriftungGemalt = true;
        if (ganz && m_beschriftungGemalt && !gemalt)
            gemalt = Uhr::now();
        return ergebnis;
    }
    void neueNote()
    {
        m_beschriftungGemalt = false;
        gemalt.reset();
    }

private:
    bool m_beschriftungGemalt = false;
};

// The real player, noting when the MIDI thread asked it for a held voice and when it returned.
class Stoppuhr : public LadendeTonausgabe
{
public:
    using LadendeTonausgabe::LadendeTonausgabe;
    int halteGemerkt(int nummer, double lautstaerke) override
    {
        m_gerufen.store(Uhr::now().time_since_epoch().count());
        const int stimme = LadendeTonausgabe::halteGemerkt(nummer, lautstaerke);
        m_zurueck.store(Uhr::now().time_since_epoch().count());
        return stimme;
    }
    Uhr::time_point gerufen() const { return Uhr::time_point(Uhr::duration(m_gerufen.load())); }
    Uhr::time_point zurueck() const { return Uhr::time_point(Uhr::duration(m_zurueck.load())); }

private:
    std::atomic<Uhr::rep> m_gerufen{0}, m_zurueck{0};
};

struct Bank
{
    Anwendung& app;
    Keyboard& kb;
    Testquelle& quelle;
    Stoppuhr& ton;
    std::optional<Uhr::time_point> behandelt; // the window's note-on handler returned
};

// A note on, waiting until `fertig`. The source's stamp, or nothing if JACK lost or repeated it.
std::optional<Uhr::time_point> anschlagen(Bank& b, int note, const std::function<bool()>& fertig)
{
    b.quelle.stempel();
    b.behandelt.reset();
    b.app.neueNote();
    b.quelle.sende({An, std::uint8_t(note), Anschlag});
    warte(fertig, Warte_ms);
    const std::vector<Uhr::time_point> stempel = b.quelle.stempel();
    return stempel.size() == 1 ? std::optional(stempel[0]) : std::nullopt;
}

void loslassen(Bank& b, int note, int danach_ms)
{
    b.quelle.sende({Aus, std::uint8_t(note), 0});
    laufen(danach_ms);
}

void bild(Bank& b, int n)
{
    std::vector<double> gerufen, behandelt, gemalt, gemaltWarm, kalt, warm, fenster;
    int fehlt = 0;
    const auto* name = b.kb.findChild<QLabel*>("NotenNamenTextFeld");
    for (int i = 0; i < n; ++i) {
        const int k = (i * Schritt) % Noten::Tastenzahl;
        const QString vorher = name->text();
        const auto t0 = anschlagen(b, Erste_Note + k, [&] { return b.app.gemalt.has_value(); });
        loslassen(b, Erste_Note + k, Loslassen_ms);
        if (!t0 || !b.behandelt || !b.app.gemalt || name->text() == vorher) {
            ++fehlt;
            continue;
        }
        gerufen.push_back(ms(b.ton.gerufen() - *t0));
        behandelt.push_back(ms(*b.behandelt - *t0));
        gemalt.push_back(ms(*b.app.gemalt - *t0));
        (i < Noten::Tastenzahl ? kalt : warm).push_back(ms(b.ton.zurueck() - b.ton.gerufen()));
        fenster.push_back(ms(*b.behandelt - b.ton.zurueck()));
        if (i >= Noten::Tastenzahl)
            gemaltWarm.push_back(gemalt.back());
    }
    if (gemalt.empty()) {
        std::printf("midi to window: no note was drawn\n");
        return;
    }
    const Verteilung g = verteilung(gemalt), h = verteilung(behandelt), r = verteilung(gerufen);
    const Verteilung kv = verteilung(kalt), wv = verteilung(warm), gw = verteilung(gemaltWarm), f = verteilung(fenster);
    std::printf("midi note-on to the note drawn (window repainted, %s): median %.2f ms, p95 %.2f ms, max %.2f ms "
                "(target: median < 2 ms) - %zu of %d notes\n",
                qPrintable(QGuiApplication::platformName()), g.median, g.p95, g.max, gemalt.size(), n);
    std::printf("  to the held voice asked of the player on the MIDI thread: median %.2f ms, p95 %.2f ms; to the "
                "window's handler done (note set, named, key down): median %.2f ms, p95 %.2f ms\n",
                r.median, r.p95, h.median, h.p95);
    std::printf("  from the player's return to the window's handler done: median %.3f ms, p95 %.3f ms\n", f.median,
                f.p95);
    std::printf("  drawn, once every key has sounded (its file in memory): median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                gw.median, gw.p95, gw.max);
    std::printf("  the held voice asked of the player: first time on each key median %.3f ms, max "
                "%.3f ms; later median %.3f ms, max %.3f ms\n",
                kv.median, kv.max, wv.median, wv.max);
    if (fehlt)
        std::printf("  left out: %d notes (lost or repeated by JACK, or not drawn within %d ms)\n", fehlt, Warte_ms);
}

#ifdef KLAVIDOR_MIT_PULSE

constexpr int Rate = 44100;
constexpr int Fragment = 128;    // frames per read, 2.9 ms
constexpr int16_t Hoerbar = 100; // -50 dB of full scale
constexpr int Klang_ms = 500, Stille_ms = 400; // each note held, then its release faded out

// The configured latency of a sink, as pactl reports it while streams play; -1 if unknown.
double senkenLatenz(const QString& senke)
{
    QProcess pactl;
    pactl.start("pactl", {"list", "sinks"});
    if (!pactl.waitForFinished(3000))
        return -1;
    const QString text = QString::fromUtf8(pactl.readAllStandardOutput());
    const qsizetype von = text.indexOf("Name: " + senke + "\n");
    static const QRegularExpression latenz("configured (\\d+) usec");
    const auto treffer = latenz.match(text, std::max<qsizetype>(von, 0));
    return von >= 0 && treffer.hasMatch() ? treffer.captured(1).toDouble() / 1000 : -1;
}

// The monitor of a sink, read in small fragments on a thread of its own; each fragment keeps the
// time it arrived.
class Mitschnitt
{
public:
    explicit Mitschnitt(const char* quelle)
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, Rate, 2};
        const pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1), Fragment * 4};
        int fehler = 0;
        m_pa = pa_simple_new(nullptr, "bench_midi_fenster", PA_STREAM_RECORD, quelle, "Monitor", &format, nullptr,
                             &attr, &fehler);
        if (!m_pa)
            std::printf("midi to sound: cannot record %s: %s\n", quelle, pa_strerror(fehler));
        else
            m_faden = std::thread([this] { lies(); });
    }
    ~Mitschnitt() { beenden(); }
    bool da() const { return m_pa != nullptr; }
    bool fliesst() const { return m_bloecke.load() > 0; }
    void beenden()
    {
        m_halt = true;
        if (m_faden.joinable())
            m_faden.join();
        if (m_pa)
            pa_simple_free(m_pa);
        m_pa = nullptr;
    }

    // The first audible sample between `von` and `bis`, on the server's clock: a read can only
    // come late, so near `von` the earliest arrival against its sample index tells when each
    // sample left the mixer (near: the null sink's clock drifts, and a rewind repeats a stretch).
    std::optional<Uhr::time_point> einsatz(Uhr::time_point von, Uhr::time_point bis) const
    {
        auto dauer = [](size_t proben) {
            return std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(double(proben) / Rate));
        };
        Uhr::time_point null = Uhr::time_point::max();
        for (const Block& b : m_zeiten)
            if (b.zeit >= von - 300ms && b.zeit < bis + 300ms)
                null = std::min(null, b.zeit - dauer(b.ende));
        if (null == Uhr::time_point::max())
            return std::nullopt;
        auto probe = [&](Uhr::time_point t) {
            return size_t(std::clamp(std::chrono::duration<double>(t - null).count() * Rate, 0.0, double(m_links.size())));
        };
        for (size_t j = probe(von); j < probe(bis); ++j)
            if (std::abs(m_links[j]) > Hoerbar)
                return null + dauer(j);
        return std::nullopt;
    }

private:
    struct Block
    {
        size_t ende; // index after the block's last sample
        Uhr::time_point zeit;
    };
    void lies()
    {
        std::vector<int16_t> puffer(Fragment * 2);
        int fehler = 0;
        while (!m_halt && pa_simple_read(m_pa, puffer.data(), puffer.size() * sizeof(int16_t), &fehler) >= 0) {
            const auto t = Uhr::now();
            for (int i = 0; i < Fragment; ++i)
                m_links.push_back(puffer[2 * i]);
            m_zeiten.push_back({m_links.size(), t});
            ++m_bloecke;
        }
    }

    pa_simple* m_pa = nullptr;
    std::thread m_faden;
    std::atomic<bool> m_halt{false};
    std::atomic<int> m_bloecke{0};
    std::vector<int16_t> m_links; // read only after beenden()
    std::vector<Block> m_zeiten;
};

void klang(Bank& b, int n, const char* monitor, const QByteArray& treiber)
{
    if (treiber != "pulseaudio-direkt" && treiber != "pipewire") {
        std::printf("midi to sound: the player did not open its own stream (driver: %s)\n", treiber.constData());
        return;
    }
    Mitschnitt mitschnitt(monitor);
    if (!mitschnitt.da())
        return;
    warte([&] { return mitschnitt.fliesst(); }, 5000);
    laufen(300);
    // The window repaints itself whole, over and over, all the time the notes are played: a
    // busy window must not hold their sound back.
    QTimer malen;
    QObject::connect(&malen, &QTimer::timeout, &b.kb, [&b] { b.kb.repaint(); });
    malen.start(0);
    const double puffer = senkenLatenz(QString(monitor).remove(".monitor"));
    std::vector<Uhr::time_point> stempel;
    for (int i = 0; i < n; ++i) {
        const int note = Erste_Note + 12 + i % 10; // ten keys from the middle c
        const auto t0 = anschlagen(b, note, [&] { return b.behandelt.has_value(); });
        laufen(Klang_ms);
        loslassen(b, note, Stille_ms);
        if (t0)
            stempel.push_back(*t0);
    }
    mitschnitt.beenden();
    std::vector<double> einsaetze;
    for (const Uhr::time_point t : stempel)
        if (const auto e = mitschnitt.einsatz(t, t + std::chrono::milliseconds(Klang_ms)))
            einsaetze.push_back(ms(*e - t));
    if (einsaetze.empty()) {
        std::printf("midi to sound: no note was heard\n");
        return;
    }
    const double sinkPuffer = std::max(puffer, 0.0); // what leaves the mixer is played one sink buffer later
    const Verteilung e = verteilung(einsaetze);
    std::printf("midi note-on to the first audible sample played by the null sink (%s, window repainting): median "
                "%.1f ms, p95 %.1f ms, max %.1f ms - %zu of %d notes\n",
                treiber.constData(), e.median + sinkPuffer, e.p95 + sinkPuffer, e.max + sinkPuffer, einsaetze.size(), n);
    std::printf("  of which the sink's buffer (configured latency): %s; leaving the server's mixer: median %.1f ms\n",
                puffer >= 0 ? qPrintable(QString("%1 ms").arg(puffer, 0, 'f', 1)) : "unknown (no pactl), not counted",
                e.median);
    if (einsaetze.size() < size_t(n))
        std::printf("  left out: %d notes lost or repeated by JACK, %zu not heard within %d ms\n", n - int(stempel.size()),
                    stempel.size() - einsaetze.size(), Klang_ms);
}

#endif

} // namespace

int main(int argc, char** argv)
{
    Anwendung app(argc, argv);
    const QString klaenge = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(KLAVIDOR_KLAENGE_DIR);
    const int bildNoten = argc > 2 ? std::atoi(argv[2]) : 200;
    const int klangNoten = argc > 3 ? std::atoi(argv[3]) : 20;
    const char* monitor = argc > 4 ? argv[4] : "klavidor_null.monitor";
    if (!QFile::exists(klaenge + "/" + Noten::Klangname(12) + ".wav")) {
        std::printf("bench_midi_fenster: no key sounds in %s\n", qPrintable(klaenge));
        return 1;
    }
    QTemporaryDir einstellungen; // the remembered MIDI source and microphone stay out of ~/.config
    qputenv("XDG_CONFIG_HOME", einstellungen.path().toUtf8());
    JackServer server;
    if (!server.starten()) {
        std::printf("midi to window: jackd did not start\n");
        return 1;
    }

    SdlTonausgabe* spieler = nullptr;
    Stoppuhr ton(LadendeTonausgabe::Erzeuger([&spieler] { return spieler = new SdlTonausgabe; }));
    Haupt haupt;
    haupt.Randomize(1);
    haupt.Ton_Verzeichnis = klaenge + "/";
    ton.vorladen(Tastenklaenge(haupt)); // as "Starten" does
    ton.ladenUndAbwarten();
    Keyboard kb(haupt, ton);
    kb.show();
    kb.activateWindow();
    if (!QTest::qWaitForWindowExposed(&kb)) {
        std::printf("midi to window: the window did not show\n");
        return 1;
    }
    kb.starteEingaenge(KLAVIDOR_MIDI_MODUL);
    Testquelle quelle("Benchquelle");
    if (!quelle.da() || !warte([&] { return quelle.verbindungen() == 1 && kb.midiEingang(); }, 5000)) {
        std::printf("midi to window: the source was not connected\n");
        return 1;
    }
    app.fenster = &kb;
    app.beschriftung = kb.findChild<QLabel*>("NotenNamenTextFeld");
    Bank bank{app, kb, quelle, ton, {}};
    // After the window's own handler, which connected first.
    QObject::connect(kb.midiEingang(), &MidiEingang::noteAn, [&](int, int) { bank.behandelt = Uhr::now(); });
    laufen(300);

    bild(bank, bildNoten);
    if (klangNoten > 0) {
#ifdef KLAVIDOR_MIT_PULSE
        klang(bank, klangNoten, monitor, spieler ? spieler->treiber() : QByteArray("none"));
#else
        (void)monitor;
        std::printf("midi to sound: bench_midi_fenster was built without libpulse-simple\n");
#endif
    }
    return 0;
}
