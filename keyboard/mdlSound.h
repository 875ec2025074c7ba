// Plays a named sound file of the sound directory, unless sound is switched off.
#pragma once

#include <QString>

struct Haupt;
class Tonausgabe;

void Spiele_Ton(const Haupt& haupt, Tonausgabe& ton, const QString& name);
