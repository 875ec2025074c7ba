// Learning mode: switching it on, drawing notes, judging answers, the colour band.
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "kern/Notenmodell.h"
#include "kern/Lernnoten.h"
#include "views/Befehlstabelle.h"

#include <QMessageBox>

namespace {

// The dots after an answer: the drawn note red when hit; else blue, and the key played black.
constexpr quint32 Farbe_Richtig = 0x0C22EF, Farbe_Gezogen = 0xC97D45, Farbe_Antwort = 0x000000;

} // namespace

void Keyboard::Do_Lernen()
{
    Funktion[Befehl::TNormal]->hide();
    Funktion[Befehl::TBetont]->hide();
    FehlerWort->hide();
    zeige_Farbstreifen();
    Picture1->hide();
    m_haupt.Maus_Move_An = false;
    LernTasten2->show();
    setzeTonartenMenue(false);
    Image7->hide();
    for (auto* t : LernTasten)
        t->show();
    m_haupt.Lern_Modus = true;
    Funktion_Click(Befehl::AlleTasten);
    Picture2->hide();
    for (int i = Befehl::PerKlick; i <= Befehl::AlleTasten; ++i)
        Funktion[i]->hide();
    for (auto* t : aufLinie_Taste)
        t->hide();
    AbdeckFeld->show();
    LernBild->show();
    Markierungen_weiss();
}

void Keyboard::mnu_Lernen_einschalten_Click() { Funktion_Click(Befehl::Lernen); }

void Keyboard::mnu_Lernen_abschalten_Click() { Funktion_Click(Befehl::Betrachten); }

// ---- The draw

void Keyboard::LernTasten_Click(int i)
{
    Naechste_Note_absagen();
    if (i < 0 || i > 9)
        return;
    m_haupt.Beantwortet = false;
    Bitte_Taste_waehlen->hide();
    Markierungen_weiss();
    FehlerWort->hide();
    RichtigWort->hide();
    Funktion[Befehl::ZeigMeine]->hide();
    Funktion[Befehl::ZeigRichtige]->hide();
    TextFeld->setText("Auf die Lernbereichstaste klicken um eine Note zu sehen. Dann die richtige weiße Taste klicken.");
    m_haupt.Lernbereich = i;
    // The number is written with a leading blank where the sign of a negative number would stand.
    TextFeld2->setText(QString("Es wurde der Lernbereich  %1 gewählt.").arg(i + 1));
    m_haupt.Letzter_Bereich = i;
    LernTaste->show();
    Command1->show();
    LernTaste->setBackColor(LernTasten[i]->backColor());
    LernTaste->setText(LernTasten[i]->text());
    Lernen::Ziehe(m_haupt, m_haupt.Lernbereich);
    DoNoten(m_haupt.Lernnote_Taste);
    // With the microphone on the learner answers on the piano: the program's own sound of the
    // drawn note would give the answer away and drown it.
    if (!Mikrofon_erwarte(m_haupt.Lernnote_Taste))
        Spiele_Taste(m_haupt.Lernnote_Taste);
}

void Keyboard::LernTaste_Click() { LernTasten_Click(m_haupt.Letzter_Bereich); }

void Keyboard::Command1_Click()
{
    // Two shapes, told apart by Left. From the start place the key takes the block shape first.
    if (LernTaste->leftTw() == 4680)
        LernTaste->setzeTw(120, 4440, 11055, 375);
    else
        LernTaste->setzeTw(4680, 3240, 1455, 975);
}

void Keyboard::LernTasten_MouseMove(int)
{
    TextFeld2->setText("Bereichs- und Übungstasten. Jede Taste umfasst einen Bereich von ca. 4 Tasten und wenn man "
                       "auf eine klickt erscheint eine zufällig bestimmte Note aus diesem Bereich. Mit der "
                       "entsprechenden Keyboardtaste kann man überprüfen, ob man die Lage der Note auf dem Keyboard "
                       "behalten hat.");
}

void Keyboard::mnu_Bereich_Click(int i)
{
    Funktion_Click(Befehl::Lernen);
    LernTasten_Click(i);
}

void Keyboard::mnu_Bereich2_Click(int i)
{
    // Entries 1..3 draw from the ranges their captions name: 2 - 4, 1, 2 and 2 - 5.
    Funktion_Click(Befehl::Lernen);
    LernTasten_Click(i + 5);
}

// ---- The answer

void Keyboard::Pruefe_Antwort(int k)
{
    const Lernen::Urteil urteil = Lernen::beurteile(m_haupt, k);
    if (urteil.art == Lernen::Urteil::Schwarz) {
        QMessageBox box(QMessageBox::Information, "Keine schwarzen Tasten.",
                        "Die schwarzen Tasten sind im Lernmodus abgeschaltet. Bitte neue Note geben lassen.",
                        QMessageBox::Ok, this);
        box.setObjectName("Keine_schwarzen_Tasten");
        box.exec();
        return;
    }
    DoNoten(k);
    Spiele_Taste(k);
    const bool richtig = urteil.art == Lernen::Urteil::Richtig;
    RichtigWort->setVisible(richtig);
    Funktion[Befehl::ZeigMeine]->setVisible(!richtig);
    Funktion[Befehl::ZeigRichtige]->setVisible(!richtig);
    if (richtig) {
        NotenNamenTextFeld->setText("Note: " + m_haupt.Lernnote_Name);
        T_Markierung[urteil.notenPunkt]->setFillColor(Farbe_Richtig);
        TextFeld2->setText("RICHTIG!");
        TextFeld->setText("Es wurde die richtige Note getroffen. Weiter so, damit es immer schneller geht.");
    } else {
        FehlerWort->show();
        T_Markierung[urteil.notenPunkt]->setFillColor(Farbe_Gezogen);
        T_Markierung[urteil.antwortPunkt]->setFillColor(Farbe_Antwort);
        NotenNamenTextFeld->setText("Falsche Note!");
        TextFeld2->setText("NICHT RICHTIG!");
        TextFeld->setText("Leider noch nicht richtig gemacht. Bitte weiter üben.");
    }
}

void Keyboard::Do_zeigen_falsche()
{
    if (!m_haupt.Antwort_Punkt || *m_haupt.Antwort_Punkt == Noten::Kein_Weiss || !m_haupt.Antwort_Taste)
        return;
    DoNoten(*m_haupt.Antwort_Taste);
    Spiele_Taste(*m_haupt.Antwort_Taste);
    NotenNamenTextFeld->setText("Falsche Note");
}

void Keyboard::Do_zeigen_richtige()
{
    DoNoten(m_haupt.Lernnote_Taste);
    Spiele_Taste(m_haupt.Lernnote_Taste);
    NotenNamenTextFeld->setText("Note: " + m_haupt.Lernnote_Name);
}

// ---- The colour band

void Keyboard::zeige_Farbstreifen()
{
    for (auto* f : Farbe)
        f->show();
}

void Keyboard::verstecke_Farbstreifen()
{
    for (auto* f : Farbe)
        f->hide();
}

void Keyboard::LernTasten2_Click() { mnu_Farbstreifen_Click(); }

void Keyboard::mnu_Farbstreifen_Click()
{
    if (Farbe[0]->isHidden())
        zeige_Farbstreifen();
    else
        verstecke_Farbstreifen();
}
