// The MIDI keyboards, as the window sees them: sources to choose from and notes as signals on the
// user-interface thread. The devices themselves live in the module klavidor_midi.so, loaded in the
// background, so the program starts without ALSA, JACK or RtMidi.
//
// A thread of its own takes the events from the module and sounds them at once: it starts and
// releases the keys' voices at the player, with the pedal, where the snapshot the window
// publishes lets a key sound. Only then are the events posted to the window, which draws them and
// takes them through its door; a busy window never delays a sound.
#pragma once

#include "input/MidiGeraete.h"
#include "input/MidiSchlange.h"
#include "kern/Stimmenhalter.h"
#include "kern/Tastenlage.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <bitset>
#include <memory>
#include <thread>
#include <unordered_map>

class Tonausgabe;

class MidiEingang : public QObject
{
    Q_OBJECT
public:
    // `modul`: the module's path; empty = look beside the program and in its lib folder.
    explicit MidiEingang(QObject* parent = nullptr, QString modul = {});
    ~MidiEingang() override;

    // Where the notes sound, and what may sound: set before starten(). Without it nothing sounds.
    // `ton` plays key k's sound as the one registered as number k (Tonausgabe::merkeKlaenge).
    void spieleUeber(Tonausgabe& ton, const Eingang::Tastenstand& stand);

    // Loads the module off this thread; from then on sources are looked for about every second.
    void starten();

    // The choice of sources: all present and future ones, none, or one by its name.
    void waehleAlle();
    void waehleKeine();
    void waehleQuelle(const QString& name);

    // Names of the sources present now (no ALSA numbers, bridged duplicates, "Midi Through").
    QStringList quellen() const { return m_quellen; }
    // Whether an ALSA sequencer or a JACK server answers.
    bool systemDa() const { return m_systemDa; }

signals:
    void quellenGeaendert();
    void noteAn(int note, int anschlag);
    void noteAus(int note);
    void pedal(int wert);
    // The pedal went down just now (learning mode asks for the next note).
    void pedalGetreten();
    void allesAus();

private:
    void uebernehmen();
    void waehle(MidiGeraete::Wahl wahl, const QString& name);
    // The sound thread's side.
    void klangfaden();
    void nimmAlle();
    void verarbeite(const MidiEreignis& e);
    void loslassen(std::uint32_t quelle);
    void pedalLoesen(std::uint32_t quelle);
    void klingAn(int note, int anschlag);
    void klingAus(int note);
    bool klingPedal(int wert);
    void loese(const Eingang::Freigabe& freigabe);
    void weiter(const MidiEreignis& e, bool getreten = false);
    // The window's side.
    void abholen();

    // What a source holds down: its notes and its pedal's last value.
    struct Gehalten
    {
        std::bitset<128> noten;
        int pedal = 0;
    };

    struct Laden; // shared with the loading thread, which may outlive this object
    QString m_modul;
    std::shared_ptr<Laden> m_laden;
    std::unique_ptr<MidiGeraete> m_geraete;
    MidiGeraete::Wahl m_wahl = MidiGeraete::Wahl::Alle; // kept until the module is there
    QString m_name;
    QStringList m_quellen;
    bool m_systemDa = false;

    // The sound thread and what only it touches.
    Tonausgabe* m_ton = nullptr;
    const Eingang::Tastenstand* m_stand = nullptr;
    std::thread m_faden;
    int m_halt[2] = {-1, -1}; // a pipe: written once to end the thread
    std::unordered_map<std::uint32_t, Gehalten> m_gehalten; // per source
    Eingang::Stimmenhalter m_stimmen;                       // held voices and the sustain pedal

    // From the sound thread to the window.
    struct Meldung
    {
        MidiEreignis ereignis;
        bool getreten = false; // a pedal event that put the pedal down
    };
    MidiSchlange<Meldung> m_fuerFenster;
    std::atomic<bool> m_gerufen{false}; // the window has been asked to take them
    std::atomic<bool> m_verloren{false};
};
