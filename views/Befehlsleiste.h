// The command panel: the command buttons Funktion(0..10), the note-name ladder beside the staff
// and the drawings that the commands show and hide.
#pragma once

#include "kern/Modus.h"

#include <QObject>
#include <array>

struct Haupt;
class Bild;
class Infozeilen;
class Knopf;
class QWidget;

class Befehlsleiste : public QObject
{
    Q_OBJECT
public:
    Befehlsleiste(QWidget* flaeche, Haupt& haupt, Infozeilen& info);
    // Runs command i (the indexes of views/Befehlstabelle.h), as its button does.
    void Funktion_Click(int i);
    void setzeModus(Modus modus);
    // "T. normal" and "T. betont", offered while a key signature is chosen.
    void zeigeTonartwahl(bool sichtbar);
    // "zeig meine" and "zeig richtige", offered after a wrong answer.
    void zeigeVergleich(bool sichtbar);

signals:
    // Every command first ends what was pending.
    void befehlBeginnt();
    // A command that the other panels carry out.
    void befehl(int i);
    // A note-name button: it places the note of its staff position.
    void leiterGeklickt(int position);

private:
    void baueLeiter(QWidget* f);
    void baueBefehle(QWidget* f);
    void Do_Maus_Move();
    void zeigeLeiter(bool sichtbar);
    void zeigeBass(bool sichtbar);

    Haupt& m_haupt;
    Infozeilen& m_info;
    std::array<Knopf*, 11> Funktion{};
    std::array<Knopf*, 23> aufLinie_Taste{};
    Bild *Picture2 = nullptr, *Image7 = nullptr;
    // What the switching commands last chose: "Schieben" shown (mouse-over on), the ladder
    // shown, the "Bass" drawing shown.
    bool m_schieben = false, m_leiter = true, m_bass = true;
};
