// The note-name ladder, the command dispatcher and the mouse-over display.
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "kern/Notenmodell.h"
#include "views/Befehlstabelle.h"


void Keyboard::aufLinie_Taste_Click(int i)
{
    Setze_Note(i);
    Spiele_Taste(Noten::Weisse_Taste(Noten::Leiter_Weiss(i))); // the key of its staff position
}

void Keyboard::aufLinie_Taste_MouseMove(int)
{
    TextFeld2->setText("Diese Tasten zeigen die Noten. Hier kann man sie per Namen eingeben.");
}

void Keyboard::Funktion_Click(int i)
{
    Naechste_Note_absagen(); // a command ends a pending draw
    TonartText->setText(QString());
    m_haupt.Beantwortet = true;
    RichtigWort->hide();
    if (i < 0 || i >= Befehl::Anzahl)
        return;
    if (const char* text = Befehle::Tabelle[i].befehlstext)
        TextFeld->setText(text);
    switch (i) {
    case Befehl::PerKlick: Do_Maus_Move(); break;
    case Befehl::Buchstaben: Do_Buchstaben(); break;
    case Befehl::Bass: Do_Show_Bass(); break;
    case Befehl::TNormal: Do_T_Farbe_normal(); break;
    case Befehl::TBetont: Do_T_Farbe_anders(); break;
    case Befehl::AlleTasten: Do_alle_Tasten(); break;
    case Befehl::Lernen: Do_Lernen(); break;
    case Befehl::Betrachten: Do_Betrachten(); break;
    case Befehl::ZeigMeine: Do_zeigen_falsche(); break;
    case Befehl::ZeigRichtige: Do_zeigen_richtige(); break;
    case Befehl::Beenden: Do_Beenden(); break;
    }
}

void Keyboard::Funktion_MouseMove(int i)
{
    if (i >= 0 && i < Befehl::Anzahl && Befehle::Tabelle[i].hovertext)
        TextFeld2->setText(Befehle::Tabelle[i].hovertext);
}

void Keyboard::Do_Maus_Move()
{
    // The caption is the state: it names the current mode.
    const bool an = Funktion[Befehl::PerKlick]->text() != "Schieben";
    m_haupt.Maus_Move_An = an;
    Funktion[Befehl::PerKlick]->setText(an ? "Schieben" : "Per Klick");
}

void Keyboard::Do_Buchstaben()
{
    const bool zeigen = aufLinie_Taste[0]->isHidden();
    for (auto* t : aufLinie_Taste)
        t->setVisible(zeigen);
}

void Keyboard::mnu_maus_ueber_Tasten_Click() { Funktion_Click(Befehl::PerKlick); }

void Keyboard::Do_Betrachten()
{
    for (QWidget* w : {static_cast<QWidget*>(LernTaste), static_cast<QWidget*>(Command1),
                       static_cast<QWidget*>(FehlerWort), static_cast<QWidget*>(Bitte_Taste_waehlen)})
        w->hide();
    verstecke_Farbstreifen();
    Picture1->show();
    setzeTonartenMenue(true);
    LernTasten2->hide();
    Image7->show();
    for (auto* t : LernTasten)
        t->hide();
    m_haupt.Lern_Modus = false;
    Mikrofon_erwarte(-1); // viewing mode asks for no key
    for (int i = Befehl::PerKlick; i <= Befehl::AlleTasten; ++i)
        Funktion[i]->show();
    for (auto* t : aufLinie_Taste)
        t->show();
    Picture2->show();
    LernBild->hide();
    Markierungen_Grundfarben();
    for (int i : {Befehl::ZeigRichtige, Befehl::ZeigMeine, Befehl::TNormal, Befehl::TBetont})
        Funktion[i]->hide();
}
