#include "input/RtMidiGeraete.h"

#include "input/MidiLeser.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr std::size_t Schlangengroesse = 1 << 15; // 16 s of a 1000-notes-a-second flood
constexpr auto Blickabstand = std::chrono::milliseconds(1000);
constexpr auto ErsterWiederversuch = std::chrono::milliseconds(100);
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
    std::string eigenerPort; // JACK: our port's full name, to see its connection drop
    bool weg = false;        // ALSA: the announce port said it went

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
// never starts a server. Its callbacks wake the watcher when a port comes or goes, so a source
// replugged between two looks is still seen going, and when the server dies.
struct JackWache
{
    jack_client_t* client = nullptr;
    std::atomic<bool> tot{false};
    Wecker& weckruf;

    explicit JackWache(Wecker& w) : weckruf(w)
    {
        jack_status_t status;
        client = jack_client_open(EigenerClient, JackNoStartServer, &status);
        if (!client)
            return;
        // JACK's threads: no allocation, no lock, only the flag and one write.
        jack_on_shutdown(client, [](void* selbst) {
            auto* w = static_cast<JackWache*>(selbst);
            w->tot = true;
            w->weckruf.wecken();
        }, this);
        jack_set_port_registration_callback(client, [](jack_port_id_t, int, void* selbst) {
            static_cast<JackWache*>(selbst)->weckruf.wecken();
        }, this);
        jack_activate(client);
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

    // The full names of the ports connected to `port`; none once it is gone.
    std::vector<std::string> verbindungen(const QString& port) const
    {
        std::vector<std::string> namen;
        jack_port_t* p = jack_port_by_name(client, port.toUtf8().constData());
        const char** liste = p ? jack_port_get_all_connections(client, p) : nullptr;
        for (const char** n = liste; n && *n; ++n)
            namen.emplace_back(*n);
        jack_free(liste);
        return namen;
    }
};

// The ALSA sequencer's announce port: it tells of every client and port that comes or goes. A
// device replugged usually gets its old numbers back, so only this shows that it went.
struct AlsaWache
{
    snd_seq_t* seq = nullptr;

    AlsaWache()
    {
        if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0) {
            seq = nullptr;
            return;
        }
        snd_seq_set_client_name(seq, EigenerClient);
        const int port = snd_seq_create_simple_port(seq, "Ansage", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                                     SND_SEQ_PORT_TYPE_APPLICATION);
        if (port < 0 || snd_seq_connect_from(seq, port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE) < 0) {
            snd_seq_close(seq);
            seq = nullptr;
        }
    }
    ~AlsaWache()
    {
        if (seq)
            snd_seq_close(seq);
    }

    void deskriptoren(std::vector<pollfd>& fds) const
    {
        const int anzahl = snd_seq_poll_descriptors_count(seq, POLLIN);
        fds.resize(fds.size() + static_cast<std::size_t>(anzahl));
        snd_seq_poll_descriptors(seq, &fds[fds.size() - static_cast<std::size_t>(anzahl)],
                                 static_cast<unsigned>(anzahl), POLLIN);
    }

    // Marks the opened ALSA ports that went since the last call; all of them when news were lost.
    void gegangene(std::vector<std::unique_ptr<OffenerPort>>& offen) const
    {
        const auto markiere = [&](int client, int port) {
            for (auto& o : offen) {
                const AlsaAdresse a = Alsaadresse(o->port);
                if (a.client >= 0 && (client < 0 || (a.client == client && (port < 0 || a.port == port))))
                    o->weg = true;
            }
        };
        snd_seq_event_t* e = nullptr;
        for (;;) {
            const int r = snd_seq_event_input(seq, &e);
            if (r == -ENOSPC)
                markiere(-1, -1);
            else if (r < 0)
                return;
            else if (e->type == SND_SEQ_EVENT_PORT_EXIT)
                markiere(e->data.addr.client, e->data.addr.port);
            else if (e->type == SND_SEQ_EVENT_CLIENT_EXIT)
                markiere(e->data.addr.client, -1);
        }
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
    m_weckruf.wecken();
    m_thread.join();
    m_offen.clear();
}

void RtMidiGeraete::waehle(Wahl wahl, const QString& name)
{
    {
        std::lock_guard sperre(m_mutex);
        m_wahl = wahl;
        m_name = name;
    }
    m_weckruf.wecken();
}

void RtMidiGeraete::geweckt()
{
    m_wecker.quittieren();
}

bool RtMidiGeraete::naechstes(MidiEreignis& ereignis)
{
    return m_schlange.raus(ereignis);
}

bool RtMidiGeraete::verloren()
{
    return m_verloren.exchange(false);
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
        m_verloren.store(true);
    m_wecker.wecken();
}

void RtMidiGeraete::waechter()
{
    for (;;) {
        {
            std::lock_guard sperre(m_mutex);
            if (m_ende)
                return;
        }
        schauen();
        warten();
    }
}

// Until woken, a sequencer announcement, a port due to be tried again, or the next regular look.
void RtMidiGeraete::warten()
{
    const Uhr::time_point jetzt = Uhr::now();
    Uhr::time_point frist = jetzt + Blickabstand;
    for (const Fehlversuch& f : m_fehlversuche)
        frist = std::min(frist, f.wieder);
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(frist - jetzt).count();
    std::vector<pollfd> fds{{m_weckruf.deskriptor(), POLLIN, 0}};
    if (m_alsaWache)
        m_alsaWache->deskriptoren(fds);
    poll(fds.data(), fds.size(), static_cast<int>(std::max<std::int64_t>(ms, 0)));
    m_weckruf.quittieren();
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
    if (!m_alsaWache) {
        auto wache = std::make_unique<AlsaWache>();
        if (wache->seq)
            m_alsaWache = std::move(wache);
    }
    if (m_alsaWache)
        m_alsaWache->gegangene(m_offen);
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
        auto wache = std::make_unique<JackWache>(m_weckruf);
        if (!wache->client)
            return false;
        m_jack = std::move(wache);
    }
    for (QString& name : m_jack->ausgaenge())
        ports.push_back({MidiSystem::Jack, std::move(name)});
    return true;
}

// A source gone, though a port of its name may be back: on JACK our connection to it is gone.
bool RtMidiGeraete::abgerissen(const OffenerPort& offen) const
{
    if (offen.port.system == MidiSystem::Alsa)
        return offen.weg;
    if (!m_jack)
        return true;
    const std::vector<std::string> namen = m_jack->verbindungen(offen.port.roh);
    return std::find(namen.begin(), namen.end(), offen.eigenerPort) == namen.end();
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
    const auto istGewollt = [&](const MidiPort& p) {
        return std::any_of(gewollt.begin(), gewollt.end(), [&](const MidiPort& g) { return gleich(g, p); });
    };
    for (std::size_t i = m_offen.size(); i-- > 0;)
        if (!istGewollt(m_offen[i]->port) || abgerissen(*m_offen[i]))
            schliessen(i); // and opened again below, if a port of its name is there
    std::erase_if(m_fehlversuche, [&](const Fehlversuch& f) { return !istGewollt(f.port); });
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
    const auto versuch = std::find_if(m_fehlversuche.begin(), m_fehlversuche.end(), [&](const Fehlversuch& f) {
        return f.port.system == port.system && f.port.roh == port.roh;
    });
    if (versuch != m_fehlversuche.end() && Uhr::now() < versuch->wieder)
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
    if (!verbinden(*offen, static_cast<unsigned>(it - namen.begin()))) {
        fehlgeschlagen(port);
        return;
    }
    if (versuch != m_fehlversuche.end())
        m_fehlversuche.erase(versuch);
    m_offen.push_back(std::move(offen));
}

// Opens the port; on JACK also finds our own port by the connection that opening made.
bool RtMidiGeraete::verbinden(OffenerPort& offen, unsigned index)
{
    if (offen.port.system == MidiSystem::Alsa) {
        offen.eingang->openPort(index, EigenerPort);
        return offen.eingang->isPortOpen();
    }
    const std::vector<std::string> vorher = m_jack->verbindungen(offen.port.roh);
    offen.eingang->openPort(index, EigenerPort);
    for (std::string& name : m_jack->verbindungen(offen.port.roh))
        if (std::find(vorher.begin(), vorher.end(), name) == vorher.end())
            offen.eigenerPort = std::move(name);
    return !offen.eigenerPort.empty(); // none: its client is not active yet, say
}

void RtMidiGeraete::fehlgeschlagen(const MidiPort& port)
{
    auto it = std::find_if(m_fehlversuche.begin(), m_fehlversuche.end(), [&](const Fehlversuch& f) {
        return f.port.system == port.system && f.port.roh == port.roh;
    });
    if (it == m_fehlversuche.end())
        it = m_fehlversuche.insert(m_fehlversuche.end(), {port, {}, ErsterWiederversuch / 2});
    it->pause = std::min<Uhr::duration>(it->pause * 2, Blickabstand);
    it->wieder = Uhr::now() + it->pause;
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
