// The "Webseiten" menu: one entry per fixed web address.
#include "keyboard/Keyboard.h"
#include "keyboard/Menues.h"
#include "web/Webadressen.h"
#include "web/mdlBrowserAufrufen.h"

void Keyboard::fuelleWebMenue(QMenu* m)
{
    for (int i = 0; i < int(Web::Seiten.size()); ++i) {
        const QString adresse = Web::Seiten[i].adresse;
        neuerEintrag(m, arrayName("mnu_Webseite", i), Web::Seiten[i].titel, {}, this,
                     [this, adresse] { Browser_Aufrufen(this, adresse); });
    }
}
