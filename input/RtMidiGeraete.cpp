#include "input/RtMidiGeraete.h"

#include "input/MidiLeser.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr std::size_t Schlangengroesse = 1 << 15; // 16 s of a 1000-notes-a-second flood
constexpr auto Blickabstand = std::chrono::milliseconds(1000);
constexpr const char* EigenerPort = "Eingang";

void stillRtMidi(RtMidiError::Type, const std::string&, void*) {}

// RtMidi prints its failure to open the ALSA sequencer before throwing, before any error hook
// can be set: so we look ourselves first (quietly, the ALSA error hook being set).
bool alsaSequencerDa()
{
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0)
        return false;
    snd_seq_close(seq);
    return true;
}

// RtMidi's own error hook: without it, warnings go to stderr and errors throw.
std::unique_ptr<RtMidiIn> neuerEingang(MidiSystem system)
{
    if (system == MidiSystem::Alsa && !alsaSequencerDa())
        return nullptr;
    try {
        auto in = std::make_unique<RtMidiIn>(system == MidiSystem::Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK,
                                             EigenerClient);
        in->setErrorCallback(stillRtMidi);
        return in;
    } catch (const RtMidiError&) {
        return nullptr; // the sequencer went away just now
    }
}

std::vector<QString> portnamen(RtMidiIn& in)
{
    std::vector<QString> namen;
    const unsigned anzahl = in.getPortCount();
    for (unsigned i = 0; i < anzahl; ++i)
        namen.push_back(QString::fromStdString(in.getPortName(i)));
    return namen;
}

} // namespace

// One source being listened to. Its reader is used only by RtMidi's callback thread.
struct OffenerPort
{
    MidiPort port;
    std::uint32_t quelle = 0;
    RtMidiGeraete* ziel = nullptr;
    MidiLeser leser;
    std::unique_ptr<RtMidiIn> eingang;

    static void empfange(double, std::vector<unsigned char>* bytes, void* selbst)
    {
        auto* p = static_cast<OffenerPort*>(selbst);
        p->leser.lies(bytes->data(), bytes->size(), [p](const MidiEreignis& e) {
            MidiEreignis mit = e;
            mit.quelle = p->quelle;
            p->ziel->einreihen(mit);
        });
    }
};

// A JACK client of our own that tells whether a server answers and lists its MIDI outputs. It
// never starts a server, and its shutdown hook notices a server that dies.
struct JackWache
{
    jack_client_t* client = nullptr;
    std::atomic<bool> tot{false};

    JackWache()
    {
        jack_status_t status;
        client = jack_client_open(EigenerClient, JackNoStartServer, &status);
        if (client) {
            jack_on_shutdown(client, [](void* selbst) { static_cast<JackWache*>(selbst)->tot = true; }, this);
            jack_activate(client);
        }
    }
    ~JackWache()
    {
        if (client)
            jack_client_close(client);
    }

    std::vector<QString> ausgaenge() const
    {
        std::vector<QString> namen;
        const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
        for (const char** p = ports; p && *p; ++p)
            namen.push_back(QString::fromUtf8(*p));
        jack_free(ports);
        return namen;
    }
};

Wecker::Wecker() : m_fd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

Wecker::~Wecker()
{
    if (m_fd >= 0)
        close(m_fd);
}

void Wecker::wecken()
{
    // Pairs with the fence in quittieren(): either the consumer sees the new event, or we write.
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (!m_gesetzt.exchange(true)) {
        const std::uint64_t eins = 1;
        [[maybe_unused]] auto n = write(m_fd, &eins, sizeof eins);
    }
}

void Wecker::quittieren()
{
    std::uint64_t zaehler;
    [[maybe_unused]] auto n = read(m_fd, &zaehler, sizeof zaehler);
    m_gesetzt.store(false);
    std::atomic_thread_fence(std::memory_order_seq_cst);
}

RtMidiGeraete::RtMidiGeraete() : m_schlange(Schlangengroesse), m_thread([this] { waechter(); }) {}

RtMidiGeraete::~RtMidiGeraete()
{
    {
        std::lock_guard sperre(m_mutex);
        m_ende = true;
    }
    m_bedingung.notify_all();
    m_thread.join();
    m_offen.clear();
}

void RtMidiGeraete::waehle(Wahl wahl, const QString& name)
{
    {
        std::lock_guard sperre(m_mutex);
        m_wahl = wahl;
        m_name = name;
        m_wahlNeu = true;
    }
    m_bedingung.notify_all();
}

void RtMidiGeraete::geweckt()
{
    m_wecker.quittieren();
}

bool RtMidiGeraete::naechstes(MidiEreignis& ereignis)
{
    return m_schlange.raus(ereignis);
}

QStringList RtMidiGeraete::quellen() const
{
    std::lock_guard sperre(m_standMutex);
    return m_quellen;
}

bool RtMidiGeraete::systemDa() const
{
    std::lock_guard sperre(m_standMutex);
    return m_systemDa;
}

void RtMidiGeraete::einreihen(const MidiEreignis& ereignis)
{
    if (!m_schlange.rein(ereignis))
        m_verloren.fetch_add(1, std::memory_order_relaxed);
    m_wecker.wecken();
}

void RtMidiGeraete::waechter()
{
    std::unique_lock sperre(m_mutex);
    while (!m_ende) {
        m_wahlNeu = false;
        sperre.unlock();
        schauen();
        sperre.lock();
        m_bedingung.wait_for(sperre, Blickabstand, [this] { return m_ende || m_wahlNeu; });
    }
}

void RtMidiGeraete::schauen()
{
    std::vector<MidiPort> ports;
    const bool alsa = alsaPruefen(ports);
    const bool jack = jackPruefen(ports);
    const std::vector<MidiQuelle> quellen = Quellen(ports);
    abgleichen(quellen);
    veroeffentlichen(quellen, alsa || jack);
}

bool RtMidiGeraete::alsaPruefen(std::vector<MidiPort>& ports)
{
    if (!m_alsaListe)
        m_alsaListe = neuerEingang(MidiSystem::Alsa);
    if (!m_alsaListe)
        return false;
    for (QString& name : portnamen(*m_alsaListe))
        ports.push_back({MidiSystem::Alsa, std::move(name)});
    return true;
}

bool RtMidiGeraete::jackPruefen(std::vector<MidiPort>& ports)
{
    if (m_jack && m_jack->tot) {
        // The server died: its clients are dead too; all are closed before any new one is opened.
        for (std::size_t i = m_offen.size(); i-- > 0;)
            if (m_offen[i]->port.system == MidiSystem::Jack)
                schliessen(i);
        m_jack.reset();
    }
    if (!m_jack) {
        auto wache = std::make_unique<JackWache>();
        if (!wache->client)
            return false;
        m_jack = std::move(wache);
    }
    for (QString& name : m_jack->ausgaenge())
        ports.push_back({MidiSystem::Jack, std::move(name)});
    return true;
}

void RtMidiGeraete::abgleichen(const std::vector<MidiQuelle>& quellen)
{
    Wahl wahl;
    QString name;
    {
        std::lock_guard sperre(m_mutex);
        wahl = m_wahl;
        name = m_name;
    }
    std::vector<MidiPort> gewollt;
    for (const MidiQuelle& q : quellen)
        if (wahl == Wahl::Alle || (wahl == Wahl::Eine && q.name == name))
            gewollt.push_back(q.port);
    const auto gleich = [](const MidiPort& a, const MidiPort& b) { return a.system == b.system && a.roh == b.roh; };
    for (std::size_t i = m_offen.size(); i-- > 0;) {
        const bool bleibt = std::any_of(gewollt.begin(), gewollt.end(),
                                        [&](const MidiPort& p) { return gleich(p, m_offen[i]->port); });
        if (!bleibt)
            schliessen(i);
    }
    for (const MidiPort& p : gewollt) {
        const bool offen = std::any_of(m_offen.begin(), m_offen.end(),
                                       [&](const auto& o) { return gleich(p, o->port); });
        if (!offen)
            oeffnen(p);
    }
}

void RtMidiGeraete::schliessen(std::size_t index)
{
    const std::uint32_t quelle = m_offen[index]->quelle;
    // Closing joins RtMidi's thread, so the marker follows the source's last event.
    m_offen.erase(m_offen.begin() + static_cast<std::ptrdiff_t>(index));
    einreihen({MidiEreignis::Art::QuelleWeg, 0, 0, quelle});
}

void RtMidiGeraete::oeffnen(const MidiPort& port)
{
    // A failed jack_client_open leaves libjack unable to close clients of a dead server: none is
    // tried while dead ones are still open.
    if (port.system == MidiSystem::Jack && (!m_jack || m_jack->tot))
        return;
    auto offen = std::make_unique<OffenerPort>();
    offen->port = port;
    offen->ziel = this;
    offen->eingang = neuerEingang(port.system);
    if (!offen->eingang)
        return;
    // The list may have changed since the last look: find the port by its name again.
    const std::vector<QString> namen = portnamen(*offen->eingang);
    const auto it = std::find(namen.begin(), namen.end(), port.roh);
    if (it == namen.end())
        return;
    offen->quelle = m_naechsteQuelle++;
    offen->eingang->ignoreTypes(false, true, true); // clock and active sensing; the reader skips SysEx
    offen->eingang->setCallback(&OffenerPort::empfange, offen.get());
    offen->eingang->openPort(static_cast<unsigned>(it - namen.begin()), EigenerPort);
    if (offen->eingang->isPortOpen())
        m_offen.push_back(std::move(offen));
}

void RtMidiGeraete::veroeffentlichen(const std::vector<MidiQuelle>& quellen, bool da)
{
    QStringList namen;
    for (const MidiQuelle& q : quellen)
        if (!namen.contains(q.name))
            namen.push_back(q.name);
    {
        std::lock_guard sperre(m_standMutex);
        if (namen == m_quellen && da == m_systemDa)
            return;
        m_quellen = namen;
        m_systemDa = da;
    }
    einreihen({MidiEreignis::Art::ListeNeu, 0, 0, 0});
}
