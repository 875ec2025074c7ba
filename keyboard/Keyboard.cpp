#include "keyboard/Keyboard.h"

#include "app/Bilder.h"
#include "app/DickerWinRand.h"
#include "app/Tonausgabe.h"
#include "app/ZentriereForm.h"
#include "keyboard/Haupt.h"
#include "keyboard/Notenmodell.h"
#include "web/Webadressen.h"
#include "web/mdlBrowserAufrufen.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMouseEvent>

const QString Keyboard::Titel = "Klavidor  3.1 – Noten lesen lernen am Keyboard";

namespace {

// The client area: it reports mouse moves over the window background.
class Flaeche : public Feld
{
public:
    using Feld::Feld;
    std::function<void()> beiBewegung;

protected:
    void mouseMoveEvent(QMouseEvent*) override
    {
        if (beiBewegung)
            beiBewegung();
    }
};

struct KnopfZeile
{
    const char* caption;
    int left, top, width, height;
    quint32 farbe;
    const char* tooltip;
};

// Function buttons Funktion(0..10).
constexpr std::array<KnopfZeile, 11> FunktionTabelle{{
    {"Per Klick", 8640, 120, 1215, 405, 0xE0E0E0, "Maus über Tasten zeigt Noten"},
    {"Buchstaben", 8640, 600, 1215, 405, 0xE0E0E0, "Tasten zeigen"},
    {"Bass", 8640, 1080, 1215, 405, 0xE0E0E0, "Tasten zeigen"},
    {"T. normal", 10200, 1200, 1215, 405, 0xE0E0E0, "Tasten normal"},
    {"T. betont", 10200, 1680, 1215, 405, 0xE0E0E0, "Tasten betont"},
    {"Alle Tasten", 8640, 1560, 1215, 405, 0xE0E0E0, "Alle Tasten einschalten."},
    {"Lernen", 6960, 120, 1575, 405, 0xE0E0E0, "Lernen von Noten."},
    {"Betrachten", 6960, 600, 1575, 405, 0xE0E0E0, "Betrachten der Noten."},
    {"zeig meine", 1680, 4560, 2055, 405, 0xE0E0E0, "Gegebene Antwort."},
    {"zeig richtige", 3840, 4560, 1935, 405, 0xE0E0E0, "Die richtige Note."},
    {"Beenden", 1560, 240, 1215, 525, 0xE0E0E0, "Ende."},
}};

// Range buttons LernTasten(0..9), then LernTaste, Command1 and LernTasten2.
constexpr std::array<KnopfZeile, 13> LernTabelle{{
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
    {"Bereich", 8280, 4560, 4695, 375, 0x404080, "Gewählter Lernbereich - Schnelltaste"},
    {"B", 10440, 1800, 375, 1815, 0xD6D6D6, "Bereichstaste (Schnelltaste) andere Form."},
    {"X", 13440, 1800, 375, 1815, 0xD6D6D6, "Farbhilfe ja/nein"},
}};

// Note-name ladder aufLinie_Taste(i): Left, Top, colour; the caption is the note's letter.
struct LeiterZeile
{
    int left, top;
    quint32 farbe;
};
constexpr std::array<LeiterZeile, 23> LeiterTabelle{{
    {840, 4440, 0xC0C0FF}, {120, 4320, 0xC0C0FF}, {840, 4080, 0xC0C0FF}, {120, 3960, 0xC0C0FF},
    {840, 3720, 0xC0C0FF}, {120, 3600, 0xC0C0FF}, {840, 3360, 0xC0C0FF}, {120, 3240, 0xFFCEC2},
    {840, 3000, 0xFFCEC2}, {120, 2880, 0xFFCEC2}, {840, 2640, 0xFFCEC2}, {120, 2520, 0xFFCEC2},
    {840, 2280, 0xFFCEC2}, {120, 2160, 0xFFCEC2}, {840, 1920, 0xFFC0FF}, {120, 1800, 0xFFC0FF},
    {120, 4680, 0x99CEC2}, {840, 4800, 0x99CEC2}, {120, 5040, 0x99CEC2}, {840, 5160, 0x99CEC2},
    {120, 5400, 0x99CEC2}, {840, 5520, 0x99CEC2}, {120, 5760, 0x99CEC2},
}};

// Colour bars Farbe(0..5): Left, Width, colour.
struct Balken
{
    int left, width;
    quint32 farbe;
};
constexpr std::array<Balken, 6> FarbbandTabelle{{
    {1800, 1935, 0x404080}, {3720, 1935, 0x0000FF}, {5640, 1935, 0x0080FF},
    {7560, 1935, 0x00FFFF}, {9480, 1935, 0x00FF00}, {11400, 1455, 0xFFFF00},
}};

} // namespace

quint32 Oktavfarbe(int weiss)
{
    return weiss < 7 ? 0x99CEC2 : weiss < 14 ? 0xC0C0FF : weiss < 21 ? 0xFFCEC2 : 0xFFC0FF;
}

// ---- Picture stores

Bildablage::Bildablage(QWidget* besitzer, const QString& name,
                       std::initializer_list<std::pair<const char*, const char*>> bilder)
    : QWidget(besitzer, Qt::Window) // a window of its own that is never shown
{
    setObjectName(name);
    for (const auto& [control, bild] : bilder) {
        auto* b = new Bild(this, bild);
        b->setObjectName(control);
    }
}

QString Bildablage::bild(const QString& control) const
{
    const auto* b = findChild<Bild*>(control);
    return b ? b->bild() : QString();
}

Bildablage& Keyboard::TAblage()
{
    if (!m_TAblage)
        m_TAblage = new Bildablage(this, "TAblage", {{"Lernbild1", "lernbild1"},
                                                   {"Lernbild2", "lernbild2"},
                                                   {"Lernbild3", "lernbild3"},
                                                   {"Lernbild4", "lernbild4"},
                                                   {"GreifHand0", "greifhand0"},
                                                   {"GreifHand1", "greifhand1"},
                                                   {"GreifHand2", "greifhand2"}});
    return *m_TAblage;
}

Bildablage& Keyboard::Ablage_Tonarten()
{
    if (!m_Ablage_Tonarten)
        m_Ablage_Tonarten = new Bildablage(this, "Ablage_Tonarten", {{"Cdur", "tonart_cdur"},
                                                                   {"DDur", "tonart_ddur"},
                                                                   {"Edur", "tonart_edur"},
                                                                   {"FDur", "tonart_fdur"},
                                                                   {"GDur", "tonart_gdur"},
                                                                   {"ADur", "tonart_adur"},
                                                                   {"BDur", "tonart_bdur"},
                                                                   {"EsDur", "tonart_esdur"},
                                                                   {"AsDur", "tonart_asdur"},
                                                                   {"leer", "tonart_leer"}});
    return *m_Ablage_Tonarten;
}

// ---- Construction

Keyboard::Keyboard(Haupt& haupt, Tonausgabe& ton, QWidget* parent)
    : QMainWindow(parent), m_haupt(haupt), m_ton(ton)
{
    Ressourcen_laden();
    setObjectName("Keyboard");
    setAccessibleName("Klavidor");
    // Fixed dialog frame without system menu; no title bar while the title is empty.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    auto* flaeche = new Flaeche(this, 0xFFFFFF);
    flaeche->setObjectName("Keyboard_Flaeche");
    flaeche->setMouseTracking(true);
    flaeche->setAttribute(Qt::WA_NoMousePropagation, false);
    flaeche->beiBewegung = [this] { Form_MouseMove(); };
    flaeche->setFixedSize(tw(14100), tw(8850));
    setCentralWidget(flaeche);
    baueSteuerelemente(flaeche);
    baueMenues();
    alsAbbrechen(this, Funktion[10]);
    adjustSize();
    setFixedSize(size());
    Form_Load();
}

Keyboard::~Keyboard() = default;

void Keyboard::baueSteuerelemente(QWidget* f)
{
    // Lightweight controls first (shapes, lines, pictures, labels); buttons and panels lie above them.
    Shape1 = new Form(f, false, 0x404000, 0x404000);
    platziere(Shape1, "Shape1", 1680, 5040, 11295, 2415);
    Shape1->setAccessibleName("Rahmen des Keyboards");

    for (int i = 0; i < 6; ++i) {
        const auto& z = FarbbandTabelle[i];
        Farbe[i] = new Form(f, false, z.farbe, 0x000000);
        platziere(Farbe[i], arrayName("Farbe", i), z.left, 5040, z.width, 135);
        Farbe[i]->setAccessibleName(QString("Farbband Bereich %1").arg(i + 1));
        Farbe[i]->hide();
    }
    for (int i = 0; i < 23; ++i) {
        T_Markierung[i] = new Form(f, true, Oktavfarbe(i), 0x000000, 2); // a border that reads at any scale
        platziere(T_Markierung[i], arrayName("T_Markierung", i), 1920 + 480 * i, 7320, 255, 255);
        T_Markierung[i]->setAccessibleName("Markierungspunkt " + Noten::Tastenname(Noten::Weisse_Taste(i)));
    }

    // Treble staff, its ledger lines and the bass staff.
    constexpr std::array<int, 8> linieY{2880, 2520, 2160, 1800, 1440, 1080, 720, 360};
    for (int i = 0; i < 8; ++i) {
        const bool kurz = i == 0 || i >= 6;
        NotenLinie[i] = new Linie(f, arrayName("NotenLinie", i), kurz ? 3480 : 3000, linieY[i],
                                  kurz ? 4320 : 4680, linieY[i], 2);
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

    const QFont arialBlack = schrift("Arial Black", 9.75);
    Label4 = new Beschriftung(f, "Noten- Schlüssel", arialBlack, 0x0000FF, 0x800000);
    platziere(Label4, "Label4", 5640, 240, 1215, 615);
    Label1 = new Beschriftung(f, "Bass- Schlüssel", arialBlack, 0x0000FF, 0x800000);
    platziere(Label1, "Label1", 5400, 1560, 1215, 735);
    TextFeld = new Beschriftung(f, "Informationen", schrift("Times New Roman", 9.75, true), 0x000000);
    platziere(TextFeld, "TextFeld", 120, 7920, 12855, 735);
    TextFeld2 = new Beschriftung(f, "Informationen", schrift("Times New Roman", 8.25), 0x000000);
    platziere(TextFeld2, "TextFeld2", 10200, 240, 3855, 855);
    TonartText = new Beschriftung(f, "Tonart", schrift("Arial", 14.25), 0x0000FF);
    platziere(TonartText, "TonartText", 240, 1320, 1215, 375);
    TonartText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    for (auto* l : {Label4, Label1, TextFeld, TextFeld2, TonartText})
        l->setWordWrap(true);
    // Labels are read by their text; the description says what they are for when they are empty.
    TextFeld->setAccessibleDescription("Informationen");
    TextFeld2->setAccessibleDescription("Hinweise");
    TonartText->setAccessibleDescription("Name der Tonart");

    auto bild = [f](const char* name, const char* datei, int l, int t, int w, int h, const char* beschreibung) {
        auto* b = new Bild(f, datei);
        platziere(b, name, l, t, w, h);
        b->setAccessibleName(beschreibung);
        return b;
    };
    Note1 = bild("Note1", "note_hals_oben", 3720, 1560, 495, 1485, "Note im Violinschlüssel");
    Note2 = bild("Note2", "note_hals_unten", 3720, 1560, 495, 1530, "Note im Violinschlüssel");
    Note2->hide();
    Note3 = bild("Note3", "note_hals_oben", 6720, 2400, 495, 1485, "Note im Bassschlüssel");
    for (auto* n : {Note1, Note2, Note3})
        n->setAccessibleDescription("Die Note der zuletzt gewählten Taste; ihr Name steht im Notennamenfeld.");
    Image4 = bild("Image4", "violinschluessel", 4800, 0, 750, 1125, "Violinschlüssel");
    Image4->setToolTip("Notenschlüssel (Dur)");
    Image4->setMouseTracking(true);
    Image4->beiBewegung = [this] { Image4_MouseMove(); };
    Image2 = bild("Image2", "bassschluessel", 5400, 2160, 750, 660, "Bassschlüssel");
    Image2->setToolTip("Bassschlüssel (Bass)");
    Image2->setMouseTracking(true);
    Image2->beiBewegung = [this] { Image2_MouseMove(); };
    RichtigWort = bild("RichtigWort", "richtig", 6000, 4560, 1050, 450, "Richtig");
    FehlerWort = bild("FehlerWort", "fehler", 6000, 4560, 1995, 480, "Nicht richtig");
    Bitte_Taste_waehlen = bild("Bitte_Taste_wählen", "bitte_taste", 10440, 1200, 3405, 525, "Bitte Bereichstaste wählen");
    LernBild = bild("LernBild", "lernbild", 120, 1320, 2925, 3060, "Lernbild");
    for (auto* b : {RichtigWort, FehlerWort, Bitte_Taste_waehlen, LernBild})
        b->hide();
    Picture2 = bild("Picture2", "musizieren", 8280, 2160, 2865, 2730, "Zeichnung: musizieren");
    Picture2->setToolTip("musizieren");
    Image7 = bild("Image7", "bild7", 11160, 1320, 2865, 2610, "Zeichnung: Notenpult");
    Image7->setToolTip("Zeichnung: Klavidor-Atelier");

    // Keys: the white ones first, so that the black keys lie above them and take the click.
    for (bool schwarz : {false, true}) {
        for (int k = 0; k < 40; ++k) {
            if (Noten::istSchwarz(k) != schwarz)
                continue;
            const int weiss = Noten::Weisse_Nummer(schwarz ? k - 1 : k);
            auto* t = new Knopf(f, !schwarz, schwarz ? 0x000000 : 0xD5ECF2);
            t->setObjectName(arrayName("TheKey", k));
            if (schwarz)
                t->setzeTw(1800 + 480 * weiss + 240, 5160, 375, 1335);
            else
                t->setzeTw(1800 + 480 * weiss, 5160, 495, 2175);
            t->setFont(schrift("Arial", 12, true));
            t->setAccessibleName("Taste " + Noten::Tastenname(k));
            connect(t, &QPushButton::clicked, this, [this, k] { TheKey_Click(k); });
            t->beiBewegung = [this, k] { TheKey_MouseMove(k); };
            TheKey[k] = t;
        }
    }

    static constexpr const char* Buchstabe = "CDEFGAH";
    for (int i = 0; i < 23; ++i) {
        const auto& z = LeiterTabelle[i];
        const int weiss = i <= 15 ? i + 7 : 22 - i;
        auto* t = new Knopf(f, true, z.farbe);
        t->setText(QString(QChar(Buchstabe[weiss % 7])));
        t->setzeTw(z.left, z.top, 735, 285);
        t->setObjectName(arrayName("aufLinie_Taste", i));
        t->setFont(schrift("Arial", 12, true));
        connect(t, &QPushButton::clicked, this, [this, i] { aufLinie_Taste_Click(i); });
        t->beiBewegung = [this, i] { aufLinie_Taste_MouseMove(i); };
        aufLinie_Taste[i] = t;
    }

    auto knopf = [f](const KnopfZeile& z, const QString& name, double punkte) {
        auto* t = new Knopf(f, true, z.farbe);
        t->setText(z.caption);
        t->setzeTw(z.left, z.top, z.width, z.height);
        t->setObjectName(name);
        t->setToolTip(z.tooltip);
        t->setFont(schrift("Arial", punkte, true));
        return t;
    };
    for (int i = 0; i < 11; ++i) {
        Funktion[i] = knopf(FunktionTabelle[i], arrayName("Funktion", i), 9.75);
        connect(Funktion[i], &QPushButton::clicked, this, [this, i] { Funktion_Click(i); });
        Funktion[i]->beiBewegung = [this, i] { Funktion_MouseMove(i); };
    }
    for (int i : {3, 8, 9})
        Funktion[i]->hide();

    for (int i = 0; i < 13; ++i) {
        static constexpr std::array<const char*, 3> namen{"LernTaste", "Command1", "LernTasten2"};
        auto* t = knopf(LernTabelle[i], i < 10 ? arrayName("LernTasten", i) : QString(namen[i - 10]), 8.25);
        t->hide();
        if (i < 10) {
            LernTasten[i] = t;
            connect(t, &QPushButton::clicked, this, [this, i] { LernTasten_Click(i); });
            t->beiBewegung = [this, i] { LernTasten_MouseMove(i); };
        }
    }
    LernTaste = findChild<Knopf*>("LernTaste");
    Command1 = findChild<Knopf*>("Command1");
    LernTasten2 = findChild<Knopf*>("LernTasten2");
    connect(LernTaste, &QPushButton::clicked, this, [this] { LernTaste_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(LernTasten2, &QPushButton::clicked, this, [this] { LernTasten2_Click(); });

    // Accidental buttons, their sign panel and the cover that hides them.
    constexpr std::array<KnopfZeile, 3> vorzeichen{{
        {"#", 4920, 2760, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
        {"b", 4920, 3720, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
        {"X", 4560, 3240, 375, 405, 0xFF8080, "Ton erhöhen/erniedrigen"},
    }};
    for (int i = 0; i < 3; ++i) {
        Funktion1[i] = knopf(vorzeichen[i], arrayName("Funktion1", i), 9.75);
        connect(Funktion1[i], &QPushButton::clicked, this, [this, i] { Funktion1_Click(i); });
    }
    Picture5_0 = new Feld(f, 0xFFFFFF);
    platziere(Picture5_0, "Picture5(0)", 4920, 3120, 375, 615);
    Picture5_0->setAccessibleName("Gewählte Vorzeichen");
    Image5 = new Bild(Picture5_0, "kreuz");
    platziere(Image5, "Image5", 120, 120, 120, 345);
    Image5->setAccessibleName("Kreuz");
    Image6 = new Bild(Picture5_0, "be");
    platziere(Image6, "Image6", 120, 120, 120, 345);
    Image6->setAccessibleName("Be");
    AbdeckFeld = new Feld(f, 0xFFFFFF);
    platziere(AbdeckFeld, "AbdeckFeld", 4440, 2760, 855, 1455);
    AbdeckFeld->setAccessibleName("Abdeckung der Vorzeichentasten");

    NamenFeld = new Feld(f, 0xFFFFFF);
    platziere(NamenFeld, "NamenFeld", 5400, 1080, 3135, 495);
    NamenFeld->setAccessibleName("Notenname");
    NotenNamenTextFeld = new Beschriftung(NamenFeld, "Notennamen", schrift("Arial", 9.75, true), 0x000000);
    platziere(NotenNamenTextFeld, "NotenNamenTextFeld", 120, 75, 2895, 375);
    NotenNamenTextFeld->setAccessibleDescription("Name der gezeigten Note");

    Picture1 = new Feld(f, 0xFFFFFF);
    platziere(Picture1, "Picture1", 240, 240, 1215, 1095);
    Picture1->setAccessibleName("Tonart");
    Image1 = new Bild(Picture1, "tonart_leer");
    platziere(Image1, "Image1", 120, 120, 975, 855);
    Image1->setNatuerlicheGroesse(true);
    Image1->setAccessibleName("Vorzeichen der Tonart");

    // The quick key in its block shape reaches into the cover's place: it lies above the cover.
    LernTaste->raise();
}

void Keyboard::baueMenues()
{
    QMenuBar* mb = menuBar();
    auto menue = [](QWidget* oben, const char* name, const char* titel) {
        auto* m = new QMenu(titel, oben);
        m->setObjectName(name);
        if (auto* bar = qobject_cast<QMenuBar*>(oben))
            bar->addMenu(m);
        else
            static_cast<QMenu*>(oben)->addMenu(m);
        return m;
    };
    auto eintrag = [this](QMenu* m, const QString& name, const QString& text, QKeySequence taste,
                          std::function<void()> tat) {
        QAction* a = m->addAction(text);
        a->setObjectName(name);
        a->setShortcut(taste);
        connect(a, &QAction::triggered, this, std::move(tat));
        return a;
    };
    auto linie = [](QMenu* m, const QString& name) { m->addSeparator()->setObjectName(name); };

    mnu_programm = menue(mb, "mnu_programm", "Programm");
    eintrag(mnu_programm, "mnu_Längen", "Länge der Noten", {}, [this] { mnu_Laengen_Click(); });
    eintrag(mnu_programm, "mnu_Pausen", "Pausenzeichen", {}, [this] { mnu_Pausen_Click(); });
    linie(mnu_programm, "mnu_Linie0");
    eintrag(mnu_programm, "mnu_beenden", "Beenden", QKeySequence("Ctrl+X"), [this] { mnu_beenden_Click(); });

    mnu_Tonarten = menue(mb, "mnu_Tonarten", "Tonarten");
    m_tonartenGruppe = new QActionGroup(this);
    m_tonartenGruppe->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    static constexpr std::array<std::pair<const char*, const char*>, 15> tonarten{{
        {"C-dur", "Ctrl+C"}, {"D-dur", "Ctrl+D"}, {"E-dur", "Ctrl+E"}, {"F-dur", "Ctrl+F"},
        {"G-dur", "Ctrl+G"}, {"A-dur", "Ctrl+A"}, {"B-dur", "Ctrl+B"}, {"Es-dur", "Ctrl+S"},
        {"As-dur", "Ctrl+I"}, {"Des-dur", ""}, {"Ges-dur", ""}, {"H-dur", ""}, {"Fis-dur", ""},
        {"-", ""}, {"alle Tasten", "Ctrl+T"},
    }};
    for (int i = 0; i < 15; ++i) {
        const QString name = arrayName("mnu_EinzelneTonarten", i);
        QAction* a = i == 13 ? mnu_Tonarten->addSeparator()
                             : eintrag(mnu_Tonarten, name, tonarten[i].first, QKeySequence(tonarten[i].second),
                                       [this, i] { mnu_EinzelneTonarten_Click(i); });
        a->setObjectName(name);
        if (i >= 9 && i <= 12) {
            a->setVisible(false);
            a->setEnabled(false);
        }
        m_tonartenGruppe->addAction(a);
        mnu_EinzelneTonarten[i] = a;
    }

    mnu_Lernen = menue(mb, "mnu_Lernen", "Lernen");
    eintrag(mnu_Lernen, "mnu_Lernen_einschalten", "Lernen einschalten", QKeySequence("F11"),
            [this] { mnu_Lernen_einschalten_Click(); });
    eintrag(mnu_Lernen, "mnu_Lernen_abschalten", "Lernen abschalten", QKeySequence("F12"),
            [this] { mnu_Lernen_abschalten_Click(); });
    linie(mnu_Lernen, "mnu_Linie2");
    static constexpr std::array<const char*, 6> bereiche{"Bereich 1 (braun)", "Bereich 2 (rot)",
                                                         "Bereich 3 (orange)", "Bereich 4 (gelb)",
                                                         "Bereich 5 (grün)", "Bereich 6 (blau)"};
    for (int i = 0; i < 6; ++i)
        eintrag(mnu_Lernen, arrayName("mnu_Bereich", i), bereiche[i], QKeySequence(QString("Ctrl+F%1").arg(i + 1)),
                [this, i] { mnu_Bereich_Click(i); });
    linie(mnu_Lernen, "mnu_Bereich(6)");
    static constexpr std::array<const char*, 3> bereiche2{"Normalbereich (rot - gelb)", "Bassbereich (braun - rot)",
                                                          "Großbereich (rot - grün)"};
    for (int i = 1; i <= 3; ++i)
        eintrag(mnu_Lernen, arrayName("mnu_Bereich2", i), bereiche2[i - 1],
                QKeySequence(QString("Ctrl+F%1").arg(i + 6)), [this, i] { mnu_Bereich2_Click(i); });

    mnu_Tastenfarben = menue(mb, "mnu_Tastenfarben", "Farben");
    eintrag(mnu_Tastenfarben, "mnu_Farbstreifen", "Farbsteifen zeigen ja/nein", QKeySequence(Qt::Key_Delete),
            [this] { mnu_Farbstreifen_Click(); });
    linie(mnu_Tastenfarben, "mnu_Linie6");
    for (int i = 0; i < 4; ++i)
        eintrag(mnu_Tastenfarben, arrayName("mnu_Farbwahl", i), QString("Tastenfarbwahl %1").arg(i + 1),
                QKeySequence(QString("F%1").arg(i + 1)), [this, i] { mnu_Farbwahl_Click(i); });

    mnu_Optionen = menue(mb, "mnu_Optionen", "Optionen");
    mnu_Ansicht = menue(mnu_Optionen, "mnu_Ansicht", "Ansicht");
    eintrag(mnu_Ansicht, "mnu_ohneCLinie", "bei Bass C-Linie ja/nein", QKeySequence("F7"),
            [this] { mnu_ohneCLinie_Click(); });
    eintrag(mnu_Ansicht, "mnu_Markierungspunkte", "Markierungspunkte ja/nein", QKeySequence("F8"),
            [this] { mnu_Markierungspunkte_Click(); });
    mnu_zeige = menue(mnu_Optionen, "mnu_zeige", "Zeige ...");
    eintrag(mnu_zeige, "mnu_Bass_gesondert", "Bass gesondert  ja/nein", QKeySequence("F6"),
            [this] { mnu_Bass_gesondert_Click(); });
    eintrag(mnu_zeige, "mnu_notentasten", "Notentasten  ja/nein", QKeySequence("Ctrl+N"),
            [this] { mnu_notentasten_Click(); });
    eintrag(mnu_zeige, "mnu_maus_über_Tasten", "Maus über Tasten   ja/nein", QKeySequence("Ctrl+U"),
            [this] { mnu_maus_ueber_Tasten_Click(); });
    mnu_alleTasten = menue(mnu_Optionen, "mnu_alleTasten", "Zeige Noten");
    eintrag(mnu_alleTasten, "mnu_mittleresC", "mittleres C", QKeySequence("Ctrl+M"), [this] { mnu_mittleresC_Click(); });
    linie(mnu_alleTasten, "mnu_Linie5");
    static constexpr std::array<const char*, 7> alle{"mnu_alleC", "mnu_alleD", "mnu_alleE", "mnu_alleF",
                                                     "mnu_alleG", "mnu_alleA", "mnu_alleH"};
    for (int i = 0; i < 7; ++i)
        eintrag(mnu_alleTasten, alle[i], QString(QChar("CDEFGAH"[i])), QKeySequence(QString("Shift+F%1").arg(i + 1)),
                [this, i] { Zeige_alle(i); });
    linie(mnu_alleTasten, "mnu_Linie4");
    eintrag(mnu_alleTasten, "mnu_Markierungenzurück", "Markierungen zurücksetzen", QKeySequence("F5"),
            [this] { mnu_Markierungenzurueck_Click(); });
    linie(mnu_Optionen, "mnu_Linie3");
    eintrag(mnu_Optionen, "mnu_Ton", "Ton ein/aus", QKeySequence("Ctrl+L"), [this] { mnu_Ton_Click(); });
    eintrag(mnu_Optionen, "mnu_Fenster_verschiebbar", "Fenster verschiebbar ja/nein", QKeySequence("Ctrl+W"),
            [this] { mnu_Fenster_verschiebbar_Click(); });

    mnu_Webseiten = menue(mb, "mnu_Webseiten", "Webseiten");
    for (int i = 0; i < int(Web::Seiten.size()); ++i) {
        const QString adresse = Web::Seiten[i].adresse;
        eintrag(mnu_Webseiten, arrayName("mnu_Webseite", i), Web::Seiten[i].titel, {},
                [this, adresse] { Browser_Aufrufen(this, adresse); });
    }

    mnu_HilfeBuch = mb->addAction("Hilfe");
    mnu_HilfeBuch->setObjectName("mnu_HilfeBuch");
    connect(mnu_HilfeBuch, &QAction::triggered, this, [this] { mnu_HilfeBuch_Click(); });
}

void Keyboard::setzeTonartenMenue(bool an)
{
    // The group keeps the four never-offered entries disabled when the menu comes back.
    mnu_Tonarten->setEnabled(an);
    m_tonartenGruppe->setEnabled(an);
}

// ---- Load sequence

void Keyboard::Form_Load()
{
    Zentriere(*this, 4);
    Setze_DickerRand(*this);
    Zeiger_normal();
    m_haupt.C_Linie = true;
    T_Markierung[7]->setBorderColor(0x000000);
    m_haupt.Maus_Move_An = true;
    Funktion_Click(0);
    mnu_EinzelneTonarten_Click(0);
    Funktion_Click(0);
    Funktion_Click(3);
    Funktion_Click(5);
    m_haupt.Lern_Modus = false;
    m_haupt.Vorzeichen = "#";
    m_haupt.Letzte_Zufallszahl = -1;
    // One start in five shows one of the four stored learning pictures.
    const int r = int(m_haupt.Rnd() * 20) + 1;
    if (r % 5 == 0)
        LernBild->setBild(TAblage().bild(QString("Lernbild%1").arg(r / 5)));
}

void Keyboard::Form_MouseMove() { TextFeld2->setText("Klavidor von 2003."); }

void Keyboard::Image4_MouseMove() { TextFeld2->setText("Der normale Notenschlüssel für die Singstimme."); }

void Keyboard::Image2_MouseMove()
{
    TextFeld2->setText("Der Bassschlüssel markiert die tiefen Noten, die man mit der linken Hand spielen kann.");
}

void Keyboard::mnu_beenden_Click() { Do_Beenden(); }

void Keyboard::Do_Beenden() { QCoreApplication::quit(); }

void Keyboard::closeEvent(QCloseEvent* e)
{
    // Closed by the window system: end the program as "Beenden" does.
    e->accept();
    Do_Beenden();
}

void Keyboard::mnu_Fenster_verschiebbar_Click()
{
    const QPoint ort = pos();
    const bool sichtbar = isVisible();
    setWindowTitle(windowTitle().isEmpty() ? Titel : QString());
    // A title brings a title bar to drag the window by; without one the window is fixed.
    setWindowFlags(windowTitle().isEmpty() ? Qt::Window | Qt::FramelessWindowHint
                                           : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    if (sichtbar)
        Zeige_aktiv(*this); // keeps the keyboard, with or without a window manager
    move(ort); // once the new frame exists, so its outer corner stays where it was
}
