#include "web/Webmenue.h"

#include "web/Webadressen.h"
#include "web/mdlBrowserAufrufen.h"
#include "widgets/Menues.h"
#include "widgets/Steuerelemente.h"

#include <QWidget>

void fuelleWebMenue(QMenu* m, QWidget* fenster)
{
    for (int i = 0; i < int(Web::Seiten.size()); ++i) {
        const QString adresse = Web::Seiten[i].adresse;
        neuerEintrag(m, arrayName("mnu_Webseite", i), Web::Seiten[i].titel, {}, fenster,
                     [fenster, adresse] { Browser_Aufrufen(fenster, adresse); });
    }
}
