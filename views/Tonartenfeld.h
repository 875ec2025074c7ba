// The key-signature panel: the signature's picture and name, the accidental buttons for the
// black keys with their cover, the "Tonarten" menu and the key colour sets. It decides which
// keys are left on; the keyboard shows them.
#pragma once

#include "kern/Modus.h"
#include "kern/Tastenlage.h"

#include <QObject>
#include <array>

struct Haupt;
class Befehlsleiste;
class Bild;
class Beschriftung;
class Bildablage;
class Feld;
class Infozeilen;
class Knopf;
class Notensystem;
class QAction;
class QActionGroup;
class QMenu;
class QWidget;

class Tonartenfeld : public QObject
{
    Q_OBJECT
public:
    Tonartenfeld(QWidget* flaeche, Haupt& haupt, Infozeilen& info, Befehlsleiste& befehle, Notensystem& system);
    void fuelleMenue(QMenu* tonarten);
    void fuelleFarbwahl(QMenu* farben);
    void setzeModus(Modus modus);

    // Menu entry i of "Tonarten" (views' indexes in kern/Tonartentabelle.h).
    void mnu_EinzelneTonarten_Click(int i);
    // The keys of the chosen signature, if one is chosen.
    void Setze_Tonart();
    // The commands "T. normal", "T. betont", "Alle Tasten".
    void Do_T_Farbe_normal();
    void Do_T_Farbe_anders();
    void Do_alle_Tasten();
    // The sign panel's name is cleared by every command.
    void loescheText();
    // "X" without a signature: the black keys go off again whenever a note is shown.
    void Schwarze_Tasten_aus();

signals:
    void freieTasten(const Eingang::Tasten& frei);

private:
    void bauePanel(QWidget* f);
    void baueVorzeichen(QWidget* f);
    void Funktion1_Click(int i);
    void mnu_Farbwahl_Click(int i);
    Bildablage& Ablage_Tonarten();
    void setzeFreie(const Eingang::Tasten& frei);

    Haupt& m_haupt;
    Infozeilen& m_info;
    Befehlsleiste& m_befehle;
    Notensystem& m_system;
    std::array<Knopf*, 3> Funktion1{};
    Feld *Picture5_0 = nullptr, *AbdeckFeld = nullptr, *Picture1 = nullptr;
    Bild *Image5 = nullptr, *Image6 = nullptr, *Image1 = nullptr;
    Beschriftung* TonartText = nullptr;
    QMenu* mnu_Tonarten = nullptr;
    QActionGroup* m_gruppe = nullptr;
    Bildablage* m_Ablage_Tonarten = nullptr;
    Eingang::Tasten m_frei = Eingang::alleTasten();
};
