// Reads the directory the program was started from; it is also the sound directory.
#pragma once

#include <QString>
#include <QStringList>

struct Haupt;

void Bestimme_Verzeichnisse(Haupt& haupt);

// The sound directory for a directory: exactly one trailing "/" ("/" itself stays "/").
QString Ton_Verzeichnis_aus(const QString& verzeichnis);

// Where a module of the program ("klavidor_ton.so", ...) is looked for: next to the program (the
// build tree), then in the library folder of the installed program.
QStringList Modulorte(const QString& modulname);
