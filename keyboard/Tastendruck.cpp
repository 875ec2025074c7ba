// A key press: show the note on the staff, name it, sound it; in learning mode it is an answer.
#include "keyboard/Keyboard.h"

#include "kern/Haupt.h"
#include "kern/Notenmodell.h"
#include "kern/Tonartentabelle.h"
#include "learning/Lernfeld.h"
#include "sound/mdlSound.h"
#include "views/Notensystem.h"
#include "views/Tonartenfeld.h"

#include <utility>

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

bool Keyboard::Taste_frei(int k) const
{
    // An instrument's key presses what a click would: not a disabled key, and nothing while a
    // window of its own (the help book, a message) waits for the user.
    return Eingang::darfDruecken(m_tastenstand.lage(), k);
}

void Keyboard::TheKey_Click(int k)
{
    if (!m_haupt.Lern_Modus) {
        DoNoten(k);
        Spiele_Taste(k);
        return;
    }
    if (m_haupt.Beantwortet)
        return; // only the first key after a draw is an answer
    Mikrofon_erwarte(-1);
    m_lernfeld->beantworte(k);
}

void Keyboard::DoNoten(int k)
{
    // "X" with no signature: every note shown switches the black keys off again.
    if (!Tonarten::finde(m_haupt.Tonart) && m_haupt.Vorzeichen == "X")
        m_tonarten->Schwarze_Tasten_aus();
    const Noten::Benennung b = Noten::benenne(k, m_haupt.Tonart, m_haupt.Vorzeichen);
    if (!b.name)
        return;
    Noten::merke(m_haupt, b);
    m_system->Setze_Note(b.code, m_haupt.C_Linie);
    if (!m_haupt.Lern_Modus)
        m_system->zeigeName(QString("Note: ") + b.name);
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
