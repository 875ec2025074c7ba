// Centres a window on the primary screen.
#pragma once

#include <QPointF>
#include <QSizeF>

class QWidget;

// Top-left corner for a window of the given outer size on a screen; negative when larger.
QPointF Zentriere_Punkt(QSizeF bildschirm, QSizeF fenster);

// Placement code 4 centres on the screen; the program uses no other.
void Zentriere(QWidget& fenster, int code);
