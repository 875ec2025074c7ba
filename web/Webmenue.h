// The "Webseiten" menu: one entry per fixed web address.
#pragma once

class QMenu;
class QWidget;

// Fills `m`; each entry opens its address for `fenster` (the busy pointer shows on it).
void fuelleWebMenue(QMenu* m, QWidget* fenster);
