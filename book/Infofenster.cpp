#include "book/Infofenster.h"

#include "widgets/Bilder.h"
#include "widgets/Verlassen.h"
#include "widgets/DickerWinRand.h"
#include "widgets/Version.h"
#include "widgets/ZentriereForm.h"
#include "web/Webadressen.h"
#include "web/mdlBrowserAufrufen.h"

namespace {
// A text block of an information page, placed in twips.
struct Text
{
    int left, top, width, height;
    const char* text;
};
} // namespace

struct Infoseite
{
    const char* name;
    const char* beschreibung;
    int hoehe;                           // client height; the width is 9600 for both
    Text titel;                          // Label3(7)
    int bilderTop;
    std::array<const char*, 5> bilder;   // Image3 .. Image7
    std::array<Text, 5> namen;           // Label3(0..4)
    std::array<Text, 2> erklaerung;      // Label3(5), Label3(6)
    std::array<quint32, 2> erklaerungFarbe;
    Text Label4;
    int balkenTop;                       // Shape1(0)
    quint32 balkenFarbe;
    Text Label1;
};

namespace {

constexpr std::array<int, 5> BildLeft{480, 2160, 3720, 5280, 6840};
constexpr const char* Gutschrift = "Klavidor " KLAVIDOR_VERSION " © Klavidor-Werkstatt";

const Infoseite PausenSeite{
    "Pausenzeichen",
    "Etwas über die Pausenzeichen",
    7110,
    {4080, 240, 5295, 375, "Etwas über die Pausenzeichen."},
    960,
    {"pause_ganz", "pause_halb", "pause_viertel", "pause_achtel", "pause_sechzehntel"},
    {{{600, 1920, 1575, 375, "Ganze Pause"},
      {2280, 1920, 1575, 375, "Halbe Pause"},
      {3840, 1920, 1695, 375, "Viertelpause"},
      {5400, 1920, 1695, 375, "Achtelpause"},
      {6960, 1920, 2295, 375, "Sechszehntelpause"}}},
    {{{360, 2640, 9135, 1455,
       "Oben sieht man die Pausenzeichen. Am Anfang das Pausenzeichen für einen ganzen Takt. Dann das für einen "
       "halben Tag. Das Pausenzeichen für einen Vierteltakt ist leicht zu merken. Alle weiteren bekommen bei "
       "jeder Halbierung ein Pünkchen mehr - ähnlich den Fähnchen bei den Notenlängen."},
      {360, 4560, 9135, 1095,
       "N.C. sieht man auch oft. Was bedeutet das? Es ist die Abkürzung für No Chord und ist englisch. Es "
       "heißt: \"Kein Akkord\". Also, wo diese Buchstaben drüber stehen, da wird kein Akkord gespielt. Da ruht "
       "sich die linke Hand aus."}}},
    {0xFF0000, 0xFF0000},
    {2640, 6120, 5175, 975,
     "Der Klavidor trainiert nicht die Pausen. Die Pausen werden hier nur gezeigt und können schnell verstanden "
     "werden. Was trainiert werden muss sind die Noten. Da muss man sich ein schnelles Auge angewohnen "
     "(trainieren)."},
    5880,
    0x70543D,
    {120, 6240, 2295, 615, Gutschrift},
};

const Infoseite LaengenSeite{
    "Notenlänge",
    "Etwas über die Notenlänge",
    7545,
    {4200, 240, 5295, 375, "Etwas über die Notenlänge."},
    840,
    {"note_ganz", "note_halb", "note_viertel", "note_achtel", "note_sechzehntel"},
    {{{600, 1800, 1335, 375, "Ganze Note"},
      {2280, 1800, 1335, 375, "Halbe Note"},
      {3840, 1800, 1335, 375, "Viertelnote"},
      {5400, 1800, 1335, 375, "Achtelnote"},
      {6960, 1800, 2295, 375, "Sechszehntelnote"}}},
    {{{120, 2280, 9375, 1575,
       "Die verschiedenen Formen der Noten bedeuten ihre Länge. Die offene große Note ohne Fahnenstange dauert "
       "einen ganzen Takt lang. Die kleinere offene mit Fahnenstange ist eine halbe Note und dauert einen halben "
       "Takt. Dann kommt die Viertelnote, die gefüllt ist. Die kleineren bekommen dann bei jeder Halbierung ein "
       "Fähnchen dazu."},
      {3360, 5520, 6135, 615,
       "Die Namen der Noten gehen von C bis H. Von C bis C nennt man sie dann Oktav (8er)."}}},
    {0xFF0000, 0xC000C0},
    {2640, 6480, 5175, 975,
     "Der Klavidor trainiert nicht die Längen. Die Längen werden hier nur gezeigt und können schnell verstanden "
     "werden. Was trainiert werden muss sind die Noten. Da muss man sich ein schnelles Auge angewohnen "
     "(trainieren)."},
    6240,
    0x800000,
    {120, 6600, 2415, 735, Gutschrift},
};

Beschriftung* beschriftung(QWidget* f, const QString& name, const Text& t, const QFont& font, quint32 farbe)
{
    auto* l = new Beschriftung(f, t.text, font, farbe);
    platziere(l, name, t.left, t.top, t.width, t.height);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    return l;
}

} // namespace

Infofenster::Infofenster(const Infoseite& s, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    Ressourcen_laden();
    setObjectName(s.name);
    setAccessibleName(s.beschreibung);
    setWindowTitle(QString());
    setWindowIcon(bildIcon("icon_info"));
    setFixedSize(tw(9600), tw(s.hoehe));
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);
    setFont(schrift("Arial", 8.25, true));
    setCursor(bildCursor("greifhand2"));

    Image1 = new Bild(this, "banner");
    platziere(Image1, "Image1", 0, 0, 2760, 555);
    Image1->setCursor(bildCursor("haus"));
    Image1->setAccessibleName("Klavidor-Banner: zur Homepage");
    Image1->beiKlick = [this] { Image1_Click(); };

    for (int i : {2, 0}) {
        const quint32 f = i == 2 ? 0x70543D : s.balkenFarbe;
        Shape1[i] = new Form(this, false, f, f);
        if (i == 2)
            platziere(Shape1[i], "Shape1(2)", 0, 650, 9615, 60);
        else
            platziere(Shape1[i], "Shape1(0)", 0, s.balkenTop, 9615, 60);
    }

    std::array<Bild**, 5> bilder{&Image3, &Image4, &Image5, &Image6, &Image7};
    for (int i = 0; i < 5; ++i) {
        auto* b = new Bild(this, s.bilder[i]);
        platziere(b, QString("Image%1").arg(i + 3), BildLeft[i], s.bilderTop, 1410, 930);
        *bilder[i] = b;
    }

    const QFont gross = schrift("Arial", 12, true);
    const QFont erklaerung = schrift("Arial", 9.75, true);
    for (int i = 0; i < 5; ++i)
        Label3[i] = beschriftung(this, arrayName("Label3", i), s.namen[i], gross, 0x000000);
    for (int i = 0; i < 2; ++i)
        Label3[5 + i] = beschriftung(this, arrayName("Label3", 5 + i), s.erklaerung[i], erklaerung, s.erklaerungFarbe[i]);
    Label3[7] = beschriftung(this, "Label3(7)", s.titel, gross, 0x000000);
    Label4 = beschriftung(this, "Label4", s.Label4, font(), 0x000000);
    Label1 = beschriftung(this, "Label1", s.Label1, gross, 0x000000);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Line1[10] = new Linie(this, "Line1(10)", 9600, 1560, 9600, 2520, 8);

    Verlassen = baueVerlassen(this, 8280, 6600);
    connect(Verlassen, &QPushButton::clicked, this, [this] { Verlassen_Click(); });
}

void Infofenster::Form_Load()
{
    Zentriere(*this, 4);
    Setze_DickerRand(*this);
    Zeiger_normal();
}

void Infofenster::Image1_Click() { Browser_Aufrufen(this, Web::Hauptseite); }

void Infofenster::Verlassen_Click() { done(QDialog::Rejected); }

// ---- Pausenzeichen

Pausenzeichen::Pausenzeichen(QWidget* parent) : Infofenster(PausenSeite, parent)
{
    Label2 = beschriftung(this, "Label2", {600, 3960, 855, 495, "N.C."}, schrift("Arial", 18, true), 0x000000);
    Form_Load();
}

// ---- Notenlänge

namespace {

struct Strich
{
    int index, x1, y1, x2, y2, breite;
};
// The treble staff from the a below middle c to the a above the octave: lines, left end, ledger lines.
constexpr std::array<Strich, 11> Notensystem{{
    {0, -120, 4080, 9480, 4080, 2},
    {1, -120, 4320, 9480, 4320, 2},
    {2, -120, 4560, 9480, 4560, 2},
    {3, -120, 4800, 9480, 4800, 2},
    {4, -120, 5040, 9480, 5040, 2},
    {9, 0, 4080, 0, 5040, 4},
    {5, 120, 5280, 720, 5280, 2},
    {6, 120, 5520, 720, 5520, 2},
    {7, 840, 5280, 1440, 5280, 2},
    {11, 1560, 5280, 2160, 5280, 2},
    {8, 8640, 3840, 9240, 3840, 2},
}};

// Note head k rises one step (120) per k; its Left as drawn.
constexpr std::array<int, 15> KopfLeft{240, 960, 1680, 2280, 2880, 3480, 4080, 4680,
                                       5280, 5880, 6480, 7080, 7680, 8280, 8760};

struct Buchstabe
{
    const char* text;
    int left, top;
    quint32 farbe;
};
// Label2(0..14): the octave from middle c in red, the octave above in blue, a and h below in green.
constexpr std::array<Buchstabe, 15> Buchstaben{{
    {"c", 1560, 5400, 0x0000FF}, {"d", 2160, 5280, 0x0000FF}, {"e", 2760, 5160, 0x0000FF},
    {"f", 3360, 5040, 0x0000FF}, {"g", 3960, 5040, 0x0000FF}, {"a", 4560, 5040, 0x0000FF},
    {"h", 5160, 5040, 0x0000FF}, {"c", 5760, 5040, 0xFF0000}, {"d", 6360, 5040, 0xFF0000},
    {"e", 6960, 5040, 0xFF0000}, {"f", 7560, 5040, 0xFF0000}, {"g", 8160, 5040, 0xFF0000},
    {"a", 8640, 5040, 0xFF0000}, {"h", 840, 5520, 0x008000},  {"a", 120, 5640, 0x008000},
}};

} // namespace

Notenlaenge::Notenlaenge(QWidget* parent) : Infofenster(LaengenSeite, parent)
{
    for (const Strich& s : Notensystem)
        Line1[s.index] = new Linie(this, arrayName("Line1", s.index), s.x1, s.y1, s.x2, s.y2, s.breite);
    for (int k = 0; k < 15; ++k) {
        auto* kopf = new Form(this, true, 0xFFFFFF, 0x000000, 2);
        kopf->setGefuellt(false);
        platziere(kopf, arrayName("Shape4", k), KopfLeft[k], 5400 - 120 * k, 375, 255);
        Shape4[k] = kopf;
    }
    const QFont gross = schrift("Arial", 14.25, true);
    for (int i = 0; i < 15; ++i) {
        const Buchstabe& b = Buchstaben[i];
        Label2[i] = beschriftung(this, arrayName("Label2", i), {b.left, b.top, 615, 375, b.text}, gross, b.farbe);
        Label2[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    Form_Load();
}
