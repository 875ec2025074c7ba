#include "input/MidiEingang.h"

#include "sound/Modulorte.h"

#include <QFileInfo>
#include <QLibrary>
#include <QSocketNotifier>

#include <algorithm>
#include <mutex>
#include <thread>

namespace {

constexpr const char* Modulname = "klavidor_midi.so";
// Events taken per turn of the event loop, so a flood never starves painting and input.
constexpr int EreignisseProRunde = 256;

MidiGeraete* lade(const QStringList& orte)
{
    for (const QString& ort : orte) {
        if (!QFileInfo::exists(ort))
            continue;
        // Kept loaded for the rest of the run: the device libraries run threads of their own.
        QLibrary bibliothek(ort);
        if (auto erzeuge = reinterpret_cast<MidiGeraeteErzeuger>(bibliothek.resolve(MidiGeraeteEinstieg)))
            return erzeuge();
    }
    return nullptr;
}

} // namespace

struct MidiEingang::Laden
{
    std::mutex mutex;
    MidiEingang* empfaenger = nullptr; // null once the MidiEingang is gone
    std::unique_ptr<MidiGeraete> geraete;
};

MidiEingang::MidiEingang(QObject* parent, QString modul) : QObject(parent), m_modul(std::move(modul)) {}

MidiEingang::~MidiEingang()
{
    if (m_laden) {
        // Ending never waits for the loader: it finds no receiver and closes the devices itself.
        std::lock_guard sperre(m_laden->mutex);
        m_laden->empfaenger = nullptr;
    }
    delete m_wecker; // before the descriptor it watches is closed
}

void MidiEingang::starten()
{
    if (m_laden)
        return;
    // RtMidi already opens JACK clients without starting a server; this also holds for any other
    // JACK client in the process.
    if (!qEnvironmentVariableIsSet("JACK_NO_START_SERVER"))
        qputenv("JACK_NO_START_SERVER", "1");
    const QStringList orte = m_modul.isEmpty() ? Modulorte(Modulname) : QStringList{m_modul};
    m_laden = std::make_shared<Laden>();
    m_laden->empfaenger = this;
    std::thread([laden = m_laden, orte] {
        std::unique_ptr<MidiGeraete> geraete(lade(orte));
        std::lock_guard sperre(laden->mutex);
        if (!laden->empfaenger)
            return; // too late: the devices close here, off the user-interface thread
        laden->geraete = std::move(geraete);
        QMetaObject::invokeMethod(laden->empfaenger, &MidiEingang::uebernehmen, Qt::QueuedConnection);
    }).detach();
}

void MidiEingang::uebernehmen()
{
    {
        std::lock_guard sperre(m_laden->mutex);
        m_geraete = std::move(m_laden->geraete);
    }
    if (!m_geraete)
        return;
    m_geraete->waehle(m_wahl, m_name);
    m_wecker = new QSocketNotifier(m_geraete->weckDeskriptor(), QSocketNotifier::Read, this);
    connect(m_wecker, &QSocketNotifier::activated, this, [this] {
        m_geraete->geweckt();
        abholen();
    });
    abholen();
}

void MidiEingang::waehleAlle() { waehle(MidiGeraete::Wahl::Alle, {}); }
void MidiEingang::waehleKeine() { waehle(MidiGeraete::Wahl::Keine, {}); }
void MidiEingang::waehleQuelle(const QString& name) { waehle(MidiGeraete::Wahl::Eine, name); }

void MidiEingang::waehle(MidiGeraete::Wahl wahl, const QString& name)
{
    m_wahl = wahl;
    m_name = name;
    if (m_geraete)
        m_geraete->waehle(wahl, name);
}

void MidiEingang::abholen()
{
    MidiEreignis e;
    for (int i = 0; i < EreignisseProRunde; ++i) {
        if (!m_geraete->naechstes(e)) {
            // A full queue lost events, maybe a note-off: nothing held may stay down.
            if (m_geraete->verloren())
                while (!m_gehalten.empty())
                    loslassen(m_gehalten.begin()->first);
            return;
        }
        verarbeite(e);
    }
    // More are waiting: come back after whatever else the event loop has to do.
    QMetaObject::invokeMethod(this, &MidiEingang::abholen, Qt::QueuedConnection);
}

void MidiEingang::verarbeite(const MidiEreignis& e)
{
    using Art = MidiEreignis::Art;
    switch (e.art) {
    case Art::NoteAn:
        m_gehalten[e.quelle].noten.set(e.nummer);
        emit noteAn(e.nummer, e.wert);
        break;
    case Art::NoteAus:
        m_gehalten[e.quelle].noten.reset(e.nummer);
        emit noteAus(e.nummer);
        break;
    case Art::Pedal:
        m_gehalten[e.quelle].pedal = e.wert;
        emit pedal(e.wert);
        break;
    case Art::AllesAus:
        pedalLoesen(e.quelle);
        m_gehalten.erase(e.quelle);
        emit allesAus();
        break;
    case Art::QuelleWeg:
        loslassen(e.quelle);
        break;
    case Art::ListeNeu:
        m_quellen = m_geraete->quellen();
        m_systemDa = m_geraete->systemDa();
        emit quellenGeaendert();
        break;
    }
}

// A source that went away takes its pedal and its held notes with it, or they would stay down.
void MidiEingang::loslassen(std::uint32_t quelle)
{
    const auto it = m_gehalten.find(quelle);
    if (it == m_gehalten.end())
        return;
    pedalLoesen(quelle); // first, so the notes end at once instead of ringing on
    const std::bitset<128> noten = it->second.noten;
    m_gehalten.erase(it);
    for (int note = 0; note < static_cast<int>(noten.size()); ++note)
        if (noten.test(static_cast<std::size_t>(note)))
            emit noteAus(note);
}

// The window knows one pedal: it rises when this source's was down and no other source holds one.
void MidiEingang::pedalLoesen(std::uint32_t quelle)
{
    const auto it = m_gehalten.find(quelle);
    if (it == m_gehalten.end() || it->second.pedal == 0)
        return;
    it->second.pedal = 0;
    const bool andere = std::any_of(m_gehalten.begin(), m_gehalten.end(), [](const auto& g) { return g.second.pedal > 0; });
    if (!andere)
        emit pedal(0);
}
