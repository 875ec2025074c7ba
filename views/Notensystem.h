// The staff panel: the treble staff with its ledger lines, the short bass staff, the clefs, the
// notes, the marker dots under the white keys and the note-name field with the microphone's level.
#pragma once

#include <QObject>
#include <QString>
#include <array>

class Bild;
class Beschriftung;
class Feld;
class Form;
class Infozeilen;
class Linie;
class QWidget;

class Notensystem : public QObject
{
public:
    Notensystem(QWidget* flaeche, Infozeilen& info);

    // Places the note of staff position `code` (0..22); `cLinie`: the middle c's ledger line
    // under the low bass notes.
    void Setze_Note(int code, bool cLinie);
    void zeigeName(const QString& text);

    // The marker dots.
    void Markierungen_weiss();
    void Markierungen_Grundfarben();
    void Markierungen_loeschen();
    void Zeige_alle(int note); // 0 = C ... 6 = H
    void faerbePunkt(int punkt, quint32 farbe);
    void mittleresC_umschalten();
    void Markierungspunkte_umschalten();

    // The microphone's level (0..1) as a bar along the bottom of the name field, while it listens.
    void setzePegel(double wert);
    void zeigePegel(bool sichtbar);

private:
    void baueLinien(QWidget* f);
    void baueSchluessel(QWidget* f);
    void bauePunkte(QWidget* f);
    void baueNamenFeld(QWidget* f);

    Infozeilen& m_info;
    std::array<Linie*, 8> NotenLinie{};
    std::array<Linie*, 3> NotenLinie2{};
    std::array<Linie*, 5> NotenLinieBass{};
    Bild *Note1 = nullptr, *Note2 = nullptr, *Note3 = nullptr;
    Bild *Image4 = nullptr, *Image2 = nullptr;
    Beschriftung *Label4 = nullptr, *Label1 = nullptr;
    std::array<Form*, 23> T_Markierung{};
    bool m_punkteSichtbar = true;
    Feld* NamenFeld = nullptr;
    Beschriftung* NotenNamenTextFeld = nullptr;
    Form* Pegelbalken = nullptr;
};
