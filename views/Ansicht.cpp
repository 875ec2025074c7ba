// View options: key colour sets, sound, the middle-c line under low notes, the "Bass" drawing.
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "views/Befehlstabelle.h"
#include "kern/Tonartentabelle.h"

#include <array>

namespace {

struct Farbsatz
{
    quint32 weiss, weiss_aus, schwarz, schwarz_aus;
};

constexpr std::array<Farbsatz, 4> Farbsaetze{{
    {0xD5ECF2, 0xFFCEC2, 0x000000, 0x404040},
    {0xFFFFFF, 0xD5ECF2, 0x000000, 0x404040},
    {0x000000, 0x404040, 0xFFFFFF, 0x404040},
    {0xFF0000, 0x70543D, 0xFFFF80, 0xD6D6D6},
}};

} // namespace

void Keyboard::mnu_Farbwahl_Click(int i)
{
    if (i < 0 || i > 3)
        return;
    const Farbsatz& f = Farbsaetze[i];
    m_haupt.Farbe_Weiss = f.weiss;
    m_haupt.Farbe_Weiss_aus = f.weiss_aus;
    m_haupt.Farbe_Schwarz = f.schwarz;
    m_haupt.Farbe_Schwarz_aus = f.schwarz_aus;
    mnu_EinzelneTonarten_Click(Tonarten::Menue::Trennlinie); // no signature: all keys in the new colours
    Funktion1_Click(0);
}

void Keyboard::mnu_Ton_Click()
{
    m_haupt.Ton_aus = !m_haupt.Ton_aus;
    m_tastenstand.setzeTonAus(m_haupt.Ton_aus);
}

void Keyboard::mnu_ohneCLinie_Click() { m_haupt.C_Linie = !m_haupt.C_Linie; }

void Keyboard::mnu_notentasten_Click() { Funktion_Click(Befehl::Buchstaben); }

void Keyboard::mnu_Bass_gesondert_Click() { Funktion_Click(Befehl::Bass); }

void Keyboard::Do_Show_Bass() { Picture2->setVisible(Picture2->isHidden()); }
