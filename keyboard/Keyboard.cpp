#include "keyboard/Keyboard.h"

#include "widgets/Bilder.h"
#include "widgets/DickerWinRand.h"
#include "widgets/Version.h"
#include "widgets/ZentriereForm.h"
#include "kern/Haupt.h"
#include "widgets/Menues.h"
#include "views/Befehlstabelle.h"
#include "kern/Tonartentabelle.h"
#include "web/Webmenue.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMouseEvent>

const QString Keyboard::Titel = "Klavidor  " KLAVIDOR_VERSION " – Noten lesen lernen am Keyboard";

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

} // namespace

// ---- Picture stores

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
    if (!m_Ablage_Tonarten) {
        // One picture per signature of the table, named by it, and the empty one.
        std::vector<std::pair<QString, QString>> bilder;
        for (const auto& t : Tonarten::Tabelle)
            bilder.emplace_back(t.bild, QString("tonart_") + QString(t.bild).toLower());
        bilder.emplace_back(Tonarten::LeerBild, QString("tonart_") + Tonarten::LeerBild);
        m_Ablage_Tonarten = new Bildablage(this, "Ablage_Tonarten", bilder);
    }
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
    baueTastatur(flaeche);
    baueAnsichten(flaeche);
    baueLernen(flaeche);
    ordneStapel();
    baueMenues();
    alsAbbrechen(this, Funktion[Befehl::Beenden]);
    adjustSize();
    setFixedSize(size());
    Form_Load();
}

Keyboard::~Keyboard() = default;

void Keyboard::ordneStapel()
{
    // The controls bottom to top, in the layout's order, which is also the order the Tab key
    // visits them in. Where two controls overlap, the upper one shows and takes the click: the
    // black keys lie over the white ones and the white cover over the accidental buttons.
    std::vector<QWidget*> stapel{Shape1};
    const auto dazu = [&stapel](const auto& steuerelemente) {
        stapel.insert(stapel.end(), std::begin(steuerelemente), std::end(steuerelemente));
    };
    dazu(Farbe);
    dazu(T_Markierung);
    dazu(NotenLinie);
    dazu(NotenLinie2);
    dazu(NotenLinieBass);
    dazu(std::initializer_list<QWidget*>{Label4, Label1, TextFeld, TextFeld2, TonartText, Note1, Note2, Note3, Image4,
                                         Image2, RichtigWort, FehlerWort, Bitte_Taste_waehlen, LernBild, Picture2,
                                         Image7});
    for (bool schwarz : {false, true})
        for (auto* t : TheKey)
            if (!t->farbig() == schwarz)
                stapel.push_back(t);
    dazu(aufLinie_Taste);
    dazu(Funktion);
    dazu(LernTasten);
    dazu(std::initializer_list<QWidget*>{LernTaste, Command1, LernTasten2});
    dazu(Funktion1);
    dazu(std::initializer_list<QWidget*>{Picture5_0, AbdeckFeld, NamenFeld, Picture1});
    QWidget* voriger = nullptr;
    for (QWidget* w : stapel) {
        w->raise();
        if (w->focusPolicy() & Qt::TabFocus) {
            if (voriger)
                setTabOrder(voriger, w);
            voriger = w;
        }
    }
    // The quick key in its block shape reaches into the cover's place: it lies above the cover.
    LernTaste->raise();
}

void Keyboard::baueMenues()
{
    // The menus in their order; each folder adds its own entries at their places.
    QMenuBar* mb = menuBar();
    mnu_programm = neuesMenue(mb, "mnu_programm", "Programm");
    fuelleProgrammMenue(mnu_programm);
    neueLinie(mnu_programm, "mnu_Linie0");
    neuerEintrag(mnu_programm, "mnu_beenden", "Beenden", QKeySequence("Ctrl+X"), this, [this] { mnu_beenden_Click(); });

    mnu_Tonarten = neuesMenue(mb, "mnu_Tonarten", "Tonarten");
    fuelleTonartenMenue(mnu_Tonarten);
    mnu_Lernen = neuesMenue(mb, "mnu_Lernen", "Lernen");
    fuelleLernMenue(mnu_Lernen);

    mnu_Tastenfarben = neuesMenue(mb, "mnu_Tastenfarben", "Farben");
    fuelleFarbstreifen(mnu_Tastenfarben);
    neueLinie(mnu_Tastenfarben, "mnu_Linie6");
    fuelleFarbwahl(mnu_Tastenfarben);

    mnu_Optionen = neuesMenue(mb, "mnu_Optionen", "Optionen");
    fuelleAnsichten(mnu_Optionen);
    neueLinie(mnu_Optionen, "mnu_Linie3");
    neuerEintrag(mnu_Optionen, "mnu_Ton", "Ton ein/aus", QKeySequence("Ctrl+L"), this, [this] { mnu_Ton_Click(); });
    neuerEintrag(mnu_Optionen, "mnu_Fenster_verschiebbar", "Fenster verschiebbar ja/nein", QKeySequence("Ctrl+W"),
                 this, [this] { mnu_Fenster_verschiebbar_Click(); });
    neueLinie(mnu_Optionen, "mnu_Linie7");
    fuelleEingabeMenue(mnu_Optionen);

    mnu_Webseiten = neuesMenue(mb, "mnu_Webseiten", "Webseiten");
    fuelleWebMenue(mnu_Webseiten, this);
    baueHilfeEintrag();
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
    // "Per Klick" is a switch and runs twice on purpose: it ends where the window starts, with the
    // mouse-over display off and its caption "Per Klick"; the information line keeps its text.
    Funktion_Click(Befehl::PerKlick);
    mnu_EinzelneTonarten_Click(Tonarten::Menue::CDur);
    Funktion_Click(Befehl::PerKlick);
    Funktion_Click(Befehl::TNormal);
    Funktion_Click(Befehl::AlleTasten);
    m_haupt.Lern_Modus = false;
    m_haupt.Vorzeichen = "#";
    m_haupt.Letzte_Zufallszahl = -1;
    m_tastenstand.setzeTonAus(m_haupt.Ton_aus);
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

bool Keyboard::event(QEvent* e)
{
    // A window of the program's own that waits for the user blocks this one: no instrument
    // presses a key meanwhile.
    if (e->type() == QEvent::WindowBlocked || e->type() == QEvent::WindowUnblocked)
        m_tastenstand.setzeModalOffen(e->type() == QEvent::WindowBlocked);
    return QMainWindow::event(e);
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
