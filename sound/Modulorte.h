// Where the program's modules (player, MIDI, microphone) are found.
#pragma once

#include <QString>
#include <QStringList>

// Where a module of the program ("klavidor_ton.so", ...) is looked for: next to the program (the
// build tree), then in the library folder of the installed program.
QStringList Modulorte(const QString& modulname);
