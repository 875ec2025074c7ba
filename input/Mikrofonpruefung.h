// "Mikrofon prüfen …": a small window that shows the microphone's level, measures the room's quiet
// for a second, then lists what it hears of each key played: the note and how far from in tune,
// or why nothing was taken. It listens while open, whatever the window's entry says.
#pragma once

#include "input/Mikrofon.h"

#include <QDialog>

class Beschriftung;
class Knopf;
class QListWidget;
class QProgressBar;

class Mikrofonpruefung : public QDialog
{
    Q_OBJECT
public:
    explicit Mikrofonpruefung(Mikrofon& mikro, QWidget* parent = nullptr);
    ~Mikrofonpruefung() override;

    Beschriftung* Hinweis = nullptr;  // what to do now
    QProgressBar* Pegel = nullptr;
    Beschriftung* Schwelle = nullptr; // the quiet measured and the level a note must rise above
    QListWidget* Gehoert = nullptr;   // one line for each note played, the newest last
    Knopf* Verlassen = nullptr;

    static QString Zeile(Mikrofon::Befund art, int note, int cent);

signals:
    void ruheGemessen(double dB); // the room's quiet, to be remembered

private:
    enum class Phase { Oeffnen, Ruhe, Spielen, Aus };
    void starteRuhe();
    void beendeRuhe();
    void zeigePegel(double wert);
    void neuerBefund(Mikrofon::Befund art, int note, int cent);

    Mikrofon& m_mikro;
    Phase m_phase = Phase::Oeffnen;
    double m_lautesteRuhe = 0; // the loudest level heard while quiet was asked for
};
