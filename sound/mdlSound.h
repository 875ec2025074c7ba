// Plays a named sound file of the sound directory, unless sound is switched off.
#pragma once

#include <QString>
#include <QStringList>

struct Haupt;
class Tonausgabe;

void Spiele_Ton(const Haupt& haupt, Tonausgabe& ton, const QString& name);
// The paths of the 40 key sounds, for the output to read ahead.
QStringList Tastenklaenge(const Haupt& haupt);
