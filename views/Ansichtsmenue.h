// The view options of the "Optionen" menu: the "Ansicht", "Zeige ..." and "Zeige Noten" submenus.
#pragma once

struct Haupt;
class Befehlsleiste;
class Notensystem;
class QMenu;

void fuelleAnsichten(QMenu* optionen, Haupt& haupt, Befehlsleiste& befehle, Notensystem& system);
