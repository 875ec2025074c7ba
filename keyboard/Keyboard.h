// The main window: the keyboard under the staff, the command buttons, the learning controls and
// the menus. Each subsystem's folder builds its own controls and menu entries and defines its
// operations; this header groups them by the file that defines them.
#pragma once

#include "widgets/Steuerelemente.h"
#include "keyboard/Bildablage.h"
#include "kern/Stimmenhalter.h"
#include "kern/Tastenlage.h"

#include <QMainWindow>
#include <array>

struct Haupt;
class Tonausgabe;
class QAction;
class QActionGroup;
class QMenu;
class QTimer;
class MidiEingang;
class Mikrofon;

class Keyboard : public QMainWindow
{
    Q_OBJECT
public:
    Keyboard(Haupt& haupt, Tonausgabe& ton, QWidget* parent = nullptr);
    ~Keyboard() override;

    // ---- Controls (names as in the layout tables)
    // keyboard/: keys, staff, notes, marker dots, clefs, texts and pictures
    std::array<Knopf*, 40> TheKey{};
    Form* Shape1 = nullptr;
    std::array<Form*, 23> T_Markierung{};
    std::array<Linie*, 8> NotenLinie{};
    std::array<Linie*, 3> NotenLinie2{};
    std::array<Linie*, 5> NotenLinieBass{};
    Bild *Note1 = nullptr, *Note2 = nullptr, *Note3 = nullptr;
    Bild *Image4 = nullptr, *Image2 = nullptr, *Picture2 = nullptr, *Image7 = nullptr;
    Beschriftung *Label4 = nullptr, *Label1 = nullptr, *TextFeld = nullptr, *TextFeld2 = nullptr;
    Feld* NamenFeld = nullptr;
    Beschriftung* NotenNamenTextFeld = nullptr;
    // views/: command buttons, note-name ladder, accidental buttons, key-signature panel
    std::array<Knopf*, 11> Funktion{};
    std::array<Knopf*, 23> aufLinie_Taste{};
    std::array<Knopf*, 3> Funktion1{};
    Feld *Picture5_0 = nullptr, *AbdeckFeld = nullptr, *Picture1 = nullptr;
    Bild *Image5 = nullptr, *Image6 = nullptr, *Image1 = nullptr;
    Beschriftung* TonartText = nullptr;
    // learning/: range buttons, quick key, colour band, answer pictures
    std::array<Knopf*, 10> LernTasten{};
    Knopf *LernTaste = nullptr, *Command1 = nullptr, *LernTasten2 = nullptr;
    std::array<Form*, 6> Farbe{};
    Bild *RichtigWort = nullptr, *FehlerWort = nullptr, *Bitte_Taste_waehlen = nullptr, *LernBild = nullptr;

    // ---- Menus (the bar and its menus are built in keyboard/, each folder adds its entries)
    QMenu *mnu_programm = nullptr, *mnu_Tonarten = nullptr, *mnu_Lernen = nullptr;
    QMenu *mnu_Tastenfarben = nullptr, *mnu_Optionen = nullptr, *mnu_Ansicht = nullptr;
    QMenu *mnu_zeige = nullptr, *mnu_alleTasten = nullptr, *mnu_Webseiten = nullptr;
    std::array<QAction*, 15> mnu_EinzelneTonarten{};
    QAction* mnu_HilfeBuch = nullptr;
    QMenu* mnu_MIDIEingang = nullptr;
    QAction *mnu_NaechsteNote = nullptr, *mnu_Mikrofon = nullptr;
    Form* Pegelbalken = nullptr; // the microphone's level, along the bottom of NamenFeld

    // ---- Picture stores, created on first use (keyboard/Keyboard.cpp)
    Bildablage& TAblage();
    Bildablage& Ablage_Tonarten();

    // ---- keyboard/Keyboard.cpp: load, mouse texts, end, movable window
    void Form_Load();
    void Form_MouseMove();
    void Image4_MouseMove();
    void Image2_MouseMove();
    void mnu_beenden_Click();
    void Do_Beenden();
    void mnu_Fenster_verschiebbar_Click();

    // ---- keyboard/Tastendruck.cpp: a key press shows, names and sounds its note
    // Every input presses a key through this one door: a click, a MIDI keyboard, the microphone.
    enum class Herkunft { Maus, Midi, Mikrofon };
    void Taste_Eingabe(int k, Herkunft herkunft);
    // Whether an instrument may press key k now: as a click could, and with no window waiting.
    bool Taste_frei(int k) const;
    void Setze_Note(int code);
    void Zeige_Notenname(const QString& name);
    void DoNoten(int k);
    void TheKey_Click(int k);
    void TheKey_MouseMove(int k);
    void Markierungen_weiss();
    void Spiele_Taste(int k);

    // ---- views/Befehle.cpp: commands and note-name buttons
    void Funktion_Click(int i);
    void Funktion_MouseMove(int i);
    void aufLinie_Taste_Click(int i);
    void aufLinie_Taste_MouseMove(int i);
    void Do_Maus_Move();
    void Do_Buchstaben();
    void Do_Betrachten();
    void mnu_maus_ueber_Tasten_Click();

    // ---- views/Tonarten.cpp: key signatures
    void Weisse_Taste_an(int k);
    void Schwarze_Taste_an(int k);
    void Schwarze_Taste_aus(int k);
    void Weisse_Taste_aus(int k);
    void Alle_Tasten_normal();
    void Schwarze_Tasten_aus();
    void Setze_Tonart();
    void mnu_EinzelneTonarten_Click(int i);
    void Funktion1_Click(int i);
    void Do_T_Farbe_anders();
    void Do_T_Farbe_normal();
    void Do_alle_Tasten();

    // ---- views/Markierungen.cpp: marker dots and show-all views
    void Markierungen_Grundfarben();
    void Markierungen_loeschen();
    void Zeige_alle(int note); // 0 = C ... 6 = H
    void mnu_alleC_Click() { Zeige_alle(0); }
    void mnu_alleD_Click() { Zeige_alle(1); }
    void mnu_alleE_Click() { Zeige_alle(2); }
    void mnu_alleF_Click() { Zeige_alle(3); }
    void mnu_alleG_Click() { Zeige_alle(4); }
    void mnu_alleA_Click() { Zeige_alle(5); }
    void mnu_alleH_Click() { Zeige_alle(6); }
    void mnu_mittleresC_Click();
    void mnu_Markierungenzurueck_Click();
    void mnu_Markierungspunkte_Click();

    // ---- views/Ansicht.cpp: view options
    void mnu_Farbwahl_Click(int i);
    void mnu_Ton_Click();
    void mnu_ohneCLinie_Click();
    void mnu_notentasten_Click();
    void mnu_Bass_gesondert_Click();
    void Do_Show_Bass();

    // ---- learning/Lernmodus.cpp: learning mode
    void Do_Lernen();
    void mnu_Lernen_einschalten_Click();
    void mnu_Lernen_abschalten_Click();
    void LernTasten_Click(int i);
    void LernTaste_Click();
    void Command1_Click();
    void LernTasten_MouseMove(int i);
    void mnu_Bereich_Click(int i);
    void mnu_Bereich2_Click(int i);
    void Pruefe_Antwort(int k);
    void Do_zeigen_falsche();
    void Do_zeigen_richtige();
    void LernTasten2_Click();
    void mnu_Farbstreifen_Click();
    void zeige_Farbstreifen();
    void verstecke_Farbstreifen();

    // ---- input/Instrument.cpp: the learner's own instrument (MIDI keyboard, microphone)
    // Starts looking for MIDI keyboards and makes the microphone ready (modules: test paths).
    void starteEingaenge(const QString& midiModul = {}, const QString& mikroModul = {});
    MidiEingang* midiEingang() const { return m_midi; }
    Mikrofon* mikrofon() const { return m_mikro; }
    void Midi_NoteAn(int note, int anschlag);
    void Midi_NoteAus(int note);
    void Midi_Pedal(int wert);
    void Midi_AllesAus();
    void Mikrofon_Note(int note);
    // The key a question asks for (-1: none): the microphone decides sooner when it hears that
    // key. Returns whether the microphone listens, so the learner answers on an acoustic piano.
    bool Mikrofon_erwarte(int k);
    void mnu_NaechsteNote_Click();
    void mnu_Mikrofon_Click();
    // The next note drawn by itself after an answer, when "Nächste Note automatisch" is on.
    void Naechste_Note_vormerken();
    void Naechste_Note_absagen();

    // ---- book/Fenster.cpp: help book and information windows
    void mnu_HilfeBuch_Click();
    void mnu_Pausen_Click();
    void mnu_Laengen_Click();

    // The fixed title that makes the window movable.
    static const QString Titel;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    // One builder per folder (each in its folder's Aufbau.cpp / Fenster.cpp / Webmenue.cpp).
    void baueTastatur(QWidget* flaeche);
    void baueTaste(QWidget* flaeche, int k);
    void baueNotensysteme(QWidget* flaeche);
    void baueAnsichten(QWidget* flaeche);
    void baueLernen(QWidget* flaeche);
    void ordneStapel();
    void baueMenues();
    void fuelleProgrammMenue(QMenu* m);   // book/
    void fuelleTonartenMenue(QMenu* m);   // views/
    void fuelleLernMenue(QMenu* m);       // learning/
    void fuelleFarbstreifen(QMenu* m);    // learning/
    void fuelleFarbwahl(QMenu* m);        // views/
    void fuelleAnsichten(QMenu* optionen); // views/
    void baueHilfeEintrag();              // book/
    void fuelleEingabeMenue(QMenu* optionen); // input/
    void starteMikrofon(const QString& modul); // input/
    void baueMidiMenue();                     // input/
    void zeigeHinweis(const QString& text, int ms); // input/
    void loese(const Eingang::Freigabe& freigabe); // input/
    void setzeTonartenMenue(bool an);

    Haupt& m_haupt;
    Tonausgabe& m_ton;
    // What an instrument may press and sound, published for any thread to ask.
    Eingang::Tastenstand m_tastenstand;
    QActionGroup* m_tonartenGruppe = nullptr;
    Bildablage *m_TAblage = nullptr, *m_Ablage_Tonarten = nullptr;

    // The inputs (input/Instrument.cpp).
    Herkunft m_herkunft = Herkunft::Maus; // of the key press now running
    MidiEingang* m_midi = nullptr;
    Mikrofon* m_mikro = nullptr;
    QTimer* m_naechsteNote = nullptr;
    Eingang::Stimmenhalter m_stimmen;     // held voices and the sustain pedal
};
