// Gives a window a sunken edge around its client area.
#pragma once

class QWidget;

// Idempotent: a second call leaves the window as after the first.
void Setze_DickerRand(QWidget& fenster);
bool hat_DickerRand(const QWidget& fenster);
