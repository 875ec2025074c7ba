// Key signatures: which keys are playable, their colours, the signature's picture and text.
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "kern/Notenmodell.h"
#include "views/Befehlstabelle.h"
#include "kern/Tonartentabelle.h"

void Keyboard::Weisse_Taste_an(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Weiss);
    TheKey[k]->setEnabled(true);
    m_tastenstand.setzeFrei(k, true);
}

void Keyboard::Schwarze_Taste_an(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Schwarz);
    TheKey[k]->setEnabled(true);
    m_tastenstand.setzeFrei(k, true);
}

void Keyboard::Schwarze_Taste_aus(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Schwarz_aus);
    TheKey[k]->setEnabled(false);
    m_tastenstand.setzeFrei(k, false);
}

void Keyboard::Weisse_Taste_aus(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Weiss_aus);
    TheKey[k]->setEnabled(false);
    m_tastenstand.setzeFrei(k, false);
}

void Keyboard::Alle_Tasten_normal()
{
    for (int k = 0; k < Noten::Tastenzahl; ++k)
        if (!Noten::istSchwarz(k))
            Weisse_Taste_an(k);
    for (int k = 0; k < Noten::Tastenzahl; ++k)
        if (Noten::istSchwarz(k))
            Schwarze_Taste_an(k);
}

void Keyboard::Schwarze_Tasten_aus()
{
    for (int k = 0; k < Noten::Tastenzahl; ++k)
        if (Noten::istSchwarz(k))
            Schwarze_Taste_aus(k);
}

// The steps of a signature: the white keys of each note give way to the black keys beside them,
// in every octave.
static void Schritte(Keyboard& kb, const Tonarten::Tonart& tonart)
{
    for (const Tonarten::Ersatz& e : tonart.schrittfolge()) {
        for (int k = e.weiss; k < Noten::Tastenzahl; k += 12)
            kb.Weisse_Taste_aus(k);
        for (int k = e.schwarz; k < Noten::Tastenzahl; k += 12)
            kb.Schwarze_Taste_an(k);
    }
}

void Keyboard::Setze_Tonart()
{
    if (const Tonarten::Tonart* t = Tonarten::finde(m_haupt.Tonart)) {
        Schwarze_Tasten_aus();
        Schritte(*this, *t);
    }
}

void Keyboard::mnu_EinzelneTonarten_Click(int i)
{
    if (!m_haupt.Lern_Modus) {
        Alle_Tasten_normal();
        NotenNamenTextFeld->setText(QString());
    }
    Funktion[Befehl::TNormal]->show();
    Funktion[Befehl::TBetont]->show();
    m_haupt.Tonart = "keine Tonart";
    Funktion_Click(Befehl::TBetont);
    AbdeckFeld->show();
    TextFeld2->setText("Nicht gebrauchte Tasten werden deaktiviert.");
    TonartText->show();
    if (i >= 0 && i < int(Tonarten::Tabelle.size())) {
        const Tonarten::Tonart& t = Tonarten::Tabelle[i];
        Image1->setBild(Ablage_Tonarten().bild(t.bild));
        m_haupt.Tonart = t.name;
        Setze_Tonart();
        m_haupt.Tonart_Info = t.info;
    } else if (i == Tonarten::Menue::AlleTasten) {
        Do_alle_Tasten();
    }
    TonartText->setText(m_haupt.Tonart);
    TextFeld->setText(m_haupt.Tonart_Info);
}

void Keyboard::Do_T_Farbe_normal()
{
    Alle_Tasten_normal();
    TextFeld2->setText("Die Tasten sind auf normale wiedergabe gestellt.");
}

void Keyboard::Do_T_Farbe_anders()
{
    Alle_Tasten_normal();
    Setze_Tonart();
    TextFeld2->setText("Die Tasten sind so eingestellt, dass die abgestellt sind, die man nicht drücken darf.");
}

void Keyboard::Do_alle_Tasten()
{
    Funktion[Befehl::TNormal]->hide();
    Funktion[Befehl::TBetont]->hide();
    Image1->setBild(Ablage_Tonarten().bild(Tonarten::LeerBild));
    m_haupt.Tonart = "keine Tonart";
    Alle_Tasten_normal();
    TonartText->hide();
    AbdeckFeld->hide();
    m_haupt.Tonart_Info = Tonarten::AlleTastenInfo;
    TextFeld2->setText("Alle Tasten sind aktiviert. Keine Tonart ist eingestellt.");
    Funktion1_Click(0);
}

void Keyboard::Funktion1_Click(int i)
{
    static constexpr std::array<const char*, 3> zeichen{"#", "b", "X"};
    static constexpr std::array<const char*, 3> text{
        "“#” wurde gewählt. Alle schwarzen Tasten zeigen die erhöhten Noten.",
        "“b” wurde gewählt. Alle schwarzen Tasten zeigen die erniedrigten Noten.",
        "Schwarze Tasten abgeschaltet.",
    };
    if (i < 0 || i > 2)
        return;
    if (i == 2)
        Schwarze_Tasten_aus();
    else
        Alle_Tasten_normal();
    m_haupt.Vorzeichen = zeichen[i];
    Image5->setVisible(i == 0);
    Image6->setVisible(i == 1);
    TextFeld2->setText(text[i]);
}
