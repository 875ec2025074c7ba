#include "sound/LadendeTonausgabe.h"
#include "sound/Modulorte.h"

#include <QFileInfo>
#include <QLibrary>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using Uhr = std::chrono::steady_clock;
constexpr const char* Modulname = "klavidor_ton.so";
using Modulerzeuger = Tonausgabe* (*)();

Tonausgabe* ladeModul(const QString& gegeben)
{
    const QStringList orte = gegeben.isEmpty() ? Modulorte(Modulname) : QStringList{gegeben};
    for (const QString& ort : orte) {
        if (!QFileInfo::exists(ort))
            continue;
        // Kept loaded for the rest of the run: the audio libraries run threads of their own.
        QLibrary bibliothek(ort);
        if (auto erzeuge = reinterpret_cast<Modulerzeuger>(bibliothek.resolve("klavidor_tonausgabe_erzeugen")))
            return erzeuge();
    }
    return nullptr;
}

} // namespace

// Shared with the loading thread, which may outlive the output.
struct LadendeTonausgabe::Zustand
{
    mutable std::mutex sperre;
    std::condition_variable fertigMeldung;
    bool fertig = false, verlassen = false;
    std::unique_ptr<Tonausgabe> ton;
    std::atomic<Tonausgabe*> fuerGeraete{nullptr}; // the player, once loaded, for the device thread
    bool klangAn = true;
    QStringList gemerkt;
    struct Klick
    {
        QString pfad;
        Uhr::time_point zeit;
    };
    std::optional<Klick> nachzuholen;
    QStringList vorzuladen;
};

void LadendeTonausgabe::laden(const std::shared_ptr<Zustand>& z, const Erzeuger& erzeuge)
{
    std::unique_ptr<Tonausgabe> ton(erzeuge());
    QStringList gemerkt;
    if (ton) {
        // Before anyone else can reach the player, so no first click decodes its file.
        QStringList pfade;
        {
            std::lock_guard sperre(z->sperre);
            pfade = z->vorzuladen;
            gemerkt = z->gemerkt;
        }
        ton->vorladen(pfade);
        ton->merkeKlaenge(gemerkt);
    }
    std::lock_guard sperre(z->sperre);
    if (z->verlassen)
        return; // nobody wants it any more; it goes with this thread
    z->ton = std::move(ton);
    if (z->ton) {
        z->ton->setzeKlangAn(z->klangAn);
        if (z->gemerkt != gemerkt)
            z->ton->merkeKlaenge(z->gemerkt); // changed while it loaded
        z->fuerGeraete.store(z->ton.get(), std::memory_order_release);
    }
    if (z->ton && z->nachzuholen && Uhr::now() - z->nachzuholen->zeit <= Nachholfrist)
        z->ton->spiele(z->nachzuholen->pfad);
    z->nachzuholen.reset();
    z->fertig = true;
    z->fertigMeldung.notify_all();
}

LadendeTonausgabe::LadendeTonausgabe(QString modul)
    : LadendeTonausgabe(Erzeuger([modul = std::move(modul)] { return ladeModul(modul); }))
{
}

LadendeTonausgabe::LadendeTonausgabe(Erzeuger erzeuge)
    : m_erzeuge(std::move(erzeuge)), m_zustand(std::make_shared<Zustand>())
{
}

LadendeTonausgabe::~LadendeTonausgabe()
{
    std::unique_ptr<Tonausgabe> ton;
    {
        std::lock_guard sperre(m_zustand->sperre);
        m_zustand->verlassen = true;
        m_zustand->fuerGeraete.store(nullptr);
        ton = std::move(m_zustand->ton);
    }
    // A loaded player is closed here, outside the lock.
}

void LadendeTonausgabe::vorbereiten()
{
    if (m_gestartet)
        return;
    m_gestartet = true;
    std::thread(laden, m_zustand, m_erzeuge).detach();
}

void LadendeTonausgabe::vorladen(const QStringList& pfade)
{
    std::lock_guard sperre(m_zustand->sperre);
    m_zustand->vorzuladen = pfade;
}

bool LadendeTonausgabe::ladenUndAbwarten()
{
    vorbereiten();
    std::unique_lock sperre(m_zustand->sperre);
    m_zustand->fertigMeldung.wait(sperre, [&] { return m_zustand->fertig; });
    return m_zustand->ton != nullptr;
}

void LadendeTonausgabe::spiele(const QString& pfad)
{
    vorbereiten();
    std::lock_guard sperre(m_zustand->sperre);
    if (m_zustand->fertig) {
        if (m_zustand->ton)
            m_zustand->ton->spiele(pfad);
    } else {
        m_zustand->nachzuholen = Zustand::Klick{pfad, Uhr::now()};
    }
}

int LadendeTonausgabe::halteStimme(const QString& pfad, double lautstaerke)
{
    vorbereiten();
    std::lock_guard sperre(m_zustand->sperre);
    return m_zustand->ton ? m_zustand->ton->halteStimme(pfad, lautstaerke) : 0;
}

void LadendeTonausgabe::loeseStimme(int stimme)
{
    std::lock_guard sperre(m_zustand->sperre);
    if (m_zustand->ton)
        m_zustand->ton->loeseStimme(stimme);
}

bool LadendeTonausgabe::klingt() const
{
    std::lock_guard sperre(m_zustand->sperre);
    return m_zustand->ton && m_zustand->ton->klingt();
}

void LadendeTonausgabe::setzeKlangAn(bool an)
{
    std::lock_guard sperre(m_zustand->sperre);
    m_zustand->klangAn = an;
    if (m_zustand->ton)
        m_zustand->ton->setzeKlangAn(an);
}

void LadendeTonausgabe::merkeKlaenge(const QStringList& pfade)
{
    std::lock_guard sperre(m_zustand->sperre);
    m_zustand->gemerkt = pfade;
    if (m_zustand->ton)
        m_zustand->ton->merkeKlaenge(pfade);
}

int LadendeTonausgabe::halteGemerkt(int nummer, double lautstaerke)
{
    Tonausgabe* ton = m_zustand->fuerGeraete.load(std::memory_order_acquire);
    return ton ? ton->halteGemerkt(nummer, lautstaerke) : 0;
}

void LadendeTonausgabe::loeseGemerkt(int stimme)
{
    if (Tonausgabe* ton = m_zustand->fuerGeraete.load(std::memory_order_acquire))
        ton->loeseGemerkt(stimme);
}
