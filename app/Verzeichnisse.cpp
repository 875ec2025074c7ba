#include "app/Verzeichnisse.h"

#include "keyboard/Haupt.h"

#include <QCoreApplication>
#include <QDir>

#ifndef KLAVIDOR_MODUL_RELATIV
#define KLAVIDOR_MODUL_RELATIV "../lib/klavidor"
#endif

void Bestimme_Verzeichnisse(Haupt& haupt) { haupt.Akt_Verzeichnis = QDir::currentPath(); }

QString Ton_Verzeichnis_aus(const QString& verzeichnis)
{
    return verzeichnis.endsWith('/') ? verzeichnis : verzeichnis + '/';
}

QStringList Modulorte(const QString& modulname)
{
    const QDir programm(QCoreApplication::applicationDirPath());
    return {programm.filePath(modulname), programm.filePath(QString(KLAVIDOR_MODUL_RELATIV) + "/" + modulname)};
}
