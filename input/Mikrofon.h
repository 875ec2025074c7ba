// The microphone as the window sees it: switched on and off, it tells what it hears as signals on
// the user-interface thread. Capture and note detection live in the module klavidor_mikro.so,
// loaded on a thread of its own the first time the microphone is switched on, so the program
// starts and runs without SDL's capture or aubio while the microphone is off.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>

class QThread;
class Mikroarbeiter;
class Mikrobote;
class Mikropost;

class Mikrofon : public QObject
{
    Q_OBJECT
public:
    // `modul`: the module's path; empty = look beside the program and in its lib folder.
    explicit Mikrofon(QObject* parent = nullptr, QString modul = {});
    ~Mikrofon() override;

    // Both return at once; the device opens and closes on the microphone's own thread.
    void einschalten();
    void ausschalten();
    bool an() const { return m_an; }

    // The program's own sound is audible until `bis` (plus a short tail): no note starting before
    // then is taken.
    void taubBis(std::chrono::steady_clock::time_point bis);

    static constexpr std::chrono::milliseconds Nachhall{200}; // the room still rings that long

signals:
    void hoertZu();
    void keinMikrofon();
    void getrennt();
    void pegel(double wert);
    void noteGehoert(int note);
    void noteAusserhalb();

private:
    friend class Mikroarbeiter;
    friend class Mikrobote;
    enum class Ereignis { HoertZu, KeinMikrofon, Getrennt };
    // Called on this object's thread with the session the news belongs to.
    void melde(int sitzung, Ereignis e);
    void meldePegel(int sitzung, double wert);
    void meldeNote(int sitzung, int note, std::chrono::steady_clock::time_point einsatz);
    void schliesse();
    void holePost();

    QString m_modul;
    std::unique_ptr<Mikropost> m_post; // what SDL's capture thread heard, taken on this object's thread
    QThread* m_faden = nullptr;
    Mikroarbeiter* m_arbeiter = nullptr;
    bool m_an = false;
    int m_sitzung = 0; // news of an earlier session is old news
    std::chrono::steady_clock::time_point m_taubBis{};
};
