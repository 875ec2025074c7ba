// The menu bar in its order; each panel fills its own entries. The help book and the two
// information windows open modally from here.
#include "keyboard/Keyboard.h"

#include "book/Buch.h"
#include "book/Infofenster.h"
#include "kern/Haupt.h"
#include "learning/Lernfeld.h"
#include "sound/Tonausgabe.h"
#include "views/Ansichtsmenue.h"
#include "views/Tonartenfeld.h"
#include "web/Webmenue.h"
#include "widgets/Bilder.h"
#include "widgets/Menues.h"
#include "widgets/ZentriereForm.h"

#include <QMenu>
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

void Keyboard::baueMenues()
{
    QMenuBar* mb = menuBar();
    QMenu* programm = neuesMenue(mb, "mnu_programm", "Programm");
    neuerEintrag(programm, "mnu_Längen", "Länge der Noten", {}, this, [] { zeigeModal(new Notenlaenge); });
    neuerEintrag(programm, "mnu_Pausen", "Pausenzeichen", {}, this, [] { zeigeModal(new Pausenzeichen); });
    neueLinie(programm, "mnu_Linie0");
    neuerEintrag(programm, "mnu_beenden", "Beenden", QKeySequence("Ctrl+X"), this, [this] { Do_Beenden(); });

    m_tonarten->fuelleMenue(neuesMenue(mb, "mnu_Tonarten", "Tonarten"));
    m_lernfeld->fuelleMenue(neuesMenue(mb, "mnu_Lernen", "Lernen"));

    QMenu* farben = neuesMenue(mb, "mnu_Tastenfarben", "Farben");
    m_lernfeld->fuelleFarbstreifen(farben);
    neueLinie(farben, "mnu_Linie6");
    m_tonarten->fuelleFarbwahl(farben);

    fuelleOptionen(neuesMenue(mb, "mnu_Optionen", "Optionen"));
    fuelleWebMenue(neuesMenue(mb, "mnu_Webseiten", "Webseiten"), this);

    // "Hilfe" acts by itself: an entry of the menu bar, not a menu.
    QAction* hilfe = mb->addAction("Hilfe");
    hilfe->setObjectName("mnu_HilfeBuch");
    connect(hilfe, &QAction::triggered, this, [this] { mnu_HilfeBuch_Click(); });
}

void Keyboard::fuelleOptionen(QMenu* optionen)
{
    fuelleAnsichten(optionen, m_haupt, *m_befehle, *m_system);
    neueLinie(optionen, "mnu_Linie3");
    neuerEintrag(optionen, "mnu_Ton", "Ton ein/aus", QKeySequence("Ctrl+L"), this, [this] { mnu_Ton_Click(); });
    neuerEintrag(optionen, "mnu_Fenster_verschiebbar", "Fenster verschiebbar ja/nein", QKeySequence("Ctrl+W"), this,
                 [this] { mnu_Fenster_verschiebbar_Click(); });
    neueLinie(optionen, "mnu_Linie7");
    fuelleEingabeMenue(optionen);
}

void Keyboard::mnu_HilfeBuch_Click()
{
    Zeiger_beschaeftigt();
    // No owner: the book is a window of its own, centred on the screen.
    zeigeModal(new Buch(m_haupt, m_ton));
    Zeiger_normal();
}

void Keyboard::mnu_Ton_Click()
{
    m_haupt.Ton_aus = !m_haupt.Ton_aus;
    m_tastenstand.setzeTonAus(m_haupt.Ton_aus);
    m_ton.setzeKlangAn(!m_haupt.Ton_aus);
}
