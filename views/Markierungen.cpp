// The marker dots under the white keys: octave colours, show-all views, the middle-c ring.
#include "keyboard/Keyboard.h"
#include "kern/Notenmodell.h"

namespace {
constexpr quint32 Weiss = 0xFFFFFF, Hellgrau = 0xC0C0C0, Schwarz = 0x000000;
constexpr quint32 Goldgelb = 0x44CDD5, Rot = 0x0C22EF;
} // namespace

void Keyboard::Markierungen_Grundfarben()
{
    for (int i = 0; i < 23; ++i)
        T_Markierung[i]->setFillColor(Noten::Oktavfarbe(i));
    for (auto* m : T_Markierung)
        m->setBorderColor(Schwarz);
}

void Keyboard::Markierungen_loeschen()
{
    for (auto* m : T_Markierung)
        m->setFillColor(Weiss);
    for (auto* m : T_Markierung)
        m->setBorderColor(Hellgrau);
}

void Keyboard::Zeige_alle(int note)
{
    // Every dot of the note: note, note + 7, ... up to the top d (dot 22).
    Markierungen_loeschen();
    for (int i = note; i < 23; i += 7) {
        T_Markierung[i]->setFillColor(Goldgelb);
        T_Markierung[i]->setBorderColor(Schwarz);
    }
    if (note == 1)
        T_Markierung[22]->setBorderColor(Rot); // the "D" view rings the top d in red
}

void Keyboard::mnu_mittleresC_Click()
{
    Form* c = T_Markierung[7];
    c->setBorderColor(c->borderColor() == Rot ? Schwarz : Rot);
}

void Keyboard::mnu_Markierungenzurueck_Click() { Markierungen_Grundfarben(); }

void Keyboard::mnu_Markierungspunkte_Click()
{
    const bool zeigen = T_Markierung[0]->isHidden();
    for (auto* m : T_Markierung)
        m->setVisible(zeigen);
}
