// The keyboard's own controls: the frame, the keys, the marker dots, the staffs with their notes
// and clefs, the information lines, the note-name panel and the decorative pictures.
#include "keyboard/Keyboard.h"

#include "kern/Notenmodell.h"

namespace {

// Staff lines NotenLinie(0..7), top to bottom by index: 0 is the middle c's ledger line, 6 and 7
// the ledger lines above the staff.
constexpr std::array<int, 8> LinieY{2880, 2520, 2160, 1800, 1440, 1080, 720, 360};
constexpr bool kurzeLinie(int i) { return i == 0 || i >= 6; }

Bild* neuesBild(QWidget* f, const char* name, const char* datei, int l, int t, int w, int h, const char* beschreibung)
{
    auto* b = new Bild(f, datei);
    platziere(b, name, l, t, w, h);
    b->setAccessibleName(beschreibung);
    return b;
}

} // namespace

void Keyboard::baueTaste(QWidget* f, int k)
{
    const bool schwarz = Noten::istSchwarz(k);
    const int weiss = Noten::Weisse_Nummer(schwarz ? k - 1 : k);
    auto* t = new Knopf(f, !schwarz, schwarz ? 0x000000 : 0xD5ECF2);
    t->setObjectName(arrayName("TheKey", k));
    if (schwarz)
        t->setzeTw(1800 + 480 * weiss + 240, 5160, 375, 1335);
    else
        t->setzeTw(1800 + 480 * weiss, 5160, 495, 2175);
    t->setFont(schrift("Arial", 12, true));
    t->setAccessibleName("Taste " + Noten::Tastenname(k));
    connect(t, &QPushButton::clicked, this, [this, k] { Taste_Eingabe(k, Herkunft::Maus); });
    t->beiBewegung = [this, k] { TheKey_MouseMove(k); };
    TheKey[k] = t;
}

void Keyboard::baueNotensysteme(QWidget* f)
{
    // Treble staff, its ledger lines and the bass staff.
    for (int i = 0; i < 8; ++i) {
        const bool kurz = kurzeLinie(i);
        NotenLinie[i] = new Linie(f, arrayName("NotenLinie", i), kurz ? 3480 : 3000, LinieY[i],
                                  kurz ? 4320 : 4680, LinieY[i], 2);
        NotenLinie[i]->setAccessibleName(kurz ? "Hilfslinie" : "Notenlinie");
    }
    NotenLinie[6]->hide();
    NotenLinie[7]->hide();
    for (int i = 0; i < 3; ++i) {
        NotenLinie2[i] = new Linie(f, arrayName("NotenLinie2", i), 3480, 3240 + 360 * i, 4320, 3240 + 360 * i, 2);
        NotenLinie2[i]->setAccessibleName("Hilfslinie");
        NotenLinie2[i]->hide();
    }
    for (int i = 0; i < 5; ++i) {
        NotenLinieBass[i] = new Linie(f, arrayName("NotenLinieBass", i), 6240, 2760 + 360 * i, 7680, 2760 + 360 * i, 2);
        NotenLinieBass[i]->setAccessibleName("Bass-Notenlinie");
    }
}

void Keyboard::baueTastatur(QWidget* f)
{
    Shape1 = new Form(f, false, 0x404000, 0x404000);
    platziere(Shape1, "Shape1", 1680, 5040, 11295, 2415);
    Shape1->setAccessibleName("Rahmen des Keyboards");
    for (int i = 0; i < 23; ++i) {
        T_Markierung[i] = new Form(f, true, Noten::Oktavfarbe(i), 0x000000, 2); // a border that reads at any scale
        platziere(T_Markierung[i], arrayName("T_Markierung", i), 1920 + 480 * i, 7320, 255, 255);
        T_Markierung[i]->setAccessibleName("Markierungspunkt " + Noten::Tastenname(Noten::Weisse_Taste(i)));
    }

    baueNotensysteme(f);

    const QFont arialBlack = schrift("Arial Black", 9.75);
    Label4 = new Beschriftung(f, "Noten- Schlüssel", arialBlack, 0x0000FF, 0x800000);
    platziere(Label4, "Label4", 5640, 240, 1215, 615);
    Label1 = new Beschriftung(f, "Bass- Schlüssel", arialBlack, 0x0000FF, 0x800000);
    platziere(Label1, "Label1", 5400, 1560, 1215, 735);
    TextFeld = new Beschriftung(f, "Informationen", schrift("Times New Roman", 9.75, true), 0x000000);
    platziere(TextFeld, "TextFeld", 120, 7920, 12855, 735);
    TextFeld2 = new Beschriftung(f, "Informationen", schrift("Times New Roman", 8.25), 0x000000);
    platziere(TextFeld2, "TextFeld2", 10200, 240, 3855, 855);
    for (auto* l : {Label4, Label1, TextFeld, TextFeld2})
        l->setWordWrap(true);
    // Labels are read by their text; the description says what they are for when they are empty.
    TextFeld->setAccessibleDescription("Informationen");
    TextFeld2->setAccessibleDescription("Hinweise");

    Note1 = neuesBild(f, "Note1", "note_hals_oben", 3720, 1560, 495, 1485, "Note im Violinschlüssel");
    Note2 = neuesBild(f, "Note2", "note_hals_unten", 3720, 1560, 495, 1530, "Note im Violinschlüssel");
    Note2->hide();
    Note3 = neuesBild(f, "Note3", "note_hals_oben", 6720, 2400, 495, 1485, "Note im Bassschlüssel");
    for (auto* n : {Note1, Note2, Note3})
        n->setAccessibleDescription("Die Note der zuletzt gewählten Taste; ihr Name steht im Notennamenfeld.");
    Image4 = neuesBild(f, "Image4", "violinschluessel", 4800, 0, 750, 1125, "Violinschlüssel");
    Image4->setToolTip("Notenschlüssel (Dur)");
    Image4->setMouseTracking(true);
    Image4->beiBewegung = [this] { Image4_MouseMove(); };
    Image2 = neuesBild(f, "Image2", "bassschluessel", 5400, 2160, 750, 660, "Bassschlüssel");
    Image2->setToolTip("Bassschlüssel (Bass)");
    Image2->setMouseTracking(true);
    Image2->beiBewegung = [this] { Image2_MouseMove(); };
    Picture2 = neuesBild(f, "Picture2", "musizieren", 8280, 2160, 2865, 2730, "Zeichnung: musizieren");
    Picture2->setToolTip("musizieren");
    Image7 = neuesBild(f, "Image7", "bild7", 11160, 1320, 2865, 2610, "Zeichnung: Notenpult");
    Image7->setToolTip("Zeichnung: Klavidor-Atelier");

    for (bool schwarz : {false, true})
        for (int k = 0; k < Noten::Tastenzahl; ++k)
            if (Noten::istSchwarz(k) == schwarz)
                baueTaste(f, k);

    NamenFeld = new Feld(f, 0xFFFFFF);
    platziere(NamenFeld, "NamenFeld", 5400, 1080, 3135, 495);
    NamenFeld->setAccessibleName("Notenname");
    NotenNamenTextFeld = new Beschriftung(NamenFeld, "Notennamen", schrift("Arial", 9.75, true), 0x000000);
    platziere(NotenNamenTextFeld, "NotenNamenTextFeld", 120, 75, 2895, 375);
    NotenNamenTextFeld->setAccessibleDescription("Name der gezeigten Note");
}
