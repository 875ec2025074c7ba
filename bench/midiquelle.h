// A JACK server of our own and a MIDI source that plays into it, shared by the MIDI test and the
// MIDI bench. The source stamps each note-on when it writes it into JACK, so the time it takes to
// reach the program is measured from the source itself.
#pragma once

#include <jack/jack.h>
#include <jack/midiport.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <signal.h>
#include <sys/prctl.h>
#include <vector>

using Uhr = std::chrono::steady_clock;

// Runs the event loop (a real one, which serves the MIDI wake-up at once, unlike qWaitFor's
// sleeps) until `erfuellt` or the time is up.
inline bool warte(const std::function<bool()>& erfuellt, int ms)
{
    QEventLoop schleife;
    QTimer pruefen, ablauf;
    QObject::connect(&pruefen, &QTimer::timeout, &schleife, [&] {
        if (erfuellt())
            schleife.quit();
    });
    QObject::connect(&ablauf, &QTimer::timeout, &schleife, &QEventLoop::quit);
    pruefen.start(1);
    ablauf.start(ms);
    if (!erfuellt())
        schleife.exec();
    return erfuellt();
}

// jackd with the dummy driver under a private name, which reaches every client in this process
// through JACK_DEFAULT_SERVER.
class JackServer
{
public:
    static constexpr int Rate = 48000, Periode = 64;
    static constexpr const char* ShmOrdner = "/dev/shm"; // jackd's sockets and semaphores

    JackServer()
    {
        m_name = QString("klavidor-%1").arg(QCoreApplication::applicationPid());
        qputenv("JACK_DEFAULT_SERVER", m_name.toUtf8());
        qputenv("JACK_NO_START_SERVER", "1");
        // libjack's error hooks stay unset here: the program's module must set them itself.
    }
    // A killed server keeps its place in JACK's registry, which has eight for the whole machine:
    // a server of the same name takes it back, and gives it up when it ends properly.
    ~JackServer()
    {
        if (m_getoetet)
            starte(m_jackd, false); // its socket shows it has registered; no client needed
        m_jackd.terminate();
        m_jackd.waitForFinished(3000);
        // The killed server's clients left their semaphores behind; only ours go.
        QDir shm(ShmOrdner);
        for (const QString& rest : shm.entryList({"jack_sem.*_" + m_name + "_*"}, QDir::Files | QDir::System))
            shm.remove(rest);
    }

    // True once a client can connect.
    bool starten()
    {
        m_getoetet = false;
        return starte(m_jackd);
    }

    // As if it crashed: no goodbye to its clients.
    void toeten()
    {
        if (m_jackd.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(m_jackd.processId()), SIGKILL);
        m_jackd.waitForFinished(3000);
        m_getoetet = true;
        QDir shm(ShmOrdner);
        for (const QString& rest : shm.entryList({"jack_" + m_name + "_*"}, QDir::Files | QDir::System))
            shm.remove(rest); // its socket, so a new server of this name is waited for properly
    }

    QString name() const { return m_name; }

private:
    bool starte(QProcess& jackd, bool mitClient = true)
    {
        jackd.setProcessChannelMode(QProcess::MergedChannels); // its chatter stays in the pipe
        // Ends with us, even if we crash, so no server is left running.
        jackd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        jackd.start("jackd", {"-n", m_name, "-d", "dummy", "-r", QString::number(Rate), "-p", QString::number(Periode)});
        // Its socket first: a client knocking too early has libjack print errors.
        const QDir shm(ShmOrdner);
        QElapsedTimer uhr;
        uhr.start();
        while (uhr.elapsed() < 5000 && jackd.state() != QProcess::NotRunning) {
            const bool sockel = !shm.entryList({"jack_" + m_name + "_*_0"}, QDir::Files | QDir::System).isEmpty();
            if (sockel && !mitClient)
                return true;
            if (jack_client_t* c = sockel ? jack_client_open("klavidor-probe", JackNoStartServer, nullptr) : nullptr) {
                jack_client_close(c);
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

    QString m_name;
    QProcess m_jackd;
    bool m_getoetet = false;
};

// A JACK client with one MIDI output. Messages queued by sende() go out in the next cycle; a
// flood is generated in the process callback itself at an exact rate.
class Testquelle
{
public:
    explicit Testquelle(const char* name)
    {
        m_client = jack_client_open(name, JackNoStartServer, nullptr);
        if (!m_client)
            return;
        m_port = jack_port_register(m_client, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        jack_set_process_callback(m_client, &Testquelle::prozess, this);
        jack_set_xrun_callback(m_client, [](void* selbst) { static_cast<Testquelle*>(selbst)->m_xruns.fetch_add(1); return 0; }, this);
        jack_activate(m_client);
    }
    ~Testquelle() { schliessen(); }

    bool da() const { return m_client && m_port; }
    QString portname() const { return QString::fromUtf8(jack_port_name(m_port)); }
    int verbindungen() const { return jack_port_connected(m_port); }

    void schliessen()
    {
        if (m_client)
            jack_client_close(m_client);
        m_client = nullptr;
    }

    // After its server died: libjack crashes closing a dead client once any client of the
    // process has tried to open since, so the dead one is left alone.
    void vergessen() { m_client = nullptr; }

    void sende(std::vector<std::uint8_t> bytes)
    {
        std::lock_guard sperre(m_mutex);
        m_warten.push_back(std::move(bytes));
    }

    // `noten` note-ons, each followed by its note-off, at `proSekunde`; notes 48..87 in turn.
    void flut(int noten, int proSekunde)
    {
        m_flutGesendet = 0;
        m_flutFrames = 0;
        m_flutRate = proSekunde;
        m_flutNoten.store(noten);
    }
    bool flutFertig() const { return m_flutGesendet.load() >= m_flutNoten.load(); }
    // Nothing left to go out: every queued message sent and any flood done.
    bool leer()
    {
        std::lock_guard sperre(m_mutex);
        return m_warten.empty() && flutFertig();
    }
    // Cycles JACK could not finish in time, in which clients may miss or repeat events.
    int xruns() const { return m_xruns.load(); }
    int flutFehler() const { return m_flutFehler.load(); } // notes that did not fit into JACK's buffer

    // When each note-on went out (taken by the caller).
    std::vector<Uhr::time_point> stempel()
    {
        std::lock_guard sperre(m_mutex);
        return std::exchange(m_stempel, {});
    }

private:
    static int prozess(jack_nframes_t frames, void* selbst)
    {
        auto* q = static_cast<Testquelle*>(selbst);
        void* puffer = jack_port_get_buffer(q->m_port, frames);
        jack_midi_clear_buffer(puffer);
        if (q->m_mutex.try_lock()) { // test code: a busy queue waits one cycle
            std::size_t n = 0;
            for (; n < q->m_warten.size(); ++n) { // what does not fit goes out next cycle
                const auto& b = q->m_warten[n];
                if (jack_midi_event_write(puffer, 0, b.data(), b.size()) != 0)
                    break;
                if (b.size() == 3 && (b[0] & 0xF0) == 0x90 && b[2] > 0)
                    q->m_stempel.push_back(Uhr::now());
            }
            q->m_warten.erase(q->m_warten.begin(), q->m_warten.begin() + static_cast<std::ptrdiff_t>(n));
            q->m_mutex.unlock();
        }
        q->flutSchritt(puffer, frames);
        return 0;
    }

    void flutSchritt(void* puffer, jack_nframes_t frames)
    {
        const int ziel = m_flutNoten.load();
        if (m_flutGesendet.load() >= ziel)
            return;
        m_flutFrames += frames;
        const auto faellig = static_cast<int>(std::min<std::int64_t>(ziel, m_flutFrames * m_flutRate / JackServer::Rate));
        for (int n = m_flutGesendet.load(); n < faellig; ++n) {
            const std::uint8_t note = static_cast<std::uint8_t>(48 + n % 40);
            const std::uint8_t an[3] = {0x90, note, 100}, aus[3] = {0x80, note, 0};
            if (jack_midi_event_write(puffer, 0, an, 3) != 0 || jack_midi_event_write(puffer, 0, aus, 3) != 0)
                m_flutFehler.fetch_add(1);
        }
        m_flutGesendet.store(std::max(faellig, m_flutGesendet.load()));
    }

    jack_client_t* m_client = nullptr;
    jack_port_t* m_port = nullptr;
    std::mutex m_mutex;
    std::vector<std::vector<std::uint8_t>> m_warten;
    std::vector<Uhr::time_point> m_stempel;
    std::atomic<int> m_flutNoten{0}, m_flutGesendet{0}, m_flutFehler{0}, m_xruns{0};
    std::int64_t m_flutFrames = 0;
    int m_flutRate = 0;
};

// A plain JACK client that counts the note-ons reaching it from a port: what JACK itself
// delivered, to tell its losses under load from ours.
class Zaehler
{
public:
    explicit Zaehler(const QString& quelle)
    {
        m_client = jack_client_open("Zaehler", JackNoStartServer, nullptr);
        if (!m_client)
            return;
        m_port = jack_port_register(m_client, "midi_in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(m_client, &Zaehler::prozess, this);
        jack_activate(m_client);
        jack_connect(m_client, quelle.toUtf8().constData(), jack_port_name(m_port));
    }
    ~Zaehler()
    {
        if (m_client)
            jack_client_close(m_client);
    }
    int noteAn() const { return m_an.load(); }

private:
    static int prozess(jack_nframes_t frames, void* selbst)
    {
        auto* z = static_cast<Zaehler*>(selbst);
        void* puffer = jack_port_get_buffer(z->m_port, frames);
        const std::uint32_t anzahl = jack_midi_get_event_count(puffer);
        for (std::uint32_t i = 0; i < anzahl; ++i) {
            jack_midi_event_t e;
            if (jack_midi_event_get(&e, puffer, i) == 0 && e.size == 3 && (e.buffer[0] & 0xF0) == 0x90 && e.buffer[2] > 0)
                z->m_an.fetch_add(1);
        }
        return 0;
    }

    jack_client_t* m_client = nullptr;
    jack_port_t* m_port = nullptr;
    std::atomic<int> m_an{0};
};
