// The note-name ladder, the command dispatcher and the mouse-over display.
#include "keyboard/Haupt.h"
#include "keyboard/Keyboard.h"
#include "keyboard/Notenmodell.h"

#include <array>

namespace {

// What each command writes into the information line (none for 8 to 10).
const std::array<const char*, 11> Befehlstext{
    "Die Noten mit der Maus schneller zeigen kann man ab- und einschalten.",
    "Buchstaben können ausgeblendet werden um besser lernen zu können.",
    "Da eine zweite Note stören könnte muss man die Noten auf Bass geschrieben einschalten.",
    "Die Tastenfarbe bleibt auch trotz Tonarten normal.",
    "Die Tastenfarbe erscheint verändert. So kann man sich die Tonarten auf der Tastatur besser einprägen und auch "
    "besser üben.",
    "“Alle Tasten” bedeutet, dass man sich auch die schwarzen Tasten ansehen kann. Standardmäßig als #. Man kann "
    "aber auch zwischen # und b wählen, oder abschalten X.",
    "Lernen der Noten. Bereich wählen (Farbige Tasten) und nachher mit der Schnelltaste (groß) jeweils neue Note "
    "aufrufen.",
    "Lernen abschalten. Mit den Noten spielerisch umgehen um sie zu lernen, oder über Tonarten eine “Tonart” "
    "eingeben.",
    nullptr, nullptr, nullptr,
};

// What resting the mouse on a command button explains (nothing new for "Beenden").
const std::array<const char*, 11> Hovertext{
    "Einstellung um die Noten schnell zu zeigen. Einfach indem man die Maus über die weißen Tasten bewegt.",
    "Blendet die Buchstabenschalter aus oder ein. Das geschieht im Lernmodus automatisch.",
    "Zusätzlich werden die Bässe (5 Notenlinien) gezeigt um auch die Bassnoten für die linke Hand lernen zu "
    "können.",
    "Die Tasten werden normal gezeigt. Die Tonarten nicht betont.",
    "Die nicht gespielten Tasten werden in den Tonarten anders gezeigt um leichter üben zu könne. So sieht man "
    "welche Tasten nicht gespielt werden.",
    "Alle Tasten werden zum drücken freigegeben.",
    "Die Lerntaste startet den Lernvorgang. Der Lernvorgang geht wie nicht in Lektionen, sondern nach gewünschten "
    "Tonbereichen.",
    "Abschalten des Lernvorgangs. Die Noten können wieder normal betrachtet werden. Indem man entweder über die "
    "Buchstabentasten geht, oder aber über das Keyboard.",
    "Diese Taste zeigt die falsch eingeben Note um sie mit der richtigen Note vergleichen zu können.",
    "Diese Taste zeigt die richtige Note um sie mit der falsch eingegebenen vergleichen zu können.",
    nullptr,
};

// The key that each note-name button plays: its staff position's white key.
int LeiterTaste(int i) { return Noten::Weisse_Taste(i <= 15 ? i + 7 : 22 - i); }

} // namespace

void Keyboard::aufLinie_Taste_Click(int i)
{
    Setze_Note(i);
    Spiele_Taste(LeiterTaste(i));
}

void Keyboard::aufLinie_Taste_MouseMove(int)
{
    TextFeld2->setText("Diese Tasten zeigen die Noten. Hier kann man sie per Namen eingeben.");
}

void Keyboard::Funktion_Click(int i)
{
    TonartText->setText(QString());
    m_haupt.Beantwortet = true;
    RichtigWort->hide();
    if (i < 0 || i > 10)
        return;
    if (Befehlstext[i])
        TextFeld->setText(Befehlstext[i]);
    switch (i) {
    case 0: Do_Maus_Move(); break;
    case 1: Do_Buchstaben(); break;
    case 2: Do_Show_Bass(); break;
    case 3: Do_T_Farbe_normal(); break;
    case 4: Do_T_Farbe_anders(); break;
    case 5: Do_alle_Tasten(); break;
    case 6: Do_Lernen(); break;
    case 7: Do_Betrachten(); break;
    case 8: Do_zeigen_falsche(); break;
    case 9: Do_zeigen_richtige(); break;
    case 10: Do_Beenden(); break;
    }
}

void Keyboard::Funktion_MouseMove(int i)
{
    if (i >= 0 && i <= 10 && Hovertext[i])
        TextFeld2->setText(Hovertext[i]);
}

void Keyboard::Do_Maus_Move()
{
    // The caption is the state: it names the current mode.
    const bool an = Funktion[0]->text() != "Schieben";
    m_haupt.Maus_Move_An = an;
    Funktion[0]->setText(an ? "Schieben" : "Per Klick");
}

void Keyboard::Do_Buchstaben()
{
    const bool zeigen = aufLinie_Taste[0]->isHidden();
    for (auto* t : aufLinie_Taste)
        t->setVisible(zeigen);
}

void Keyboard::mnu_maus_ueber_Tasten_Click() { Funktion_Click(0); }

void Keyboard::Do_Betrachten()
{
    for (QWidget* w : {static_cast<QWidget*>(LernTaste), static_cast<QWidget*>(Command1),
                       static_cast<QWidget*>(FehlerWort), static_cast<QWidget*>(Bitte_Taste_waehlen)})
        w->hide();
    verstecke_Farbstreifen();
    Picture1->show();
    setzeTonartenMenue(true);
    LernTasten2->hide();
    Image7->show();
    for (auto* t : LernTasten)
        t->hide();
    m_haupt.Lern_Modus = false;
    for (int i = 0; i <= 5; ++i)
        Funktion[i]->show();
    for (auto* t : aufLinie_Taste)
        t->show();
    Picture2->show();
    LernBild->hide();
    Markierungen_Grundfarben();
    for (int i : {9, 8, 3, 4})
        Funktion[i]->hide();
}
