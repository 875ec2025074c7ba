#include "input/MidiEingang.h"

#include "kern/Notenmodell.h"
#include "sound/Modulorte.h"
#include "sound/Tonausgabe.h"

#include <QFileInfo>
#include <QLibrary>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr const char* Modulname = "klavidor_midi.so";
// Events taken per turn of the event loop, so a flood never starves painting and input.
constexpr int EreignisseProRunde = 256;
// Events waiting for the window; more are lost, and the window lets every key up.
constexpr std::size_t Fenstergroesse = 4096;
constexpr std::size_t Quellenplaetze = 16; // sources kept without allocating

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

MidiEingang::MidiEingang(QObject* parent, QString modul)
    : QObject(parent), m_modul(std::move(modul)), m_fuerFenster(Fenstergroesse)
{
    m_gehalten.reserve(Quellenplaetze);
}

MidiEingang::~MidiEingang()
{
    if (m_laden) {
        // Ending never waits for the loader: it finds no receiver and closes the devices itself.
        std::lock_guard sperre(m_laden->mutex);
        m_laden->empfaenger = nullptr;
    }
    if (m_faden.joinable()) {
        const char ende = 0;
        [[maybe_unused]] auto n = write(m_halt[1], &ende, 1);
        m_faden.join();
    }
    for (int fd : m_halt)
        if (fd >= 0)
            close(fd);
}

void MidiEingang::spieleUeber(Tonausgabe& ton, const Eingang::Tastenstand& stand)
{
    m_ton = &ton;
    m_stand = &stand;
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
    if (!m_geraete || pipe2(m_halt, O_CLOEXEC) != 0)
        return;
    m_geraete->waehle(m_wahl, m_name);
    m_faden = std::thread([this] { klangfaden(); });
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

// ---- The sound thread

void MidiEingang::klangfaden()
{
    pollfd warte[2] = {{m_geraete->weckDeskriptor(), POLLIN, 0}, {m_halt[0], POLLIN, 0}};
    nimmAlle(); // what came before the thread ran
    for (;;) {
        if (poll(warte, 2, -1) < 0 && errno != EINTR)
            return;
        if (warte[1].revents)
            return;
        if (warte[0].revents) {
            m_geraete->geweckt();
            nimmAlle();
        }
    }
}

void MidiEingang::nimmAlle()
{
    MidiEreignis e;
    while (m_geraete->naechstes(e))
        verarbeite(e);
    // A full queue lost events, maybe a note-off: nothing held may stay down.
    if (m_geraete->verloren())
        while (!m_gehalten.empty())
            loslassen(m_gehalten.begin()->first);
}

void MidiEingang::verarbeite(const MidiEreignis& e)
{
    using Art = MidiEreignis::Art;
    switch (e.art) {
    case Art::NoteAn:
        m_gehalten[e.quelle].noten.set(e.nummer);
        klingAn(e.nummer, e.wert);
        break;
    case Art::NoteAus:
        m_gehalten[e.quelle].noten.reset(e.nummer);
        klingAus(e.nummer);
        break;
    case Art::Pedal:
        m_gehalten[e.quelle].pedal = e.wert;
        weiter(e, klingPedal(e.wert));
        return;
    case Art::AllesAus:
        pedalLoesen(e.quelle);
        m_gehalten.erase(e.quelle);
        loese(m_stimmen.allesAus());
        break;
    case Art::QuelleWeg:
        loslassen(e.quelle);
        return;
    case Art::ListeNeu:
        break;
    }
    weiter(e);
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
        if (noten.test(static_cast<std::size_t>(note))) {
            klingAus(note);
            weiter({MidiEreignis::Art::NoteAus, std::uint8_t(note), 0, quelle});
        }
}

// One pedal sounds for all sources: it rises when this source's was down and no other source
// holds one.
void MidiEingang::pedalLoesen(std::uint32_t quelle)
{
    const auto it = m_gehalten.find(quelle);
    if (it == m_gehalten.end() || it->second.pedal == 0)
        return;
    it->second.pedal = 0;
    const bool andere = std::any_of(m_gehalten.begin(), m_gehalten.end(), [](const auto& g) { return g.second.pedal > 0; });
    if (!andere) {
        klingPedal(0);
        weiter({MidiEreignis::Art::Pedal, 0, 0, quelle});
    }
}

void MidiEingang::klingAn(int note, int anschlag)
{
    const int k = Noten::tasteFuerMidinote(note);
    if (k < 0 || !m_ton || !Eingang::darfDruecken(m_stand->lage(), k))
        return;
    loese(m_stimmen.noteAn(note));
    // A soft touch sounds softer, as on a piano.
    if (Eingang::darfKlingen(m_stand->lage(), k))
        m_stimmen.halte(note, m_ton->halteGemerkt(k, std::pow(anschlag / 127.0, 1.5)));
}

void MidiEingang::klingAus(int note)
{
    if (m_ton)
        loese(m_stimmen.noteAus(note, m_stand->lage().lernen));
}

bool MidiEingang::klingPedal(int wert)
{
    const Eingang::Stimmenhalter::Pedalschritt schritt = m_stimmen.pedal(wert);
    if (m_ton)
        loese(schritt.freigabe);
    return schritt.getreten;
}

void MidiEingang::loese(const Eingang::Freigabe& freigabe)
{
    for (int stimme : freigabe.stimmen())
        m_ton->loeseGemerkt(stimme);
}

void MidiEingang::weiter(const MidiEreignis& e, bool getreten)
{
    if (!m_fuerFenster.rein({e, getreten}))
        m_verloren.store(true);
    if (!m_gerufen.exchange(true))
        QMetaObject::invokeMethod(this, &MidiEingang::abholen, Qt::QueuedConnection);
}

// ---- The window's side

void MidiEingang::abholen()
{
    m_gerufen.store(false);
    Meldung m;
    for (int i = 0; i < EreignisseProRunde; ++i) {
        if (!m_fuerFenster.raus(m)) {
            if (m_verloren.exchange(false))
                emit allesAus(); // what was lost may have let a key up
            return;
        }
        const MidiEreignis& e = m.ereignis;
        switch (e.art) {
        case MidiEreignis::Art::NoteAn: emit noteAn(e.nummer, e.wert); break;
        case MidiEreignis::Art::NoteAus: emit noteAus(e.nummer); break;
        case MidiEreignis::Art::Pedal:
            emit pedal(e.wert);
            if (m.getreten)
                emit pedalGetreten();
            break;
        case MidiEreignis::Art::AllesAus: emit allesAus(); break;
        case MidiEreignis::Art::ListeNeu:
            m_quellen = m_geraete->quellen();
            m_systemDa = m_geraete->systemDa();
            emit quellenGeaendert();
            break;
        case MidiEreignis::Art::QuelleWeg: break;
        }
    }
    // More are waiting: come back after whatever else the event loop has to do.
    m_gerufen.store(true);
    QMetaObject::invokeMethod(this, &MidiEingang::abholen, Qt::QueuedConnection);
}
