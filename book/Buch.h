// The help book: an opened book of five spreads, turned by pressing the rolled page corners.
#pragma once

#include "widgets/Steuerelemente.h"

#include <QDialog>
#include <array>

struct Haupt;
class Tonausgabe;

class Buch : public QDialog
{
    Q_OBJECT
public:
    // Constructing the book loads it: spread 1 on show and the greeting played.
    Buch(Haupt& haupt, Tonausgabe& ton, QWidget* parent = nullptr);

    // ---- Controls (names as in the layout tables)
    Form* Shape1_0 = nullptr;
    std::array<Form*, 2> Shape2{};
    Beschriftung *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    Beschriftung *BuchZeileli = nullptr, *BuchZeilere = nullptr, *SeitenNummer = nullptr;
    Beschriftung *BuchTextLi = nullptr, *BuchTextre = nullptr;
    // The control array "Buch(i)"; a member may not share its class's name.
    std::array<Bild*, 18> Buchteil{};
    std::array<Bild*, 13> Image1{}, Image3{};
    std::array<Bild*, 8> Image2{}, Image4{}, Image5{}, Image6{};
    Linie *Line1 = nullptr, *Line2 = nullptr;
    Knopf* Verlassen = nullptr;

    // ---- Window state
    int Akt_Seite = 1;
    int Letzte_Seite = 5;

    // ---- Operations
    void Form_Load();
    void Schreibe(int Seite);
    void Buch_MouseDown(int index);
    void Buch_MouseUp(int index);
    void Verlassen_Click();
    // Every way out (Esc, the window's close box) leaves as Verlassen does.
    void reject() override { Verlassen_Click(); }

private:
    // The builders, back to front.
    void baueSeiten();
    void baueKacheln();
    void baueEcken();
    void baueTexte();
    void baueFuss();

    Haupt& m_haupt;
    Tonausgabe& m_ton;
};
