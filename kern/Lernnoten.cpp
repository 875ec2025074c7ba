#include "kern/Lernnoten.h"

#include "kern/Haupt.h"
#include "kern/Notenmodell.h"

namespace Lernen {

int Ziehe(Haupt& haupt, int bereich)
{
    const Bereich& b = Bereiche[bereich];
    int z;
    do {
        z = int(haupt.Rnd() * b.anzahl) + 1;
        const int zeile = b.erste + z - 1;
        haupt.Lernnote_Weiss = zeile;
        haupt.Lernnote_Taste = Noten::Weisse_Taste(zeile);
        haupt.Lernnote_Name = Lernnoten[zeile];
    } while (z == haupt.Letzte_Zufallszahl);
    haupt.Letzte_Zufallszahl = z;
    return z;
}

} // namespace Lernen
