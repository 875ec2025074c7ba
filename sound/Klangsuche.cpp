#include "sound/Klangsuche.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <cstdio>

namespace {

const QStringList Klangmuster{"*.wav"};

bool haeltKlaenge(const QString& ordner)
{
    return !QDir(ordner).entryList(Klangmuster, QDir::Files).isEmpty();
}

} // namespace

QStringList Klangordner(const QString& programmordner)
{
    const QDir programm(programmordner);
    return {programm.filePath("klaenge"), QDir::cleanPath(programm.filePath("../share/klavidor/klaenge"))};
}

QString Klangdatei(const QString& pfad, const QString& programmordner)
{
    if (QFileInfo(pfad).isFile())
        return pfad;
    const QString name = QFileInfo(pfad).fileName();
    for (const QString& ordner : Klangordner(programmordner)) {
        const QString kandidat = QDir(ordner).filePath(name);
        if (QFileInfo(kandidat).isFile())
            return kandidat;
    }
    return {};
}

QString findeKlang(const QString& pfad)
{
    const QString programmordner = QCoreApplication::applicationDirPath();
    const QString gefunden = Klangdatei(pfad, programmordner);
    static std::atomic<bool> gemeldet{false};
    if (!gefunden.isEmpty() || gemeldet.load())
        return gefunden;
    QStringList orte = Klangordner(programmordner);
    orte.prepend(QFileInfo(pfad).absolutePath());
    for (const QString& ordner : orte)
        if (haeltKlaenge(ordner))
            return gefunden; // only this one file is missing: silent, as a missing file is
    if (!gemeldet.exchange(true))
        std::fprintf(stderr, "klavidor: keine Klänge gefunden (gesucht in %s)\n", qPrintable(orte.join(", ")));
    return gefunden;
}
