// Key signatures: which keys are playable, their colours, the signature's picture and text.
#include "keyboard/Haupt.h"
#include "keyboard/Keyboard.h"
#include "keyboard/Notenmodell.h"
#include "views/Tonartentabelle.h"

void Keyboard::Weisse_Taste_an(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Weiss);
    TheKey[k]->setEnabled(true);
}

void Keyboard::Schwarze_Taste_an(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Schwarz);
    TheKey[k]->setEnabled(true);
}

void Keyboard::Schwarze_Taste_aus(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Schwarz_aus);
    TheKey[k]->setEnabled(false);
}

void Keyboard::Weisse_Taste_aus(int k)
{
    TheKey[k]->setBackColor(m_haupt.Farbe_Weiss_aus);
    TheKey[k]->setEnabled(false);
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

// One step: the white keys of one note give way to the black keys beside them, in every octave.
static void Schritt(Keyboard& kb, const Tonarten::Ersatz& e)
{
    for (int k = e.weiss; k < Noten::Tastenzahl; k += 12)
        kb.Weisse_Taste_aus(k);
    for (int k = e.schwarz; k < Noten::Tastenzahl; k += 12)
        kb.Schwarze_Taste_an(k);
}

void Keyboard::Tonart_GDur() { Schritt(*this, Tonarten::Fis); }
void Keyboard::Tonart_DDur() { Tonart_GDur(); Schritt(*this, Tonarten::Cis); }
void Keyboard::Tonart_ADur() { Tonart_DDur(); Schritt(*this, Tonarten::Gis); }
void Keyboard::Tonart_EDur() { Tonart_DDur(); Tonart_ADur(); Schritt(*this, Tonarten::Dis); }
void Keyboard::Tonart_FDur() { Schritt(*this, Tonarten::B); }
void Keyboard::Tonart_BDur() { Tonart_FDur(); Schritt(*this, Tonarten::Es); }
void Keyboard::Tonart_EsDur() { Tonart_BDur(); Schritt(*this, Tonarten::As); }
void Keyboard::Tonart_AsDur() { Tonart_BDur(); Tonart_EsDur(); Schritt(*this, Tonarten::Des); }

void Keyboard::Setze_Tonart()
{
    using Schrittfolge = void (Keyboard::*)();
    static const std::array<std::pair<const char*, Schrittfolge>, 9> folgen{{
        {"Cdur", nullptr}, {"Ddur", &Keyboard::Tonart_DDur}, {"Edur", &Keyboard::Tonart_EDur},
        {"Fdur", &Keyboard::Tonart_FDur}, {"Gdur", &Keyboard::Tonart_GDur}, {"Adur", &Keyboard::Tonart_ADur},
        {"Bdur", &Keyboard::Tonart_BDur}, {"Esdur", &Keyboard::Tonart_EsDur}, {"Asdur", &Keyboard::Tonart_AsDur},
    }};
    for (const auto& [name, folge] : folgen) {
        if (m_haupt.Tonart == name) {
            Schwarze_Tasten_aus();
            if (folge)
                (this->*folge)();
            return;
        }
    }
}

void Keyboard::mnu_EinzelneTonarten_Click(int i)
{
    if (!m_haupt.Lern_Modus) {
        Alle_Tasten_normal();
        NotenNamenTextFeld->setText(QString());
    }
    Funktion[3]->show();
    Funktion[4]->show();
    m_haupt.Tonart = "keine Tonart";
    Funktion_Click(4);
    AbdeckFeld->show();
    TextFeld2->setText("Nicht gebrauchte Tasten werden deaktiviert.");
    TonartText->show();
    if (i >= 0 && i <= 8) {
        const Tonarten::Tonart& t = Tonarten::Tabelle[i];
        Image1->setBild(Ablage_Tonarten().bild(t.bild));
        m_haupt.Tonart = t.name;
        Setze_Tonart();
        m_haupt.Tonart_Info = t.info;
    } else if (i == 14) {
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
    Funktion[3]->hide();
    Funktion[4]->hide();
    Image1->setBild(Ablage_Tonarten().bild("leer"));
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
