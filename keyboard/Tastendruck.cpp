// A key click: show the note on the staff, name it, sound it.
#include "sound/Tonausgabe.h"
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "kern/Notenmodell.h"
#include "keyboard/mdlSound.h"
#include "kern/Tonartentabelle.h"

#include <utility>

void Keyboard::Setze_Note(int code)
{
    if (code < 0 || code > 22)
        return;
    const Noten::Notenstelle& s = Noten::Stellen[code];
    Note1->setVisible(s.bild == 1);
    Note2->setVisible(s.bild == 2);
    (s.bild == 1 ? Note1 : Note2)->move(Note1->x(), tw(s.top));
    Note3->setVisible(s.top3 >= 0);
    if (s.top3 >= 0)
        Note3->move(Note3->x(), tw(s.top3));
    const bool c = (s.linien & Noten::L0) && !(s.cLinieFrei && !m_haupt.C_Linie);
    NotenLinie[0]->setVisible(c);
    NotenLinie[6]->setVisible(s.linien & Noten::L6);
    NotenLinie[7]->setVisible(s.linien & Noten::L7);
    NotenLinie2[0]->setVisible(s.linien & Noten::U0);
    NotenLinie2[1]->setVisible(s.linien & Noten::U1);
    NotenLinie2[2]->setVisible(s.linien & Noten::U2);
}

void Keyboard::DoNoten(int k)
{
    // "X" with no signature: every note shown switches the black keys off again.
    if (!Tonarten::finde(m_haupt.Tonart) && m_haupt.Vorzeichen == "X")
        Schwarze_Tasten_aus();
    const Noten::Benennung b = Noten::benenne(k, m_haupt.Tonart, m_haupt.Vorzeichen);
    if (!b.name)
        return;
    Noten::merke(m_haupt, b);
    Setze_Note(b.code);
    Zeige_Notenname(b.name);
}

void Keyboard::Zeige_Notenname(const QString& name)
{
    if (!m_haupt.Lern_Modus)
        NotenNamenTextFeld->setText("Note: " + name);
}

bool Keyboard::Taste_frei(int k) const
{
    // An instrument's key presses what a click would: not a disabled key, and nothing while a
    // window of its own (the help book, a message) waits for the user.
    return Eingang::darfDruecken(m_tastenstand.lage(), k);
}

void Keyboard::Taste_Eingabe(int k, Herkunft herkunft)
{
    if (k < 0 || k >= Noten::Tastenzahl)
        return;
    if (herkunft != Herkunft::Maus && !Taste_frei(k))
        return;
    const Herkunft vorher = std::exchange(m_herkunft, herkunft);
    TheKey_Click(k);
    m_herkunft = vorher;
}

void Keyboard::TheKey_Click(int k)
{
    if (!m_haupt.Lern_Modus) {
        DoNoten(k);
        Spiele_Taste(k);
        return;
    }
    // Learning mode: only the first click after a draw is an answer.
    if (m_haupt.Beantwortet)
        return;
    m_haupt.Beantwortet = true;
    Mikrofon_erwarte(-1);
    Bitte_Taste_waehlen->show();
    Markierungen_weiss();
    Pruefe_Antwort(k);
    Naechste_Note_vormerken();
}

void Keyboard::TheKey_MouseMove(int k)
{
    TextFeld2->setText("Die Tasten des Keyboards dienen 1. um die Noten sehen zu können und dabei auch den Klang "
                       "zu hören und 2. um im Lernmodus selbst eingeben zu können.");
    if (m_haupt.Maus_Move_An)
        DoNoten(k);
}

void Keyboard::Markierungen_weiss()
{
    for (auto* m : T_Markierung) {
        m->show();
        m->setBorderColor(0x000000);
    }
    for (auto* m : T_Markierung)
        m->setFillColor(0xFFFFFF);
}

void Keyboard::Spiele_Taste(int k)
{
    // A MIDI keyboard sounds its own held voices; an acoustic piano heard by the microphone
    // has sounded already.
    if (m_herkunft != Herkunft::Maus)
        return;
    const QString name = Noten::Klangname(k);
    if (name.isEmpty() || m_haupt.Ton_aus)
        return;
    Spiele_Ton(m_haupt, m_ton, name);
}
