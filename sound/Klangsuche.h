// Where the player finds a sound file: where the program asked for it, else in the sound folder
// that belongs to the program itself, so a start from any other folder is not silent.
#pragma once

#include <QString>
#include <QStringList>

// The folders searched after the given path: the build tree's and the installed program's.
QStringList Klangordner(const QString& programmordner);

// The path of the file to play: the given one if it is a file, else the first file of the same
// name in Klangordner(programmordner); empty if there is none.
QString Klangdatei(const QString& pfad, const QString& programmordner);

// Klangdatei() for the running program. The first time a sound is found nowhere and none of the
// folders holds any sound at all, it says so in one line on stderr.
QString findeKlang(const QString& pfad);
