// The keyboard panel: the 40 keys in their frame. A key's colour and whether it can be pressed
// follow the keys left on; what pressing one means is the window's business.
#pragma once

#include "kern/Tastenlage.h"

#include <QObject>
#include <array>

struct Haupt;
class Form;
class Infozeilen;
class Knopf;
class QWidget;

class Tastatur : public QObject
{
    Q_OBJECT
public:
    // Publishes the keys left on in `stand`, for an instrument's thread to ask.
    Tastatur(QWidget* flaeche, const Haupt& haupt, Eingang::Tastenstand& stand, Infozeilen& info);
    // Colours every key for the keys left on, in the colour set chosen in `Haupt`.
    void setzeFreie(const Eingang::Tasten& frei);
    // A key held down on an instrument shows pressed.
    void setzeGedrueckt(int k, bool unten);

signals:
    void geklickt(int k);
    void ueberfahren(int k);

private:
    void baueTaste(QWidget* flaeche, int k);

    const Haupt& m_haupt;
    Eingang::Tastenstand& m_stand;
    Infozeilen& m_info;
    Form* Shape1;
    std::array<Knopf*, 40> TheKey{};
};
