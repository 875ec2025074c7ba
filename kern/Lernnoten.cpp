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

Urteil beurteile(Haupt& haupt, int k)
{
    const int punkt = Noten::Weisse_Nummer(k);
    haupt.Antwort_Punkt = punkt;
    haupt.Antwort_Taste = k;
    const Urteil::Art art = punkt == Noten::Kein_Weiss  ? Urteil::Schwarz
                            : k == haupt.Lernnote_Taste ? Urteil::Richtig
                                                        : Urteil::Falsch;
    return {art, punkt, haupt.Lernnote_Weiss};
}

} // namespace Lernen
