#include "keyboard/Keyboard.h"

#include "kern/Haupt.h"
#include "sound/Tonausgabe.h"
#include "kern/Tonartentabelle.h"
#include "keyboard/Tastatur.h"
#include "learning/Lernfeld.h"
#include "views/Befehlsleiste.h"
#include "views/Befehlstabelle.h"
#include "views/Notensystem.h"
#include "views/Tonartenfeld.h"
#include "widgets/Bildablage.h"
#include "widgets/Bilder.h"
#include "widgets/DickerWinRand.h"
#include "widgets/Infozeilen.h"
#include "widgets/Steuerelemente.h"
#include "widgets/Version.h"
#include "widgets/ZentriereForm.h"

#include <QCloseEvent>
#include <QCoreApplication>

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

// The controls bottom to top, by object name, which is also the order the Tab key visits them
// in; a name stands for all members of its array. Where two controls overlap, the upper one shows
// and takes the click: the black keys lie over the white ones and the white cover over the
// accidental buttons.
constexpr const char* Weisse_Tasten = "weisse Tasten";
constexpr const char* Schwarze_Tasten = "schwarze Tasten";
constexpr std::array<const char*, 35> Stapel{
    "Shape1", "Farbe", "T_Markierung", "NotenLinie", "NotenLinie2", "NotenLinieBass", "Label4", "Label1",
    "TextFeld", "TextFeld2", "TonartText", "Note1", "Note2", "Note3", "Image4", "Image2", "RichtigWort",
    "FehlerWort", "Bitte_Taste_wählen", "LernBild", "Picture2", "Image7", Weisse_Tasten, Schwarze_Tasten,
    "aufLinie_Taste", "Funktion", "LernTasten", "LernTaste", "Command1", "LernTasten2", "Funktion1",
    "Picture5(0)", "AbdeckFeld", "NamenFeld", "Picture1"};

} // namespace

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
    flaeche->setFixedSize(tw(14100), tw(8850));
    setCentralWidget(flaeche);
    m_info = new Infozeilen(flaeche);
    flaeche->beiBewegung = [this] { m_info->hinweis("Klavidor von 2003."); };
    m_tastatur = new Tastatur(flaeche, m_haupt, m_tastenstand, *m_info);
    m_system = new Notensystem(flaeche, *m_info);
    m_befehle = new Befehlsleiste(flaeche, m_haupt, *m_info);
    m_tonarten = new Tonartenfeld(flaeche, m_haupt, *m_info, *m_befehle, *m_system);
    m_lernfeld = new Lernfeld(flaeche, m_haupt, *m_info, *m_befehle, *m_system);
    verbindePanels();
    ordneStapel();
    baueMenues();
    adjustSize();
    setFixedSize(size());
    Form_Load();
}

Keyboard::~Keyboard() = default;

void Keyboard::verbindePanels()
{
    connect(m_tastatur, &Tastatur::geklickt, this, [this](int k) { Taste_Eingabe(k, Herkunft::Maus); });
    connect(m_tastatur, &Tastatur::ueberfahren, this, [this](int k) {
        if (m_haupt.Maus_Move_An)
            DoNoten(k);
    });
    connect(m_tonarten, &Tonartenfeld::freieTasten, m_tastatur, &Tastatur::setzeFreie);
    connect(m_befehle, &Befehlsleiste::befehlBeginnt, this, [this] {
        m_lernfeld->befehlBeginnt();
        m_tonarten->loescheText();
        m_haupt.Beantwortet = true;
    });
    connect(m_befehle, &Befehlsleiste::befehl, this, &Keyboard::befehl);
    connect(m_befehle, &Befehlsleiste::leiterGeklickt, this, [this](int i) {
        m_system->Setze_Note(i, m_haupt.C_Linie);
        Spiele_Taste(Noten::Weisse_Taste(Noten::Leiter_Weiss(i))); // the key of its staff position
    });
    connect(m_lernfeld, &Lernfeld::gezogen, this, [this](int k) {
        DoNoten(k);
        // With the microphone on the learner answers on the piano: the program's own sound of the
        // drawn note would give the answer away and drown it.
        if (!Mikrofon_erwarte(k))
            Spiele_Taste(k);
    });
    connect(m_lernfeld, &Lernfeld::zeige, this, [this](int k) {
        DoNoten(k);
        Spiele_Taste(k);
    });
}

void Keyboard::ordneStapel()
{
    std::vector<QWidget*> stapel;
    for (const char* name : Stapel) {
        if (name == Weisse_Tasten || name == Schwarze_Tasten) {
            for (int k = 0; k < Noten::Tastenzahl; ++k)
                if (Noten::istSchwarz(k) == (name == Schwarze_Tasten))
                    stapel.push_back(findChild<QWidget*>(arrayName("TheKey", k)));
        } else if (auto* w = findChild<QWidget*>(name)) {
            stapel.push_back(w);
        } else {
            for (int i = 0; auto* w = findChild<QWidget*>(arrayName(name, i)); ++i)
                stapel.push_back(w);
        }
    }
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
    findChild<QWidget*>("LernTaste")->raise();
}

// ---- Load sequence

void Keyboard::Form_Load()
{
    Zentriere(*this, 4);
    Setze_DickerRand(*this);
    Zeiger_normal();
    m_haupt.C_Linie = true;
    m_haupt.Maus_Move_An = true;
    // "Per Klick" is a switch and runs twice on purpose: it ends where the window starts, with the
    // mouse-over display off and its caption "Per Klick"; the information line keeps its text.
    m_befehle->Funktion_Click(Befehl::PerKlick);
    m_tonarten->mnu_EinzelneTonarten_Click(Tonarten::Menue::CDur);
    m_befehle->Funktion_Click(Befehl::PerKlick);
    m_befehle->Funktion_Click(Befehl::TNormal);
    m_befehle->Funktion_Click(Befehl::AlleTasten);
    m_haupt.Lern_Modus = false;
    m_haupt.Vorzeichen = "#";
    m_haupt.Letzte_Zufallszahl = -1;
    m_tastenstand.setzeTonAus(m_haupt.Ton_aus);
    m_ton.setzeKlangAn(!m_haupt.Ton_aus);
    // One start in five shows one of the four stored learning pictures.
    const int r = int(m_haupt.Rnd() * 20) + 1;
    if (r % 5 == 0)
        m_lernfeld->setzeLernbild(TAblage().bild(QString("Lernbild%1").arg(r / 5)));
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

// ---- The commands that reach beyond the command panel

void Keyboard::befehl(int i)
{
    switch (i) {
    case Befehl::TNormal: m_tonarten->Do_T_Farbe_normal(); break;
    case Befehl::TBetont: m_tonarten->Do_T_Farbe_anders(); break;
    case Befehl::AlleTasten: m_tonarten->Do_alle_Tasten(); break;
    case Befehl::Lernen: setzeModus(Modus::Lernen); break;
    case Befehl::Betrachten: setzeModus(Modus::Betrachten); break;
    case Befehl::ZeigMeine: m_lernfeld->Do_zeigen_falsche(); break;
    case Befehl::ZeigRichtige: m_lernfeld->Do_zeigen_richtige(); break;
    case Befehl::Beenden: Do_Beenden(); break;
    }
}

void Keyboard::setzeModus(Modus modus)
{
    const bool lernen = modus == Modus::Lernen;
    m_haupt.Lern_Modus = lernen;
    m_tastenstand.setzeLernen(lernen);
    if (lernen) {
        // Learning starts on all keys, with the mouse-over display off.
        m_haupt.Maus_Move_An = false;
        m_befehle->Funktion_Click(Befehl::AlleTasten);
    } else {
        Mikrofon_erwarte(-1); // viewing mode asks for no key
    }
    m_befehle->setzeModus(modus);
    m_tonarten->setzeModus(modus);
    m_lernfeld->setzeModus(modus);
    if (lernen)
        m_system->Markierungen_weiss();
    else
        m_system->Markierungen_Grundfarben();
}

// ---- The end, the frame

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
