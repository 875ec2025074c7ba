#include "input/Mikrofon.h"

#include "app/Verzeichnisse.h"
#include "input/Mikroaufnahme.h"
#include "keyboard/Notenmodell.h"

#include <QFileInfo>
#include <QLibrary>
#include <QThread>
#include <atomic>
#include <memory>

namespace {

constexpr const char* Modulname = "klavidor_mikro.so";

} // namespace

// Carries the module's news of one session to the Mikrofon's thread.
class Mikrobote : public Mikrohoerer
{
public:
    Mikrobote(Mikrofon* mikrofon, int sitzung) : m_mikrofon(mikrofon), m_sitzung(sitzung) {}
    void pegel(double wert) override { schicke([=](Mikrofon* m, int s) { m->meldePegel(s, wert); }); }
    void note(int midi, std::chrono::steady_clock::time_point einsatz) override
    {
        schicke([=](Mikrofon* m, int s) { m->meldeNote(s, midi, einsatz); });
    }
    void getrennt() override { schicke([](Mikrofon* m, int s) { m->melde(s, Mikrofon::Ereignis::Getrennt); }); }
    void melde(Mikrofon::Ereignis e) { schicke([e](Mikrofon* m, int s) { m->melde(s, e); }); }

private:
    template <typename F> void schicke(F f)
    {
        Mikrofon* m = m_mikrofon;
        const int s = m_sitzung;
        QMetaObject::invokeMethod(m, [f, m, s] { f(m, s); }, Qt::QueuedConnection);
    }

    Mikrofon* m_mikrofon;
    int m_sitzung;
};

// Lives on the microphone's thread: loads the module once, opens and closes the device.
class Mikroarbeiter : public QObject
{
public:
    Mikroarbeiter(Mikrofon* mikrofon, QString modul) : m_mikrofon(mikrofon), m_modul(std::move(modul)) {}

    void oeffne(int sitzung)
    {
        schliesse();
        if (sitzung != gewuenscht)
            return; // switched off again, or on anew, before this thread came to it
        m_bote = std::make_unique<Mikrobote>(m_mikrofon, sitzung);
        m_aufnahme = lade() ? m_oeffnen(m_bote.get()) : nullptr;
        m_bote->melde(m_aufnahme ? Mikrofon::Ereignis::HoertZu : Mikrofon::Ereignis::KeinMikrofon);
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
    QString m_modul;
    MikroOeffnen m_oeffnen = nullptr;
    MikroSchliessen m_schliessen = nullptr;
    std::unique_ptr<Mikrobote> m_bote;
    Mikroaufnahme* m_aufnahme = nullptr;
};

Mikrofon::Mikrofon(QObject* parent, QString modul) : QObject(parent), m_modul(std::move(modul)) {}

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
    if (!m_faden) {
        m_faden = new QThread(this);
        m_faden->setObjectName("Mikrofon");
        m_arbeiter = new Mikroarbeiter(this, m_modul);
        m_arbeiter->moveToThread(m_faden);
        m_faden->start();
    }
    m_an = true;
    const int sitzung = ++m_sitzung;
    m_arbeiter->gewuenscht = sitzung;
    Mikroarbeiter* arbeiter = m_arbeiter;
    QMetaObject::invokeMethod(arbeiter, [arbeiter, sitzung] { arbeiter->oeffne(sitzung); }, Qt::QueuedConnection);
}

void Mikrofon::ausschalten()
{
    if (m_an)
        schliesse();
}

void Mikrofon::schliesse()
{
    m_an = false;
    m_arbeiter->gewuenscht = ++m_sitzung;
    Mikroarbeiter* arbeiter = m_arbeiter;
    QMetaObject::invokeMethod(arbeiter, [arbeiter] { arbeiter->schliesse(); }, Qt::QueuedConnection);
}

void Mikrofon::taubBis(std::chrono::steady_clock::time_point bis) { m_taubBis = std::max(m_taubBis, bis); }

void Mikrofon::melde(int sitzung, Ereignis e)
{
    if (sitzung != m_sitzung || !m_an)
        return;
    switch (e) {
    case Ereignis::HoertZu:
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
    if (sitzung == m_sitzung && m_an)
        emit pegel(wert);
}

void Mikrofon::meldeNote(int sitzung, int note, std::chrono::steady_clock::time_point einsatz)
{
    if (sitzung != m_sitzung || !m_an || einsatz < m_taubBis + Nachhall)
        return;
    if (Noten::tasteFuerMidinote(note) >= 0)
        emit noteGehoert(note);
    else
        emit noteAusserhalb();
}
