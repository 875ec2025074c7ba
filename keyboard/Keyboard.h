// The main window. It composes the panels (the keyboard, the staff, the command buttons, the
// key-signature panel, the learning controls), keeps their stacking and Tab order, builds the
// menu bar, and is the one door through which every input presses a key.
#pragma once

#include "kern/Modus.h"
#include "kern/Tastenlage.h"

#include <QMainWindow>

struct Haupt;
class Befehlsleiste;
class Bildablage;
class Infozeilen;
class Lernfeld;
class MidiEingang;
class Mikrofon;
class Notensystem;
class QAction;
class QMenu;
class Tastatur;
class Tonartenfeld;
class Tonausgabe;

class Keyboard : public QMainWindow
{
    Q_OBJECT
public:
    Keyboard(Haupt& haupt, Tonausgabe& ton, QWidget* parent = nullptr);
    ~Keyboard() override;

    // The fixed title that makes the window movable.
    static const QString Titel;

    // Every input presses a key through this one door: a click, a MIDI keyboard, the microphone.
    enum class Herkunft { Maus, Midi, Mikrofon };
    void Taste_Eingabe(int k, Herkunft herkunft);

    // Starts looking for MIDI keyboards and makes the microphone ready (modules: test paths).
    void starteEingaenge(const QString& midiModul = {}, const QString& mikroModul = {});
    MidiEingang* midiEingang() const { return m_midi; }
    Mikrofon* mikrofon() const { return m_mikro; }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    // keyboard/Keyboard.cpp: composition, stacking, load, the commands' routes, the end
    void verbindePanels();
    void ordneStapel();
    void Form_Load();
    void befehl(int i);
    void setzeModus(Modus modus);
    Bildablage& TAblage();
    void Do_Beenden();
    void mnu_Fenster_verschiebbar_Click();

    // keyboard/Menueleiste.cpp: the menu bar, the help book and the information windows
    void baueMenues();
    void fuelleOptionen(QMenu* optionen);
    void mnu_HilfeBuch_Click();
    void mnu_Ton_Click();

    // keyboard/Tastendruck.cpp: a key press shows, names and sounds its note
    void TheKey_Click(int k);
    void DoNoten(int k);
    void Spiele_Taste(int k);
    bool Taste_frei(int k) const;

    // keyboard/Instrument.cpp: the learner's own instrument (MIDI keyboard, microphone)
    void fuelleEingabeMenue(QMenu* optionen);
    void starteMikrofon(const QString& modul);
    void verbindeMikrofon();
    void baueMidiMenue();
    void Midi_NoteAn(int note, int anschlag);
    void Midi_NoteAus(int note);
    void Midi_AllesAus();
    void Mikrofon_Note(int note);
    // The key a question asks for (-1: none): the microphone decides sooner when it hears that
    // key. Returns whether the microphone listens, so the learner answers on an acoustic piano.
    bool Mikrofon_erwarte(int k);
    void mnu_Mikrofon_Click();

    Haupt& m_haupt;
    Tonausgabe& m_ton;
    // What an instrument may press and sound, published for any thread to ask.
    Eingang::Tastenstand m_tastenstand;
    Infozeilen* m_info = nullptr;
    Tastatur* m_tastatur = nullptr;
    Notensystem* m_system = nullptr;
    Befehlsleiste* m_befehle = nullptr;
    Tonartenfeld* m_tonarten = nullptr;
    Lernfeld* m_lernfeld = nullptr;
    Bildablage* m_TAblage = nullptr;

    // The inputs (keyboard/Instrument.cpp).
    Herkunft m_herkunft = Herkunft::Maus; // of the key press now running
    MidiEingang* m_midi = nullptr;
    Mikrofon* m_mikro = nullptr;
    QMenu* mnu_MIDIEingang = nullptr;
    QAction* mnu_Mikrofon = nullptr;
};
