// MIDI bench: a JACK server with the dummy driver (64 frames at 48 kHz) and a source of our own.
// Prints the time from the source's note-on (stamped when written into JACK) to noteAn on the
// user-interface thread, and what arrives of a flood of 1000 notes a second for 10 s.
// Usage: bench_midi [LATENZ_NOTEN] [FLUT_SEKUNDEN]
#include "bench/midiquelle.h"
#include "input/MidiEingang.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int FlutRate = 1000; // notes a second, each with its note-off

double us(Uhr::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double anteil(std::vector<double> werte, double p)
{
    std::sort(werte.begin(), werte.end());
    return werte[std::min(werte.size() - 1, static_cast<std::size_t>(p * static_cast<double>(werte.size())))];
}

// One note at a time; a note that JACK repeated or lost in an overrun is left out.
void latenz(MidiEingang& eingang, Testquelle& quelle, int anzahl)
{
    std::vector<Uhr::time_point> an;
    auto verbindung = QObject::connect(&eingang, &MidiEingang::noteAn, [&](int, int) { an.push_back(Uhr::now()); });
    std::vector<double> werte;
    quelle.stempel();
    for (int i = 0; i < anzahl; ++i) {
        an.clear();
        quelle.sende({0x90, 60, 90});
        quelle.sende({0x80, 60, 0});
        warte([&] { return !an.empty(); }, 1000);
        warte([] { return false; }, 3); // let the note go, as a player would
        const std::vector<Uhr::time_point> stempel = quelle.stempel();
        if (an.size() == 1 && stempel.size() == 1)
            werte.push_back(us(an[0] - stempel[0]));
    }
    QObject::disconnect(verbindung);
    if (werte.empty()) {
        std::printf("latency: no note arrived\n");
        return;
    }
    std::printf("note-on at the source to noteAn on the user-interface thread (%zu of %d notes): median %.0f us, "
                "p95 %.0f us, max %.0f us (target: median well under 1 ms)\n",
                werte.size(), anzahl, anteil(werte, 0.5), anteil(werte, 0.95), *std::max_element(werte.begin(), werte.end()));
}

void flut(MidiEingang& eingang, Testquelle& quelle, int sekunden)
{
    int an = 0, aus = 0;
    QObject::connect(&eingang, &MidiEingang::noteAn, [&](int, int) { ++an; });
    QObject::connect(&eingang, &MidiEingang::noteAus, [&](int) { ++aus; });
    // The event loop's longest stand-still, seen by a 5 ms timer.
    QElapsedTimer uhr;
    qint64 laengste = 0, letzter = 0;
    QTimer takt;
    QObject::connect(&takt, &QTimer::timeout, [&] {
        laengste = std::max(laengste, uhr.elapsed() - letzter);
        letzter = uhr.elapsed();
    });
    Zaehler zaehler(quelle.portname());
    const int noten = FlutRate * sekunden;
    const int xruns = quelle.xruns();
    uhr.start();
    takt.start(5);
    quelle.flut(noten, FlutRate);
    warte([&] { return quelle.flutFertig(); }, (sekunden + 5) * 1000);
    const qint64 gesendet = uhr.elapsed();
    const bool alle = warte([&] { return an >= noten && aus >= noten; }, 2000);
    std::printf("flood of %d notes/s for %d s: %d of %d note-ons and %d note-offs arrived", FlutRate, sekunden, an,
                noten, aus);
    if (alle)
        std::printf(", the last %lld ms after the source's last", uhr.elapsed() - gesendet);
    std::printf("; the event loop stood still at most %lld ms (5 ms timer)\n", laengste);
    std::printf("  JACK overruns during the flood %d; notes that did not fit into JACK's buffer %d; note-ons a plain "
                "JACK client got from the same source %d\n",
                quelle.xruns() - xruns, quelle.flutFehler(), zaehler.noteAn());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int latenzNoten = argc > 1 ? std::atoi(argv[1]) : 500;
    const int flutSekunden = argc > 2 ? std::atoi(argv[2]) : 10;
    JackServer server;
    if (!server.starten()) {
        std::printf("midi: jackd did not start\n");
        return 1;
    }
    MidiEingang eingang(nullptr, QStringLiteral(KLAVIDOR_MIDI_MODUL));
    eingang.starten();
    Testquelle quelle("Benchquelle");
    if (!quelle.da() || !warte([&] { return quelle.verbindungen() == 1; }, 5000)) {
        std::printf("midi: the source was not connected\n");
        return 1;
    }
    latenz(eingang, quelle, latenzNoten);
    flut(eingang, quelle, flutSekunden);
    return 0;
}
