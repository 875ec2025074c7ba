// The learning panel: the range buttons, the quick key and its shape button, the colour band over
// the keys with its button, the answer pictures; the "Lernen" menu. It draws a note from the
// chosen range, judges the key given as the answer, and draws the next one by itself if asked to.
#pragma once

#include "kern/Modus.h"

#include <QObject>
#include <array>

struct Haupt;
class Befehlsleiste;
class Bild;
class Form;
class Infozeilen;
class Knopf;
class Notensystem;
class QMenu;
class QTimer;
class QWidget;

class Lernfeld : public QObject
{
    Q_OBJECT
public:
    Lernfeld(QWidget* flaeche, Haupt& haupt, Infozeilen& info, Befehlsleiste& befehle, Notensystem& system);
    void fuelleMenue(QMenu* lernen);
    void fuelleFarbstreifen(QMenu* farben);
    void setzeModus(Modus modus);
    void setzeLernbild(const QString& bild);

    // Draws a note from range i (0..9), as range button i does.
    void LernTasten_Click(int i);
    // The next note from the last range, if a range has been chosen (the pedal, the timer).
    void naechsteFrage();
    // Key k is the answer to the open question.
    void beantworte(int k);
    void Do_zeigen_falsche();
    void Do_zeigen_richtige();
    // A command ends a pending draw and the "richtig" picture.
    void befehlBeginnt();
    // "Nächste Note automatisch": the next note is drawn a while after each answer.
    void setzeAutomatisch(bool an);

signals:
    // A note was drawn: the window shows it, and sounds it unless the learner answers by ear.
    void gezogen(int k);
    // Shows and sounds key k.
    void zeige(int k);

private:
    void bauePanel(QWidget* f);
    void baueTasten(QWidget* f);
    void LernTaste_Click();
    void Command1_Click();
    void Pruefe_Antwort(int k);
    void zeigeFarbstreifen(bool sichtbar);
    void mnu_Bereich_Click(int i);

    Haupt& m_haupt;
    Infozeilen& m_info;
    Befehlsleiste& m_befehle;
    Notensystem& m_system;
    std::array<Knopf*, 10> LernTasten{};
    Knopf *LernTaste = nullptr, *Command1 = nullptr, *LernTasten2 = nullptr;
    std::array<Form*, 6> Farbe{};
    Bild *RichtigWort = nullptr, *FehlerWort = nullptr, *Bitte_Taste_waehlen = nullptr, *LernBild = nullptr;
    QTimer* m_naechsteNote = nullptr;
    bool m_automatisch = false;
    bool m_schnelltaste = false; // the quick key is offered: a range has been chosen
    bool m_block = false;        // the quick key in its block shape
    bool m_farbband = false;
};
