// Reads the directory the program was started from; it is also the sound directory.
#pragma once

#include <QString>

struct Haupt;

void Bestimme_Verzeichnisse(Haupt& haupt);

// The sound directory for a directory: exactly one trailing "/" ("/" itself stays "/").
QString Ton_Verzeichnis_aus(const QString& verzeichnis);
