#include "sound/Modulorte.h"

#include <QCoreApplication>
#include <QDir>

#ifndef KLAVIDOR_MODUL_RELATIV
#define KLAVIDOR_MODUL_RELATIV "../lib/klavidor"
#endif

QStringList Modulorte(const QString& modulname)
{
    const QDir programm(QCoreApplication::applicationDirPath());
    return {programm.filePath(modulname), programm.filePath(QString(KLAVIDOR_MODUL_RELATIV) + "/" + modulname)};
}
