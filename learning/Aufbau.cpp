// Learning mode's controls and menu entries: the range buttons, the quick key and its shape
// button, the colour-help button, the colour band, the answer pictures; the "Lernen" menu and the
// colour band's entry in "Farben".
#include "keyboard/Keyboard.h"

#include "widgets/Menues.h"

#include <QMenu>

namespace {

// Range buttons LernTasten(0..9).
constexpr std::array<KnopfZeile, 10> BereichTabelle{{
    {"Bereich 1", 10800, 1800, 1335, 375, 0x2F5CA2, "Lernbereich 1"},
    {"Bereich 2", 10800, 2160, 1335, 375, 0x0000FF, "Lernbereich 2"},
    {"Bereich 3", 10800, 2520, 1335, 375, 0x0080FF, "Lernbereich 3"},
    {"Bereich 4", 10800, 2880, 1335, 375, 0x00FFFF, "Lernbereich 4"},
    {"Bereich 5", 10800, 3240, 1335, 375, 0x00FF00, "Lernbereich 5"},
    {"Bereich 6", 12120, 1800, 1335, 375, 0xFFFF00, "Lernbereich 6"},
    {"Bereich  2 - 4", 12120, 2520, 1335, 375, 0x80C0FF, "Lernbereich 2 - 4 zusammen."},
    {"Bereich  1, 2", 12120, 2160, 1335, 375, 0xC0C0FF, "Lernbereich 1 und 2 zusammen."},
    {"Bereich  2 - 5", 12120, 2880, 1335, 375, 0xC0FFFF, "Lernbereich  2 - 5 zusammen."},
    {"Alle", 12120, 3240, 1335, 375, 0xFFC0C0, "Lernbereich: Alle Tasten."},
}};
constexpr KnopfZeile Schnelltaste{"Bereich", 8280, 4560, 4695, 375, 0x404080, "Gewählter Lernbereich - Schnelltaste"};
constexpr KnopfZeile Formtaste{"B", 10440, 1800, 375, 1815, 0xD6D6D6, "Bereichstaste (Schnelltaste) andere Form."};
constexpr KnopfZeile Farbhilfe{"X", 13440, 1800, 375, 1815, 0xD6D6D6, "Farbhilfe ja/nein"};

// Colour bars Farbe(0..5) over the keys: Left, Width, colour.
struct Balken
{
    int left, width;
    quint32 farbe;
};
constexpr std::array<Balken, 6> FarbbandTabelle{{
    {1800, 1935, 0x404080}, {3720, 1935, 0x0000FF}, {5640, 1935, 0x0080FF},
    {7560, 1935, 0x00FFFF}, {9480, 1935, 0x00FF00}, {11400, 1455, 0xFFFF00},
}};

constexpr std::array<const char*, 6> BereichMenue{"Bereich 1 (braun)", "Bereich 2 (rot)", "Bereich 3 (orange)",
                                                  "Bereich 4 (gelb)", "Bereich 5 (grün)", "Bereich 6 (blau)"};
constexpr std::array<const char*, 3> Bereich2Menue{"Normalbereich (rot - gelb)", "Bassbereich (braun - rot)",
                                                   "Großbereich (rot - grün)"};

Bild* neuesBild(QWidget* f, const char* name, const char* datei, int l, int t, int w, int h, const char* beschreibung)
{
    auto* b = new Bild(f, datei);
    platziere(b, name, l, t, w, h);
    b->setAccessibleName(beschreibung);
    b->hide();
    return b;
}

} // namespace

void Keyboard::baueLernen(QWidget* f)
{
    for (int i = 0; i < 6; ++i) {
        const auto& z = FarbbandTabelle[i];
        Farbe[i] = new Form(f, false, z.farbe, 0x000000);
        platziere(Farbe[i], arrayName("Farbe", i), z.left, 5040, z.width, 135);
        Farbe[i]->setAccessibleName(QString("Farbband Bereich %1").arg(i + 1));
        Farbe[i]->hide();
    }
    RichtigWort = neuesBild(f, "RichtigWort", "richtig", 6000, 4560, 1050, 450, "Richtig");
    FehlerWort = neuesBild(f, "FehlerWort", "fehler", 6000, 4560, 1995, 480, "Nicht richtig");
    Bitte_Taste_waehlen = neuesBild(f, "Bitte_Taste_wählen", "bitte_taste", 10440, 1200, 3405, 525,
                                    "Bitte Bereichstaste wählen");
    LernBild = neuesBild(f, "LernBild", "lernbild", 120, 1320, 2925, 3060, "Lernbild");

    for (int i = 0; i < 10; ++i) {
        LernTasten[i] = neuerKnopf(f, BereichTabelle[i], arrayName("LernTasten", i), 8.25);
        connect(LernTasten[i], &QPushButton::clicked, this, [this, i] { LernTasten_Click(i); });
        LernTasten[i]->beiBewegung = [this, i] { LernTasten_MouseMove(i); };
    }
    LernTaste = neuerKnopf(f, Schnelltaste, "LernTaste", 8.25);
    Command1 = neuerKnopf(f, Formtaste, "Command1", 8.25);
    LernTasten2 = neuerKnopf(f, Farbhilfe, "LernTasten2", 8.25);
    connect(LernTaste, &QPushButton::clicked, this, [this] { LernTaste_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(LernTasten2, &QPushButton::clicked, this, [this] { LernTasten2_Click(); });
    for (auto* t : LernTasten)
        t->hide();
    for (auto* t : {LernTaste, Command1, LernTasten2})
        t->hide();
}

void Keyboard::fuelleLernMenue(QMenu* m)
{
    neuerEintrag(m, "mnu_Lernen_einschalten", "Lernen einschalten", QKeySequence("F11"), this,
                 [this] { mnu_Lernen_einschalten_Click(); });
    neuerEintrag(m, "mnu_Lernen_abschalten", "Lernen abschalten", QKeySequence("F12"), this,
                 [this] { mnu_Lernen_abschalten_Click(); });
    neueLinie(m, "mnu_Linie2");
    for (int i = 0; i < 6; ++i)
        neuerEintrag(m, arrayName("mnu_Bereich", i), BereichMenue[i], QKeySequence(QString("Ctrl+F%1").arg(i + 1)),
                     this, [this, i] { mnu_Bereich_Click(i); });
    neueLinie(m, "mnu_Bereich(6)");
    for (int i = 1; i <= 3; ++i)
        neuerEintrag(m, arrayName("mnu_Bereich2", i), Bereich2Menue[i - 1], QKeySequence(QString("Ctrl+F%1").arg(i + 6)),
                     this, [this, i] { mnu_Bereich2_Click(i); });
}

void Keyboard::fuelleFarbstreifen(QMenu* m)
{
    neuerEintrag(m, "mnu_Farbstreifen", "Farbsteifen zeigen ja/nein", QKeySequence(Qt::Key_Delete), this,
                 [this] { mnu_Farbstreifen_Click(); });
}
