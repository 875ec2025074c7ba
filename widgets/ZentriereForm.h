// Centres a window on the primary screen, and gives an opened window the keyboard.
#pragma once

#include <QPointF>
#include <QSizeF>

class QWidget;

// Top-left corner for a window of the given outer size on a screen; negative when larger.
QPointF Zentriere_Punkt(QSizeF bildschirm, QSizeF fenster);

// Placement code 4 centres on the screen; the program uses no other. A framed window is centred
// again once the window system has put its frame around it, so the outer frame sits in the middle.
void Zentriere(QWidget& fenster, int code);

// Shows the window (if hidden) and makes it the active one, with or without a window manager,
// so that its shortcuts work at once.
void Zeige_aktiv(QWidget& fenster);
