#include "input/Mikrofon.h"

#include "sound/Modulorte.h"
#include "input/Mikroaufnahme.h"
#include "input/Notenerkennung.h"
#include "kern/Notenmodell.h"

#include <QFileInfo>
#include <QLibrary>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

#ifdef __linux__
#include <sys/eventfd.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* Modulname = "klavidor_mikro.so";
constexpr std::size_t Postplaetze = 256; // 12 s of levels: a window busy longer loses some news
#ifndef __linux__
constexpr int Nachsehen_ms = 10; // without an eventfd the window looks this often while listening
#endif

} // namespace

// What SDL's capture thread hears, handed to the window's thread without a lock or an allocation:
// a ring with one writer (the capture thread; a session's thread has ended before the next opens)
// and one reader, and a wake-up written only when the reader may be asleep.
class Mikropost
{
public:
    struct Nachricht
    {
        enum class Art : std::uint8_t { Pegel, Note, ZuLeise, KeinKlarerTon } art;
        int sitzung;
        double pegel;
        int midi;
        int cent;
        std::chrono::steady_clock::time_point einsatz;
    };

    Mikropost(QObject* ziel, std::function<void()> abholen);
    ~Mikropost();

    void lege(const Nachricht& n) noexcept // capture thread
    {
        const std::size_t geschrieben = m_geschrieben.load(std::memory_order_relaxed);
        if (geschrieben - m_gelesen.load(std::memory_order_acquire) == Postplaetze)
            return; // full: the window has not looked for seconds
        m_ring[geschrieben % Postplaetze] = n;
        m_geschrieben.store(geschrieben + 1); // seq_cst with m_geweckt: either the reader sees it or we wake
        if (!m_geweckt.exchange(true))
            wecke();
    }

    // Window thread. Each message is taken before it is acted on, so a nested event loop in a
    // receiver (a message box) takes the rest without repeating it.
    template <typename F> void leere(F handle)
    {
        quittiere();
        for (;;) {
            const std::size_t gelesen = m_gelesen.load(std::memory_order_relaxed);
            if (gelesen == m_geschrieben.load())
                return;
            const Nachricht n = m_ring[gelesen % Postplaetze];
            m_gelesen.store(gelesen + 1, std::memory_order_release);
            handle(n);
        }
    }

private:
    void wecke() noexcept;
    void quittiere();

    std::array<Nachricht, Postplaetze> m_ring{};
    std::atomic<std::size_t> m_geschrieben{0}, m_gelesen{0};
    std::atomic<bool> m_geweckt{false};
    int m_fd = -1;
    QObject* m_melder = nullptr; // wakes the window's thread: lives there, as a child of the target
};

#ifdef __linux__
Mikropost::Mikropost(QObject* ziel, std::function<void()> abholen) : m_fd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    auto* melder = new QSocketNotifier(m_fd, QSocketNotifier::Read, ziel);
    QObject::connect(melder, &QSocketNotifier::activated, ziel, std::move(abholen));
    m_melder = melder;
}

Mikropost::~Mikropost()
{
    delete m_melder; // no longer watched once closed
    close(m_fd);
}

void Mikropost::wecke() noexcept
{
    const std::uint64_t eins = 1;
    [[maybe_unused]] auto n = write(m_fd, &eins, sizeof eins);
}

void Mikropost::quittiere()
{
    std::uint64_t zaehler;
    [[maybe_unused]] auto n = read(m_fd, &zaehler, sizeof zaehler);
    m_geweckt.store(false); // before the ring is read: news laid after this wakes us again
}
#else
Mikropost::Mikropost(QObject* ziel, std::function<void()> abholen)
{
    auto* uhr = new QTimer(ziel);
    QObject::connect(uhr, &QTimer::timeout, ziel, std::move(abholen));
    uhr->start(Nachsehen_ms);
    m_melder = uhr;
}

Mikropost::~Mikropost() { delete m_melder; }
void Mikropost::wecke() noexcept {}
void Mikropost::quittiere() { m_geweckt.store(false); }
#endif

// Carries the module's news of one session to the Mikrofon's thread: what the capture thread
// hears through the post, the rare news of the other threads as queued calls.
class Mikrobote : public Mikrohoerer
{
public:
    Mikrobote(Mikrofon* mikrofon, Mikropost* post, int sitzung) : m_mikrofon(mikrofon), m_post(post), m_sitzung(sitzung)
    {
    }
    using Art = Mikropost::Nachricht::Art;
    void pegel(double wert) override { m_post->lege({Art::Pegel, m_sitzung, wert, 0, 0, {}}); }
    void note(int midi, int cent, std::chrono::steady_clock::time_point einsatz) override
    {
        m_post->lege({Art::Note, m_sitzung, 0, midi, cent, einsatz});
    }
    void verworfen(bool zuLeise, std::chrono::steady_clock::time_point einsatz) override
    {
        m_post->lege({zuLeise ? Art::ZuLeise : Art::KeinKlarerTon, m_sitzung, 0, 0, 0, einsatz});
    }
    void getrennt() override { melde(Mikrofon::Ereignis::Getrennt); }
    void melde(Mikrofon::Ereignis e)
    {
        Mikrofon* m = m_mikrofon;
        const int s = m_sitzung;
        QMetaObject::invokeMethod(m, [m, s, e] { m->melde(s, e); }, Qt::QueuedConnection);
    }

private:
    Mikrofon* m_mikrofon;
    Mikropost* m_post;
    int m_sitzung;
};

// Lives on the microphone's thread: loads the module once, opens and closes the device.
class Mikroarbeiter : public QObject
{
public:
    Mikroarbeiter(Mikrofon* mikrofon, Mikropost* post, QString modul)
        : m_mikrofon(mikrofon), m_post(post), m_modul(std::move(modul))
    {
    }

    void oeffne(int sitzung, double stille, int erwartet)
    {
        schliesse();
        if (sitzung != gewuenscht)
            return; // switched off again, or on anew, before this thread came to it
        m_bote = std::make_unique<Mikrobote>(m_mikrofon, m_post, sitzung);
        m_aufnahme = lade() ? m_oeffnen(m_bote.get()) : nullptr;
        setzeStille(stille);
        erwarte(erwartet);
        m_bote->melde(m_aufnahme ? Mikrofon::Ereignis::HoertZu : Mikrofon::Ereignis::KeinMikrofon);
    }

    void setzeStille(double dB)
    {
        if (m_aufnahme)
            m_aufnahme->setzeStille(dB);
    }

    void erwarte(int midi)
    {
        if (m_aufnahme)
            m_aufnahme->erwarte(midi);
    }

    void schliesse()
    {
        if (m_aufnahme)
            m_schliessen(m_aufnahme);
        m_aufnahme = nullptr;
        m_bote.reset();
    }

    std::atomic<int> gewuenscht{0}; // the session the window wants now

private:
    bool lade()
    {
        if (m_oeffnen)
            return true;
        const QStringList orte = m_modul.isEmpty() ? Modulorte(Modulname) : QStringList{m_modul};
        for (const QString& ort : orte) {
            if (!QFileInfo::exists(ort))
                continue;
            // Kept loaded for the rest of the run: SDL and the sound server keep threads of their own.
            QLibrary bibliothek(ort);
            m_oeffnen = reinterpret_cast<MikroOeffnen>(bibliothek.resolve("klavidor_mikro_oeffnen"));
            m_schliessen = reinterpret_cast<MikroSchliessen>(bibliothek.resolve("klavidor_mikro_schliessen"));
            if (m_oeffnen && m_schliessen)
                return true;
            m_oeffnen = nullptr;
        }
        return false;
    }

    Mikrofon* m_mikrofon;
    Mikropost* m_post;
    QString m_modul;
    MikroOeffnen m_oeffnen = nullptr;
    MikroSchliessen m_schliessen = nullptr;
    std::unique_ptr<Mikrobote> m_bote;
    Mikroaufnahme* m_aufnahme = nullptr;
};

Mikrofon::Mikrofon(QObject* parent, QString modul)
    : QObject(parent), m_modul(std::move(modul)), m_stille(Notenerkennung::Stille_Standard_dB),
      m_abfrage(new QTimer(this))
{
    m_abfrage->setInterval(Klangabfrage);
    connect(m_abfrage, &QTimer::timeout, this, &Mikrofon::frageKlang);
}

Mikrofon::~Mikrofon()
{
    if (!m_faden)
        return;
    // The device closes before the thread ends, so no news can come for this object afterwards.
    Mikroarbeiter* arbeiter = m_arbeiter;
    QMetaObject::invokeMethod(arbeiter, [arbeiter] {
        arbeiter->schliesse();
        delete arbeiter;
        QThread::currentThread()->quit();
    }, Qt::QueuedConnection);
    m_faden->wait();
}

void Mikrofon::einschalten()
{
    if (m_an)
        return;
    m_an = true;
    if (!m_pruefung)
        oeffne();
    else if (m_hoert)
        emit hoertZu(); // the check keeps its session
}

void Mikrofon::ausschalten()
{
    if (m_an && !m_pruefung)
        schliesse();
    m_an = false;
}

void Mikrofon::pruefungAn()
{
    if (m_pruefung)
        return;
    m_pruefung = true;
    if (!m_an)
        oeffne();
}

void Mikrofon::pruefungAus()
{
    if (!m_pruefung)
        return;
    m_pruefung = false;
    if (!m_an)
        schliesse();
}

void Mikrofon::setzeStille(double dB)
{
    m_stille = dB;
    if (!m_faden)
        return;
    Mikroarbeiter* arbeiter = m_arbeiter;
    QMetaObject::invokeMethod(arbeiter, [arbeiter, dB] { arbeiter->setzeStille(dB); }, Qt::QueuedConnection);
}

void Mikrofon::erwarte(int midi)
{
    m_erwartet = midi;
    if (!m_faden)
        return;
    Mikroarbeiter* arbeiter = m_arbeiter;
    QMetaObject::invokeMethod(arbeiter, [arbeiter, midi] { arbeiter->erwarte(midi); }, Qt::QueuedConnection);
}

void Mikrofon::oeffne()
{
    if (!m_faden) {
        m_faden = new QThread(this);
        m_faden->setObjectName("Mikrofon");
        m_post = std::make_unique<Mikropost>(this, [this] { holePost(); });
        m_arbeiter = new Mikroarbeiter(this, m_post.get(), m_modul);
        m_arbeiter->moveToThread(m_faden);
        m_faden->start();
    }
    m_hoert = false;
    m_abfrage->start();
    frageKlang();
    const int sitzung = ++m_sitzung;
    m_arbeiter->gewuenscht = sitzung;
    Mikroarbeiter* arbeiter = m_arbeiter;
    const double stille = m_stille;
    const int erwartet = m_erwartet;
    QMetaObject::invokeMethod(arbeiter, [=] { arbeiter->oeffne(sitzung, stille, erwartet); }, Qt::QueuedConnection);
}

void Mikrofon::schliesse()
{
    m_an = m_pruefung = m_hoert = false;
    m_abfrage->stop();
    m_arbeiter->gewuenscht = ++m_sitzung;
    Mikroarbeiter* arbeiter = m_arbeiter;
    QMetaObject::invokeMethod(arbeiter, [arbeiter] { arbeiter->schliesse(); }, Qt::QueuedConnection);
}

void Mikrofon::holePost()
{
    using Art = Mikropost::Nachricht::Art;
    m_post->leere([this](const Mikropost::Nachricht& n) {
        if (n.art == Art::Pegel)
            meldePegel(n.sitzung, n.pegel);
        else if (n.art == Art::Note)
            meldeBefund(n.sitzung, Befund::Note, n.midi, n.cent, n.einsatz);
        else
            meldeBefund(n.sitzung, n.art == Art::ZuLeise ? Befund::ZuLeise : Befund::KeinKlarerTon, 0, 0, n.einsatz);
    });
}

void Mikrofon::taubBis(std::chrono::steady_clock::time_point bis) { m_taubBis = std::max(m_taubBis, bis); }

void Mikrofon::frageKlang()
{
    if (m_klingt && m_klingt())
        taubBis(std::chrono::steady_clock::now());
}

void Mikrofon::melde(int sitzung, Ereignis e)
{
    if (sitzung != m_sitzung || !(m_an || m_pruefung))
        return;
    switch (e) {
    case Ereignis::HoertZu:
        m_hoert = true;
        emit hoertZu();
        break;
    case Ereignis::KeinMikrofon:
        schliesse();
        emit keinMikrofon();
        break;
    case Ereignis::Getrennt:
        schliesse();
        emit getrennt();
        break;
    }
}

void Mikrofon::meldePegel(int sitzung, double wert)
{
    if (sitzung == m_sitzung && (m_an || m_pruefung))
        emit pegel(wert);
}

void Mikrofon::meldeBefund(int sitzung, Befund art, int note, int cent, std::chrono::steady_clock::time_point einsatz)
{
    if (sitzung != m_sitzung || !(m_an || m_pruefung))
        return;
    frageKlang(); // in case the window was too busy to ask since the note began
    if (einsatz < m_taubBis + Nachhall)
        art = Befund::Lautsprecher; // whatever started then, the speaker's own sound was in it
    else if (art == Befund::Note && Noten::tasteFuerMidinote(note) < 0)
        art = Befund::Ausserhalb;
    emit befund(art, note, cent);
    if (m_pruefung)
        return;
    if (art == Befund::Note)
        emit noteGehoert(note);
    else if (art == Befund::Ausserhalb)
        emit noteAusserhalb();
}
