#include "app/Verzeichnisse.h"

#include "kern/Haupt.h"

#include <QDir>

void Bestimme_Verzeichnisse(Haupt& haupt) { haupt.Akt_Verzeichnis = QDir::currentPath(); }

QString Ton_Verzeichnis_aus(const QString& verzeichnis)
{
    return verzeichnis.endsWith('/') ? verzeichnis : verzeichnis + '/';
}
