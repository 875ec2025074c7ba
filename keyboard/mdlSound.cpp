#include "keyboard/mdlSound.h"

#include "app/Tonausgabe.h"
#include "keyboard/Haupt.h"

void Spiele_Ton(const Haupt& haupt, Tonausgabe& ton, const QString& name)
{
    if (haupt.Ton_aus)
        return;
    // Looked up at each play: a file added while the program runs is played.
    ton.spiele(haupt.Ton_Verzeichnis + name + ".wav");
}
