#include "sound/mdlSound.h"

#include "sound/Tonausgabe.h"
#include "kern/Haupt.h"
#include "kern/Notenmodell.h"

QStringList Tastenklaenge(const Haupt& haupt)
{
    QStringList pfade;
    for (int k = 0; k < Noten::Tastenzahl; ++k)
        pfade << haupt.Ton_Verzeichnis + Noten::Klangname(k) + ".wav";
    return pfade;
}

void Spiele_Ton(const Haupt& haupt, Tonausgabe& ton, const QString& name)
{
    if (haupt.Ton_aus)
        return;
    // Looked up at each play: a file added while the program runs is played.
    ton.spiele(haupt.Ton_Verzeichnis + name + ".wav");
}
