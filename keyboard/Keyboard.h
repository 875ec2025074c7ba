// The main window: the keyboard under the staff, the command buttons, the learning controls and
// the menus. Its operations live in the folders of the subsystems that own them.
#pragma once

#include "app/Steuerelemente.h"

#include <QMainWindow>
#include <array>

struct Haupt;
class Tonausgabe;

// Octave colour of white key w: the dots and the note-name buttons share it.
quint32 Oktavfarbe(int weiss);
class QAction;
class QActionGroup;
class QMenu;

// A hidden window that only holds pictures for other windows to copy.
class Bildablage : public QWidget
{
    Q_OBJECT
public:
    Bildablage(QWidget* besitzer, const QString& name,
               std::initializer_list<std::pair<const char*, const char*>> bilder);
    // The stored picture of a control of the store; empty if there is none.
    QString bild(const QString& control) const;
};

class Keyboard : public QMainWindow
{
    Q_OBJECT
public:
    Keyboard(Haupt& haupt, Tonausgabe& ton, QWidget* parent = nullptr);
    ~Keyboard() override;

    // ---- Controls (names as in the layout tables)
    std::array<Knopf*, 40> TheKey{};
    Form* Shape1 = nullptr;
    std::array<Form*, 6> Farbe{};
    std::array<Form*, 23> T_Markierung{};
    std::array<Knopf*, 23> aufLinie_Taste{};
    std::array<Linie*, 8> NotenLinie{};
    std::array<Linie*, 3> NotenLinie2{};
    std::array<Linie*, 5> NotenLinieBass{};
    Bild *Note1 = nullptr, *Note2 = nullptr, *Note3 = nullptr;
    Bild *Image4 = nullptr, *Image2 = nullptr, *Image5 = nullptr, *Image6 = nullptr, *Image1 = nullptr;
    Bild *RichtigWort = nullptr, *FehlerWort = nullptr, *Bitte_Taste_waehlen = nullptr;
    Bild *LernBild = nullptr, *Picture2 = nullptr, *Image7 = nullptr;
    Beschriftung *Label4 = nullptr, *Label1 = nullptr;
    Beschriftung *TextFeld = nullptr, *TextFeld2 = nullptr, *TonartText = nullptr, *NotenNamenTextFeld = nullptr;
    std::array<Knopf*, 3> Funktion1{};
    Feld *Picture5_0 = nullptr, *AbdeckFeld = nullptr, *NamenFeld = nullptr, *Picture1 = nullptr;
    std::array<Knopf*, 11> Funktion{};
    std::array<Knopf*, 10> LernTasten{};
    Knopf *LernTaste = nullptr, *Command1 = nullptr, *LernTasten2 = nullptr;

    // ---- Menus
    QMenu *mnu_programm = nullptr, *mnu_Tonarten = nullptr, *mnu_Lernen = nullptr;
    QMenu *mnu_Tastenfarben = nullptr, *mnu_Optionen = nullptr, *mnu_Ansicht = nullptr;
    QMenu *mnu_zeige = nullptr, *mnu_alleTasten = nullptr, *mnu_Webseiten = nullptr;
    std::array<QAction*, 15> mnu_EinzelneTonarten{};
    QAction* mnu_HilfeBuch = nullptr;

    // ---- Picture stores, created on first use
    Bildablage& TAblage();
    Bildablage& Ablage_Tonarten();

    // ---- Public operations of the window
    void Do_zeigen_richtige();
    void Do_zeigen_falsche();
    void Do_Lernen();
    void Do_T_Farbe_anders();
    void Do_T_Farbe_normal();
    void Do_Show_Bass();
    void Do_Buchstaben();
    void Do_Maus_Move();
    void Do_Betrachten();
    void zeige_Farbstreifen();
    void verstecke_Farbstreifen();
    void Do_alle_Tasten();
    void DoNoten(int k);
    void Do_Beenden();

    // ---- Main window (load, mouse texts, end)
    void Form_Load();
    void Form_MouseMove();
    void Image4_MouseMove();
    void Image2_MouseMove();
    void mnu_beenden_Click();

    // ---- Keys and staff
    void Setze_Note(int code);
    void Zeige_Notenname(const QString& name);
    void TheKey_Click(int k);
    void TheKey_MouseMove(int k);
    void Markierungen_weiss();
    void Spiele_Taste(int k);

    // ---- Commands and note-name buttons
    void aufLinie_Taste_Click(int i);
    void aufLinie_Taste_MouseMove(int i);
    void Funktion_Click(int i);
    void Funktion_MouseMove(int i);
    void mnu_maus_ueber_Tasten_Click();

    // ---- Key signatures
    void Weisse_Taste_an(int k);
    void Schwarze_Taste_an(int k);
    void Schwarze_Taste_aus(int k);
    void Weisse_Taste_aus(int k);
    void Alle_Tasten_normal();
    void Schwarze_Tasten_aus();
    void Tonart_GDur();
    void Tonart_DDur();
    void Tonart_ADur();
    void Tonart_EDur();
    void Tonart_FDur();
    void Tonart_BDur();
    void Tonart_EsDur();
    void Tonart_AsDur();
    void Setze_Tonart();
    void mnu_EinzelneTonarten_Click(int i);
    void Funktion1_Click(int i);

    // ---- Marker dots and show-all views
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

    // ---- View options
    void mnu_Farbwahl_Click(int i);
    void mnu_Ton_Click();
    void mnu_ohneCLinie_Click();
    void mnu_notentasten_Click();
    void mnu_Bass_gesondert_Click();
    void mnu_Fenster_verschiebbar_Click();

    // ---- Learning
    void mnu_Lernen_einschalten_Click();
    void mnu_Lernen_abschalten_Click();
    void LernTasten_Click(int i);
    void LernTaste_Click();
    void Command1_Click();
    void LernTasten_MouseMove(int i);
    void mnu_Bereich_Click(int i);
    void mnu_Bereich2_Click(int i);
    void Pruefe_Antwort(int k);
    void LernTasten2_Click();
    void mnu_Farbstreifen_Click();

    // ---- Help and information windows
    void mnu_HilfeBuch_Click();
    void mnu_Pausen_Click();
    void mnu_Laengen_Click();

    // The fixed title that makes the window movable.
    static const QString Titel;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void baueSteuerelemente(QWidget* flaeche);
    void baueMenues();
    void setzeTonartenMenue(bool an);

    Haupt& m_haupt;
    Tonausgabe& m_ton;
    QActionGroup* m_tonartenGruppe = nullptr;
    Bildablage *m_TAblage = nullptr, *m_Ablage_Tonarten = nullptr;
};
