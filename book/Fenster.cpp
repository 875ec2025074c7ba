// The help book and the two information windows, opened modally from the main window.
#include "keyboard/Keyboard.h"

void Keyboard::mnu_HilfeBuch_Click() {}
void Keyboard::mnu_Pausen_Click() {}
void Keyboard::mnu_Laengen_Click() {}
