#include "views/Befehlsleiste.h"

#include "kern/Haupt.h"
#include "kern/Notenmodell.h"
#include "views/Befehlstabelle.h"
#include "widgets/Infozeilen.h"
#include "widgets/Steuerelemente.h"

namespace {

// Note-name ladder aufLinie_Taste(i): Left and Top; the caption and colour are its note's.
struct LeiterZeile
{
    int left, top;
};
constexpr std::array<LeiterZeile, 23> LeiterTabelle{{
    {840, 4440}, {120, 4320}, {840, 4080}, {120, 3960}, {840, 3720}, {120, 3600}, {840, 3360}, {120, 3240},
    {840, 3000}, {120, 2880}, {840, 2640}, {120, 2520}, {840, 2280}, {120, 2160}, {840, 1920}, {120, 1800},
    {120, 4680}, {840, 4800}, {120, 5040}, {840, 5160}, {120, 5400}, {840, 5520}, {120, 5760},
}};

// The commands the viewing mode offers and the learning mode hides.
constexpr int Erste_Ansicht = Befehl::PerKlick, Letzte_Ansicht = Befehl::AlleTasten;


} // namespace

Befehlsleiste::Befehlsleiste(QWidget* f, Haupt& haupt, Infozeilen& info) : QObject(f), m_haupt(haupt), m_info(info)
{
    Picture2 = neuesBild(f, "Picture2", "musizieren", 8280, 2160, 2865, 2730, "Zeichnung: musizieren");
    Picture2->setToolTip("musizieren");
    Image7 = neuesBild(f, "Image7", "bild7", 11160, 1320, 2865, 2610, "Zeichnung: Notenpult");
    Image7->setToolTip("Zeichnung: Klavidor-Atelier");
    baueLeiter(f);
    baueBefehle(f);
}

void Befehlsleiste::baueLeiter(QWidget* f)
{
    for (int i = 0; i < 23; ++i) {
        const int weiss = Noten::Leiter_Weiss(i);
        auto* t = new Knopf(f, true, Noten::Oktavfarbe(weiss));
        t->setText(QString(QChar(Noten::Buchstabe(weiss))));
        t->setzeTw(LeiterTabelle[i].left, LeiterTabelle[i].top, 735, 285);
        t->setObjectName(arrayName("aufLinie_Taste", i));
        t->setFont(schrift("Arial", 12, true));
        connect(t, &QPushButton::clicked, this, [this, i] { emit leiterGeklickt(i); });
        t->beiBewegung = [this] { m_info.hinweis("Diese Tasten zeigen die Noten. Hier kann man sie per Namen eingeben."); };
        aufLinie_Taste[i] = t;
    }
}

void Befehlsleiste::baueBefehle(QWidget* f)
{
    for (int i = 0; i < Befehl::Anzahl; ++i) {
        const auto& z = Befehle::Tabelle[i];
        Funktion[i] = neuerKnopf(f, {z.caption, z.left, z.top, z.width, z.height, Befehle::Farbe, z.tooltip},
                                 arrayName("Funktion", i), 9.75);
        connect(Funktion[i], &QPushButton::clicked, this, [this, i] { Funktion_Click(i); });
        if (z.hovertext)
            Funktion[i]->beiBewegung = [this, i] { m_info.hinweis(Befehle::Tabelle[i].hovertext); };
    }
    for (int i : {Befehl::TNormal, Befehl::ZeigMeine, Befehl::ZeigRichtige})
        Funktion[i]->hide();
    alsAbbrechen(f->window(), Funktion[Befehl::Beenden]);
}

void Befehlsleiste::Funktion_Click(int i)
{
    emit befehlBeginnt();
    if (i < 0 || i >= Befehl::Anzahl)
        return;
    if (const char* text = Befehle::Tabelle[i].befehlstext)
        m_info.info(text);
    switch (i) {
    case Befehl::PerKlick: Do_Maus_Move(); break;
    case Befehl::Buchstaben: zeigeLeiter(!m_leiter); break;
    case Befehl::Bass: zeigeBass(!m_bass); break;
    default: emit befehl(i);
    }
}

void Befehlsleiste::Do_Maus_Move()
{
    // A switch: its caption names what the next press does, "Schieben" while the mouse-over
    // display is on.
    m_schieben = !m_schieben;
    m_haupt.Maus_Move_An = m_schieben;
    Funktion[Befehl::PerKlick]->setText(m_schieben ? "Schieben" : "Per Klick");
}

void Befehlsleiste::zeigeLeiter(bool sichtbar)
{
    m_leiter = sichtbar;
    for (auto* t : aufLinie_Taste)
        t->setVisible(sichtbar);
}

void Befehlsleiste::zeigeBass(bool sichtbar)
{
    m_bass = sichtbar;
    Picture2->setVisible(sichtbar);
}

void Befehlsleiste::setzeModus(Modus modus)
{
    const bool lernen = modus == Modus::Lernen;
    for (int i = Erste_Ansicht; i <= Letzte_Ansicht; ++i)
        Funktion[i]->setVisible(!lernen);
    zeigeLeiter(!lernen);
    zeigeBass(!lernen);
    Image7->setVisible(!lernen);
    zeigeTonartwahl(false);
    if (!lernen)
        zeigeVergleich(false);
}

void Befehlsleiste::zeigeTonartwahl(bool sichtbar)
{
    Funktion[Befehl::TNormal]->setVisible(sichtbar);
    Funktion[Befehl::TBetont]->setVisible(sichtbar);
}

void Befehlsleiste::zeigeVergleich(bool sichtbar)
{
    Funktion[Befehl::ZeigMeine]->setVisible(sichtbar);
    Funktion[Befehl::ZeigRichtige]->setVisible(sichtbar);
}
