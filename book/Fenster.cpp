// The help book and the two information windows, opened modally from the main window.
#include "widgets/Bilder.h"
#include "widgets/ZentriereForm.h"
#include "book/Buch.h"
#include "book/Infofenster.h"
#include "keyboard/Keyboard.h"
#include "widgets/Menues.h"

#include <QMenuBar>

namespace {

// Shows a freshly loaded window until it is closed; the next opening loads it anew.
void zeigeModal(QDialog* fenster)
{
    fenster->setWindowModality(Qt::ApplicationModal);
    Zeige_aktiv(*fenster);
    fenster->exec();
    delete fenster;
}

} // namespace

void Keyboard::mnu_HilfeBuch_Click()
{
    Zeiger_beschaeftigt();
    // No owner: the book is a window of its own, centred on the screen.
    zeigeModal(new Buch(m_haupt, m_ton));
    Zeiger_normal();
}

void Keyboard::mnu_Pausen_Click() { zeigeModal(new Pausenzeichen); }

void Keyboard::mnu_Laengen_Click() { zeigeModal(new Notenlaenge); }

void Keyboard::fuelleProgrammMenue(QMenu* m)
{
    neuerEintrag(m, "mnu_Längen", "Länge der Noten", {}, this, [this] { mnu_Laengen_Click(); });
    neuerEintrag(m, "mnu_Pausen", "Pausenzeichen", {}, this, [this] { mnu_Pausen_Click(); });
}

void Keyboard::baueHilfeEintrag()
{
    // "Hilfe" acts by itself: an entry of the menu bar, not a menu.
    mnu_HilfeBuch = menuBar()->addAction("Hilfe");
    mnu_HilfeBuch->setObjectName("mnu_HilfeBuch");
    connect(mnu_HilfeBuch, &QAction::triggered, this, [this] { mnu_HilfeBuch_Click(); });
}
