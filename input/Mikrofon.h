// The microphone as the window sees it: switched on and off, it tells what it hears as signals on
// the user-interface thread. Capture and note detection live in the module klavidor_mikro.so,
// loaded on a thread of its own the first time the microphone is switched on, so the program
// starts and runs without SDL's capture or aubio while the microphone is off.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>

class QThread;
class QTimer;
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

    // What became of a struck note: a key (in cents from in tune), or why none was taken.
    enum class Befund { Note, ZuLeise, KeinKlarerTon, Ausserhalb, Lautsprecher };
    Q_ENUM(Befund)

    // Both return at once; the device opens and closes on the microphone's own thread.
    void einschalten();
    void ausschalten();
    bool an() const { return m_an; }
    // The check listens whatever einschalten and ausschalten said; meanwhile no note is passed on
    // as a key, only as a finding.
    void pruefungAn();
    void pruefungAus();
    bool hoert() const { return m_hoert; } // open and listening in this session
    // The room's quiet in dBFS, which a note must rise above; below the default the default stays.
    void setzeStille(double dB);
    // The key asked for (MIDI number; -1: none, as in viewing mode): heard sooner when played.
    void erwarte(int midi);

    // The program's own sound is audible until `bis` (plus a short tail): no note starting before
    // then is taken.
    void taubBis(std::chrono::steady_clock::time_point bis);
    // Whether the program's own sound is audible now (the player's klingt): asked on this thread
    // while the microphone listens, so it is deaf while the program sounds and Nachhall after.
    void hoereEigenenKlang(std::function<bool()> klingt) { m_klingt = std::move(klingt); }

    static constexpr std::chrono::milliseconds Nachhall{200}; // the room still rings that long
    // How often the player is asked; a note is reported 30 ms or more after its onset, so the
    // answer is always in before the note is judged.
    static constexpr std::chrono::milliseconds Klangabfrage{20};

signals:
    void hoertZu();
    void keinMikrofon();
    void getrennt();
    void pegel(double wert);
    void noteGehoert(int note);
    void noteAusserhalb();
    void befund(Mikrofon::Befund art, int note, int cent); // also while the check listens

private:
    friend class Mikroarbeiter;
    friend class Mikrobote;
    enum class Ereignis { HoertZu, KeinMikrofon, Getrennt };
    // Called on this object's thread with the session the news belongs to.
    void melde(int sitzung, Ereignis e);
    void meldePegel(int sitzung, double wert);
    void meldeBefund(int sitzung, Befund art, int note, int cent, std::chrono::steady_clock::time_point einsatz);
    void oeffne();
    void schliesse();
    void holePost();
    void frageKlang();

    QString m_modul;
    std::unique_ptr<Mikropost> m_post; // what SDL's capture thread heard, taken on this object's thread
    QThread* m_faden = nullptr;
    Mikroarbeiter* m_arbeiter = nullptr;
    bool m_an = false;       // the window's entry
    bool m_pruefung = false; // the check window
    bool m_hoert = false;
    double m_stille;
    int m_erwartet = -1;
    int m_sitzung = 0; // news of an earlier session is old news
    std::chrono::steady_clock::time_point m_taubBis{};
    std::function<bool()> m_klingt;
    QTimer* m_abfrage = nullptr;
};
