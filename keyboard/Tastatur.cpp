#include "keyboard/Tastatur.h"

#include "kern/Haupt.h"
#include "widgets/Infozeilen.h"
#include "widgets/Steuerelemente.h"

Tastatur::Tastatur(QWidget* f, const Haupt& haupt, Eingang::Tastenstand& stand, Infozeilen& info)
    : QObject(f), m_haupt(haupt), m_stand(stand), m_info(info)
{
    Shape1 = new Form(f, false, 0x404000, 0x404000);
    platziere(Shape1, "Shape1", 1680, 5040, 11295, 2415);
    Shape1->setAccessibleName("Rahmen des Keyboards");
    // White keys first: the black ones are made later and so lie above them.
    for (bool schwarz : {false, true})
        for (int k = 0; k < Noten::Tastenzahl; ++k)
            if (Noten::istSchwarz(k) == schwarz)
                baueTaste(f, k);
}

void Tastatur::baueTaste(QWidget* f, int k)
{
    const bool schwarz = Noten::istSchwarz(k);
    const int weiss = Noten::Weisse_Nummer(schwarz ? k - 1 : k);
    auto* t = new Knopf(f, !schwarz, schwarz ? 0x000000 : 0xD5ECF2);
    t->setObjectName(arrayName("TheKey", k));
    if (schwarz)
        t->setzeTw(1800 + 480 * weiss + 240, 5160, 375, 1335);
    else
        t->setzeTw(1800 + 480 * weiss, 5160, 495, 2175);
    t->setFont(schrift("Arial", 12, true));
    t->setAccessibleName("Taste " + Noten::Tastenname(k));
    connect(t, &QPushButton::clicked, this, [this, k] { emit geklickt(k); });
    t->beiBewegung = [this, k] {
        m_info.hinweis("Die Tasten des Keyboards dienen 1. um die Noten sehen zu können und dabei auch den Klang "
                       "zu hören und 2. um im Lernmodus selbst eingeben zu können.");
        emit ueberfahren(k);
    };
    TheKey[k] = t;
}

void Tastatur::setzeFreie(const Eingang::Tasten& frei)
{
    for (int k = 0; k < Noten::Tastenzahl; ++k) {
        const bool schwarz = Noten::istSchwarz(k);
        const quint32 an = schwarz ? m_haupt.Farbe_Schwarz : m_haupt.Farbe_Weiss;
        const quint32 aus = schwarz ? m_haupt.Farbe_Schwarz_aus : m_haupt.Farbe_Weiss_aus;
        TheKey[k]->setBackColor(frei[k] ? an : aus);
        TheKey[k]->setEnabled(frei[k]);
    }
    m_stand.setzeFreie(frei);
}

void Tastatur::setzeGedrueckt(int k, bool unten)
{
    if (k >= 0 && k < Noten::Tastenzahl)
        TheKey[k]->setDown(unten);
}
