#include "learning/Lernfeld.h"

#include "kern/Haupt.h"
#include "kern/Lernnoten.h"
#include "kern/Notenmodell.h"
#include "views/Befehlsleiste.h"
#include "views/Befehlstabelle.h"
#include "views/Notensystem.h"
#include "widgets/Infozeilen.h"
#include "widgets/Menues.h"
#include "widgets/Steuerelemente.h"

#include <QMenu>
#include <QMessageBox>
#include <QTimer>

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
// The shapes the shape button gives the quick key in turn: a block beside the staff, and a long
// bar over the keyboard. It starts as a bar under the drawings.
constexpr KnopfZeile Blockform{nullptr, 4680, 3240, 1455, 975, 0, nullptr};
constexpr KnopfZeile Leistenform{nullptr, 120, 4440, 11055, 375, 0, nullptr};

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
// Entries 1..3 draw from the ranges their captions name: 2 - 4, 1, 2 and 2 - 5.
constexpr std::array<const char*, 3> Bereich2Menue{"Normalbereich (rot - gelb)", "Bassbereich (braun - rot)",
                                                   "Großbereich (rot - grün)"};
constexpr int Erster_Bereich2 = 6;

// The dots after an answer: the drawn note red when hit; else blue, and the key played black.
constexpr quint32 Farbe_Richtig = 0x0C22EF, Farbe_Gezogen = 0xC97D45, Farbe_Antwort = 0x000000;
constexpr int Naechste_Note_ms = 1500;


} // namespace

Lernfeld::Lernfeld(QWidget* f, Haupt& haupt, Infozeilen& info, Befehlsleiste& befehle, Notensystem& system)
    : QObject(f), m_haupt(haupt), m_info(info), m_befehle(befehle), m_system(system)
{
    bauePanel(f);
    baueTasten(f);
    m_naechsteNote = new QTimer(this);
    m_naechsteNote->setSingleShot(true);
    m_naechsteNote->setInterval(Naechste_Note_ms);
    connect(m_naechsteNote, &QTimer::timeout, this, [this] { naechsteFrage(); });
}

void Lernfeld::bauePanel(QWidget* f)
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
    for (Bild* b : {RichtigWort, FehlerWort, Bitte_Taste_waehlen, LernBild})
        b->hide(); // shown by the learning round
}

void Lernfeld::baueTasten(QWidget* f)
{
    for (int i = 0; i < 10; ++i) {
        LernTasten[i] = neuerKnopf(f, BereichTabelle[i], arrayName("LernTasten", i), 8.25);
        connect(LernTasten[i], &QPushButton::clicked, this, [this, i] { LernTasten_Click(i); });
        LernTasten[i]->beiBewegung = [this] {
            m_info.hinweis("Bereichs- und Übungstasten. Jede Taste umfasst einen Bereich von ca. 4 Tasten und wenn "
                           "man auf eine klickt erscheint eine zufällig bestimmte Note aus diesem Bereich. Mit der "
                           "entsprechenden Keyboardtaste kann man überprüfen, ob man die Lage der Note auf dem "
                           "Keyboard behalten hat.");
        };
    }
    LernTaste = neuerKnopf(f, Schnelltaste, "LernTaste", 8.25);
    Command1 = neuerKnopf(f, Formtaste, "Command1", 8.25);
    LernTasten2 = neuerKnopf(f, Farbhilfe, "LernTasten2", 8.25);
    connect(LernTaste, &QPushButton::clicked, this, [this] { LernTaste_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(LernTasten2, &QPushButton::clicked, this, [this] { zeigeFarbstreifen(!m_farbband); });
    for (auto* t : LernTasten)
        t->hide();
    for (auto* t : {LernTaste, Command1, LernTasten2})
        t->hide();
}

void Lernfeld::fuelleMenue(QMenu* m)
{
    neuerEintrag(m, "mnu_Lernen_einschalten", "Lernen einschalten", QKeySequence("F11"), this,
                 [this] { m_befehle.Funktion_Click(Befehl::Lernen); });
    neuerEintrag(m, "mnu_Lernen_abschalten", "Lernen abschalten", QKeySequence("F12"), this,
                 [this] { m_befehle.Funktion_Click(Befehl::Betrachten); });
    neueLinie(m, "mnu_Linie2");
    for (int i = 0; i < 6; ++i)
        neuerEintrag(m, arrayName("mnu_Bereich", i), BereichMenue[i], QKeySequence(QString("Ctrl+F%1").arg(i + 1)),
                     this, [this, i] { mnu_Bereich_Click(i); });
    neueLinie(m, "mnu_Bereich(6)");
    for (int i = 1; i <= 3; ++i)
        neuerEintrag(m, arrayName("mnu_Bereich2", i), Bereich2Menue[i - 1],
                     QKeySequence(QString("Ctrl+F%1").arg(i + 6)), this,
                     [this, i] { mnu_Bereich_Click(Erster_Bereich2 - 1 + i); });
}

void Lernfeld::fuelleFarbstreifen(QMenu* m)
{
    neuerEintrag(m, "mnu_Farbstreifen", "Farbsteifen zeigen ja/nein", QKeySequence(Qt::Key_Delete), this,
                 [this] { zeigeFarbstreifen(!m_farbband); });
}

void Lernfeld::mnu_Bereich_Click(int i)
{
    m_befehle.Funktion_Click(Befehl::Lernen);
    LernTasten_Click(i);
}

void Lernfeld::setzeModus(Modus modus)
{
    const bool lernen = modus == Modus::Lernen;
    FehlerWort->hide();
    zeigeFarbstreifen(lernen);
    LernTasten2->setVisible(lernen);
    for (auto* t : LernTasten)
        t->setVisible(lernen);
    LernBild->setVisible(lernen);
    if (!lernen) {
        m_schnelltaste = false;
        for (QWidget* w : {static_cast<QWidget*>(LernTaste), static_cast<QWidget*>(Command1),
                           static_cast<QWidget*>(Bitte_Taste_waehlen)})
            w->hide();
    }
}

void Lernfeld::setzeLernbild(const QString& bild) { LernBild->setBild(bild); }

void Lernfeld::zeigeFarbstreifen(bool sichtbar)
{
    m_farbband = sichtbar;
    for (auto* f : Farbe)
        f->setVisible(sichtbar);
}

void Lernfeld::befehlBeginnt()
{
    m_naechsteNote->stop();
    RichtigWort->hide();
}

void Lernfeld::setzeAutomatisch(bool an)
{
    m_automatisch = an;
    if (!an)
        m_naechsteNote->stop();
}

// ---- The draw

void Lernfeld::LernTasten_Click(int i)
{
    m_naechsteNote->stop();
    if (i < 0 || i > 9)
        return;
    m_haupt.Beantwortet = false;
    Bitte_Taste_waehlen->hide();
    m_system.Markierungen_weiss();
    FehlerWort->hide();
    RichtigWort->hide();
    m_befehle.zeigeVergleich(false);
    m_info.info("Auf die Lernbereichstaste klicken um eine Note zu sehen. Dann die richtige weiße Taste klicken.");
    m_haupt.Lernbereich = i;
    // The number is written with a leading blank where the sign of a negative number would stand.
    m_info.hinweis(QString("Es wurde der Lernbereich  %1 gewählt.").arg(i + 1));
    m_haupt.Letzter_Bereich = i;
    m_schnelltaste = true;
    LernTaste->show();
    Command1->show();
    LernTaste->setBackColor(LernTasten[i]->backColor());
    LernTaste->setText(LernTasten[i]->text());
    Lernen::Ziehe(m_haupt, m_haupt.Lernbereich);
    emit gezogen(m_haupt.Lernnote_Taste);
}

void Lernfeld::LernTaste_Click() { LernTasten_Click(m_haupt.Letzter_Bereich); }

void Lernfeld::naechsteFrage()
{
    if (m_haupt.Lern_Modus && m_schnelltaste)
        LernTaste_Click();
}

void Lernfeld::Command1_Click()
{
    m_block = !m_block;
    const KnopfZeile& form = m_block ? Blockform : Leistenform;
    LernTaste->setzeTw(form.left, form.top, form.width, form.height);
}

// ---- The answer

void Lernfeld::beantworte(int k)
{
    // Only the first key after a draw is an answer.
    if (m_haupt.Beantwortet)
        return;
    m_haupt.Beantwortet = true;
    Bitte_Taste_waehlen->show();
    m_system.Markierungen_weiss();
    Pruefe_Antwort(k);
    if (m_automatisch && m_haupt.Lern_Modus)
        m_naechsteNote->start();
}

void Lernfeld::Pruefe_Antwort(int k)
{
    const Lernen::Urteil urteil = Lernen::beurteile(m_haupt, k);
    if (urteil.art == Lernen::Urteil::Schwarz) {
        QMessageBox box(QMessageBox::Information, "Keine schwarzen Tasten.",
                        "Die schwarzen Tasten sind im Lernmodus abgeschaltet. Bitte neue Note geben lassen.",
                        QMessageBox::Ok, LernTaste->window());
        box.setObjectName("Keine_schwarzen_Tasten");
        box.exec();
        return;
    }
    emit zeige(k);
    const bool richtig = urteil.art == Lernen::Urteil::Richtig;
    RichtigWort->setVisible(richtig);
    m_befehle.zeigeVergleich(!richtig);
    if (richtig) {
        m_system.zeigeName("Note: " + m_haupt.Lernnote_Name);
        m_system.faerbePunkt(urteil.notenPunkt, Farbe_Richtig);
        m_info.hinweis("RICHTIG!");
        m_info.info("Es wurde die richtige Note getroffen. Weiter so, damit es immer schneller geht.");
    } else {
        FehlerWort->show();
        m_system.faerbePunkt(urteil.notenPunkt, Farbe_Gezogen);
        m_system.faerbePunkt(urteil.antwortPunkt, Farbe_Antwort);
        m_system.zeigeName("Falsche Note!");
        m_info.hinweis("NICHT RICHTIG!");
        m_info.info("Leider noch nicht richtig gemacht. Bitte weiter üben.");
    }
}

void Lernfeld::Do_zeigen_falsche()
{
    if (!m_haupt.Antwort_Punkt || *m_haupt.Antwort_Punkt == Noten::Kein_Weiss || !m_haupt.Antwort_Taste)
        return;
    emit zeige(*m_haupt.Antwort_Taste);
    m_system.zeigeName("Falsche Note");
}

void Lernfeld::Do_zeigen_richtige()
{
    emit zeige(m_haupt.Lernnote_Taste);
    m_system.zeigeName("Note: " + m_haupt.Lernnote_Name);
}
