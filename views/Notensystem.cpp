#include "views/Notensystem.h"

#include "kern/Notenmodell.h"
#include "widgets/Infozeilen.h"
#include "widgets/Steuerelemente.h"

#include <algorithm>

namespace {

// Staff lines NotenLinie(0..7), top to bottom by index: 0 is the middle c's ledger line, 6 and 7
// the ledger lines above the staff.
constexpr std::array<int, 8> LinieY{2880, 2520, 2160, 1800, 1440, 1080, 720, 360};
constexpr bool kurzeLinie(int i) { return i == 0 || i >= 6; }

constexpr quint32 Weiss = 0xFFFFFF, Hellgrau = 0xC0C0C0, Schwarz = 0x000000;
constexpr quint32 Goldgelb = 0x44CDD5, Rot = 0x0C22EF;
constexpr int MittleresC = 7; // the dot under the middle c
constexpr int Pegelbreite = 2895;
constexpr quint32 Pegelfarbe = 0x00C000;


} // namespace

Notensystem::Notensystem(QWidget* f, Infozeilen& info) : QObject(f), m_info(info)
{
    bauePunkte(f);
    baueLinien(f);
    baueSchluessel(f);
    baueNamenFeld(f);
}

void Notensystem::baueLinien(QWidget* f)
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

void Notensystem::baueSchluessel(QWidget* f)
{
    const QFont arialBlack = schrift("Arial Black", 9.75);
    Label4 = new Beschriftung(f, "Noten- Schlüssel", arialBlack, 0x0000FF, 0x800000);
    platziere(Label4, "Label4", 5640, 240, 1215, 615);
    Label1 = new Beschriftung(f, "Bass- Schlüssel", arialBlack, 0x0000FF, 0x800000);
    platziere(Label1, "Label1", 5400, 1560, 1215, 735);
    for (auto* l : {Label4, Label1})
        l->setWordWrap(true);
    Note1 = neuesBild(f, "Note1", "note_hals_oben", 3720, 1560, 495, 1485, "Note im Violinschlüssel");
    Note2 = neuesBild(f, "Note2", "note_hals_unten", 3720, 1560, 495, 1530, "Note im Violinschlüssel");
    Note2->hide();
    Note3 = neuesBild(f, "Note3", "note_hals_oben", 6720, 2400, 495, 1485, "Note im Bassschlüssel");
    for (auto* n : {Note1, Note2, Note3})
        n->setAccessibleDescription("Die Note der zuletzt gewählten Taste; ihr Name steht im Notennamenfeld.");
    Image4 = neuesBild(f, "Image4", "violinschluessel", 4800, 0, 750, 1125, "Violinschlüssel");
    Image4->setToolTip("Notenschlüssel (Dur)");
    Image4->setMouseTracking(true);
    Image4->beiBewegung = [this] { m_info.hinweis("Der normale Notenschlüssel für die Singstimme."); };
    Image2 = neuesBild(f, "Image2", "bassschluessel", 5400, 2160, 750, 660, "Bassschlüssel");
    Image2->setToolTip("Bassschlüssel (Bass)");
    Image2->setMouseTracking(true);
    Image2->beiBewegung = [this] {
        m_info.hinweis("Der Bassschlüssel markiert die tiefen Noten, die man mit der linken Hand spielen kann.");
    };
}

void Notensystem::bauePunkte(QWidget* f)
{
    for (int i = 0; i < 23; ++i) {
        T_Markierung[i] = new Form(f, true, Noten::Oktavfarbe(i), Schwarz, 2); // a border that reads at any scale
        platziere(T_Markierung[i], arrayName("T_Markierung", i), 1920 + 480 * i, 7320, 255, 255);
        T_Markierung[i]->setAccessibleName("Markierungspunkt " + Noten::Tastenname(Noten::Weisse_Taste(i)));
    }
}

void Notensystem::baueNamenFeld(QWidget* f)
{
    NamenFeld = new Feld(f, 0xFFFFFF);
    platziere(NamenFeld, "NamenFeld", 5400, 1080, 3135, 495);
    NamenFeld->setAccessibleName("Notenname");
    NotenNamenTextFeld = new Beschriftung(NamenFeld, "Notennamen", schrift("Arial", 9.75, true), 0x000000);
    platziere(NotenNamenTextFeld, "NotenNamenTextFeld", 120, 75, 2895, 375);
    NotenNamenTextFeld->setAccessibleDescription("Name der gezeigten Note");
    Pegelbalken = new Form(NamenFeld, false, Pegelfarbe, Pegelfarbe);
    platziere(Pegelbalken, "Pegelbalken", 120, 450, Pegelbreite, 45);
    Pegelbalken->setAccessibleName("Mikrofonpegel");
    Pegelbalken->hide();
}

void Notensystem::Setze_Note(int code, bool cLinie)
{
    if (code < 0 || code > 22)
        return;
    const Noten::Notenstelle& s = Noten::Stellen[code];
    Note1->setVisible(s.bild == 1);
    Note2->setVisible(s.bild == 2);
    (s.bild == 1 ? Note1 : Note2)->move(Note1->x(), tw(s.top));
    Note3->setVisible(s.top3 >= 0);
    if (s.top3 >= 0)
        Note3->move(Note3->x(), tw(s.top3));
    NotenLinie[0]->setVisible((s.linien & Noten::L0) && !(s.cLinieFrei && !cLinie));
    NotenLinie[6]->setVisible(s.linien & Noten::L6);
    NotenLinie[7]->setVisible(s.linien & Noten::L7);
    NotenLinie2[0]->setVisible(s.linien & Noten::U0);
    NotenLinie2[1]->setVisible(s.linien & Noten::U1);
    NotenLinie2[2]->setVisible(s.linien & Noten::U2);
}

void Notensystem::zeigeName(const QString& text) { NotenNamenTextFeld->setText(text); }

void Notensystem::Markierungen_weiss()
{
    // Shown again too: an answer must be seen even where the dots were switched off.
    m_punkteSichtbar = true;
    for (auto* m : T_Markierung) {
        m->show();
        m->setBorderColor(Schwarz);
        m->setFillColor(Weiss);
    }
}

void Notensystem::Markierungen_Grundfarben()
{
    for (int i = 0; i < 23; ++i) {
        T_Markierung[i]->setFillColor(Noten::Oktavfarbe(i));
        T_Markierung[i]->setBorderColor(Schwarz);
    }
}

void Notensystem::Markierungen_loeschen()
{
    for (auto* m : T_Markierung) {
        m->setFillColor(Weiss);
        m->setBorderColor(Hellgrau);
    }
}

void Notensystem::Zeige_alle(int note)
{
    // Every dot of the note: note, note + 7, ... up to the top d (dot 22).
    Markierungen_loeschen();
    for (int i = note; i < 23; i += 7) {
        T_Markierung[i]->setFillColor(Goldgelb);
        T_Markierung[i]->setBorderColor(Schwarz);
    }
    if (note == 1)
        T_Markierung[22]->setBorderColor(Rot); // the "D" view rings the top d in red
}

void Notensystem::faerbePunkt(int punkt, quint32 farbe)
{
    if (punkt >= 0 && punkt < 23)
        T_Markierung[punkt]->setFillColor(farbe);
}

void Notensystem::mittleresC_umschalten()
{
    Form* c = T_Markierung[MittleresC];
    c->setBorderColor(c->borderColor() == Rot ? Schwarz : Rot);
}

void Notensystem::Markierungspunkte_umschalten()
{
    m_punkteSichtbar = !m_punkteSichtbar;
    for (auto* m : T_Markierung)
        m->setVisible(m_punkteSichtbar);
}

void Notensystem::setzePegel(double wert)
{
    Pegelbalken->resize(qRound(tw(Pegelbreite) * std::clamp(wert, 0.0, 1.0)), Pegelbalken->height());
}

void Notensystem::zeigePegel(bool sichtbar) { Pegelbalken->setVisible(sichtbar); }
