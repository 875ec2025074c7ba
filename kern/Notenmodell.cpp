#include "kern/Notenmodell.h"

#include "kern/Haupt.h"
#include "kern/Tonartentabelle.h"

namespace Noten {

// The sound files and the keys' own names differ on purpose at the a sharp: the file is "10-b.wav"
// (the German flat name), while the key is named by its sharp, "ais", as every black key is.
static constexpr std::array<const char*, 12> Klangteil{"c", "cis", "d", "dis", "e", "f",
                                                        "fis", "g", "gis", "a", "b", "h"};

QString Klangname(int k)
{
    if (k < 0 || k >= Tastenzahl)
        return {};
    return QString("%1-%2").arg(k, 2, 10, QChar('0')).arg(Klangteil[k % 12]);
}

QString Tastenname(int k)
{
    static constexpr std::array<const char*, 12> teil{"c", "cis", "d", "dis", "e", "f",
                                                      "fis", "g", "gis", "a", "ais", "h"};
    if (k < 0 || k >= Tastenzahl)
        return {};
    return QString(teil[k % 12]) + QString(k / 12, QChar('\''));
}

} // namespace Noten

namespace Noten {

Benennung benenne(int k, const QString& tonart, const QString& vorzeichen)
{
    if (k < 0 || k >= Tastenzahl)
        return Keine;
    // A signature names the black keys its way; without one the accidental buttons decide.
    const Tonarten::Tonart* t = Tonarten::finde(tonart);
    const bool kreuz = t ? t->schreibung == Tonarten::Kreuz : vorzeichen != "b";
    return kreuz ? Tasten[k].kreuz : Tasten[k].be;
}

void merke(Haupt& haupt, Benennung b)
{
    if (!b.name)
        return;
    haupt.Noten_Name = b.name;
    haupt.Noten_Position = b.code;
}

} // namespace Noten
