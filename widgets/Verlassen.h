// The "Verlassen" button that the help book, the information windows and the microphone check share.
#pragma once

#include "widgets/Bilder.h"
#include "widgets/Steuerelemente.h"

// A coloured button at Left, Top (twips), 1215 x 405, with the open hand over it; Esc presses it.
inline Knopf* baueVerlassen(QWidget* fenster, int left, int top)
{
    auto* k = new Knopf(fenster, true, 0xFF8080);
    k->setText("Verlassen");
    k->setFont(schrift("Arial", 9.75, true));
    k->setToolTip("Verlassen der Hilfe.");
    k->setzeTw(left, top, 1215, 405);
    k->setObjectName("Verlassen");
    k->setCursor(bildCursor("greifhand1"));
    k->setAutoDefault(false);
    alsAbbrechen(fenster, k);
    return k;
}
