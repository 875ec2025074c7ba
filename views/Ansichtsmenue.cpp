#include "views/Ansichtsmenue.h"

#include "kern/Haupt.h"
#include "kern/Notenmodell.h"
#include "views/Befehlsleiste.h"
#include "views/Befehlstabelle.h"
#include "views/Notensystem.h"
#include "widgets/Menues.h"

#include <QMenu>

namespace {

void fuelleZeigeNoten(QMenu* m, Notensystem& system)
{
    neuerEintrag(m, "mnu_mittleresC", "mittleres C", QKeySequence("Ctrl+M"), m,
                 [&system] { system.mittleresC_umschalten(); });
    neueLinie(m, "mnu_Linie5");
    static constexpr std::array<const char*, 7> alle{"mnu_alleC", "mnu_alleD", "mnu_alleE", "mnu_alleF",
                                                     "mnu_alleG", "mnu_alleA", "mnu_alleH"};
    for (int i = 0; i < 7; ++i)
        neuerEintrag(m, alle[i], QString(QChar(Noten::Buchstabe(i))), QKeySequence(QString("Shift+F%1").arg(i + 1)),
                     m, [&system, i] { system.Zeige_alle(i); });
    neueLinie(m, "mnu_Linie4");
    neuerEintrag(m, "mnu_Markierungenzurück", "Markierungen zurücksetzen", QKeySequence("F5"), m,
                 [&system] { system.Markierungen_Grundfarben(); });
}

} // namespace

void fuelleAnsichten(QMenu* optionen, Haupt& haupt, Befehlsleiste& befehle, Notensystem& system)
{
    QMenu* ansicht = neuesMenue(optionen, "mnu_Ansicht", "Ansicht");
    neuerEintrag(ansicht, "mnu_ohneCLinie", "bei Bass C-Linie ja/nein", QKeySequence("F7"), ansicht,
                 [&haupt] { haupt.C_Linie = !haupt.C_Linie; });
    neuerEintrag(ansicht, "mnu_Markierungspunkte", "Markierungspunkte ja/nein", QKeySequence("F8"), ansicht,
                 [&system] { system.Markierungspunkte_umschalten(); });
    QMenu* zeige = neuesMenue(optionen, "mnu_zeige", "Zeige ...");
    const auto befehl = [&befehle](int i) { return [&befehle, i] { befehle.Funktion_Click(i); }; };
    neuerEintrag(zeige, "mnu_Bass_gesondert", "Bass gesondert  ja/nein", QKeySequence("F6"), zeige, befehl(Befehl::Bass));
    neuerEintrag(zeige, "mnu_notentasten", "Notentasten  ja/nein", QKeySequence("Ctrl+N"), zeige,
                 befehl(Befehl::Buchstaben));
    neuerEintrag(zeige, "mnu_maus_über_Tasten", "Maus über Tasten   ja/nein", QKeySequence("Ctrl+U"), zeige,
                 befehl(Befehl::PerKlick));
    fuelleZeigeNoten(neuesMenue(optionen, "mnu_alleTasten", "Zeige Noten"), system);
}
