#include "app/AStart.h"

#include "widgets/Bilder.h"
#include "sound/Tonausgabe.h"
#include "app/Verzeichnisse.h"
#include "widgets/Version.h"
#include "widgets/ZentriereForm.h"
#include "sound/mdlSound.h"
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"
#include "web/Webadressen.h"
#include "web/mdlBrowserAufrufen.h"

#include <QCoreApplication>
#include <QTime>

namespace {
constexpr quint32 Rahmenfarbe = 0x404040;
}

AStart::AStart(Haupt& haupt, Tonausgabe& ton, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_haupt(haupt), m_ton(ton)
{
    Ressourcen_laden(Umfang::Start);
    setObjectName("AStart");
    setAccessibleName("Klavidor – Start");
    setFixedSize(tw(9525), tw(7110));
    QPalette p = palette();
    p.setColor(QPalette::Window, farbe(0xD5ECF2));
    p.setColor(QPalette::WindowText, farbe(0xC0C0C0));
    setPalette(p);
    setAutoFillBackground(true);
    setCursor(handCursor());

    Image2 = new Bild(this, "titel");
    platziere(Image2, "Image2", -120, 840, 9900, 6165);
    Image2->setAccessibleName("Titelbild: Klavier und Noten");
    for (int i = 0; i < 2; ++i) {
        Shape1[i] = new Form(this, false, 0x800000, 0x800000);
        Shape1[i]->setObjectName(arrayName("Shape1", i));
    }
    Shape1[0]->setGeometry(twRect(3360, 840, 9735, 105));
    Shape1[1]->setGeometry(twRect(0, 6840, 9615, 300));
    Label2 = new Beschriftung(this, "Version", schrift("Arial", 14.25, true), 0xFF0000);
    platziere(Label2, "Label2", 3360, 240, 6015, 375);
    Label3 = new Beschriftung(this, "Klavidor – Noten lesen lernen", schrift("Times New Roman", 8.25, true), 0xFFFFFF);
    platziere(Label3, "Label3", 7080, 6840, 2535, 375);
    Image1 = new Bild(this, "logo");
    platziere(Image1, "Image1", 120, 240, 3000, 675);
    Image1->setAccessibleName("Klavidor-Logo: zur Homepage");
    Image1->setCursor(handCursor());
    Image1->beiKlick = [this] { Image1_Click(); };

    auto knopf = [this](const char* name, const char* text, const char* tip, int l, int t, int w, int h) {
        auto* k = new Knopf(this, true, 0xE0E0E0);
        k->setText(text);
        k->setToolTip(tip);
        k->setFont(schrift("Arial", 14.25, true));
        k->setzeTw(l, t, w, h);
        k->setObjectName(name);
        return k;
    };
    Command1 = knopf("Command1", "&Starten", "  PROGRAMMSTART  ", 3720, 3240, 2655, 735);
    Command2 = knopf("Command2", "&Verlassen", "  Programm nicht starten  ", 240, 6480, 1695, 495);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    alsAbbrechen(this, Command2);

    // The plain frame: a thin dark line along the inside edge, above every control, so it shows
    // with and without a window manager.
    auto* rahmen = new Form(this, false, 0, Rahmenfarbe);
    rahmen->setObjectName("AStart_Rahmen");
    rahmen->setGefuellt(false);
    rahmen->setGeometry(rect());
    rahmen->setAccessibleName("Rahmen");

    Form_Load();
}

void AStart::Form_Load()
{
    Zentriere(*this, 4);
    Zeiger_normal();
    Bestimme_Verzeichnisse(m_haupt);
    m_haupt.Randomize(QTime::currentTime().msecsSinceStartOfDay() / 1000);
    Label2->setText("Klavidor  " KLAVIDOR_VERSION);
    m_haupt.Farbe_Weiss = 0xD5ECF2;
    m_haupt.Farbe_Weiss_aus = 0xFFCEC2;
    m_haupt.Farbe_Schwarz = 0x000000;
    m_haupt.Farbe_Schwarz_aus = 0x404040;
    m_haupt.Ton_aus = false;
    m_haupt.Ton_Verzeichnis = Ton_Verzeichnis_aus(m_haupt.Akt_Verzeichnis);
}

void AStart::Command1_Click()
{
    m_ton.vorladen(Tastenklaenge(m_haupt)); // read ahead by the loader, not at the first click
    m_ton.vorbereiten();                    // the main window plays sounds
    auto* kb = new Keyboard(m_haupt, m_ton); // its load sequence runs here, before it is shown
    Zeige_aktiv(*kb);
    kb->starteEingaenge(); // MIDI keyboards and the microphone, loaded in the background
    close();
    deleteLater();
}

void AStart::paintEvent(QPaintEvent* e)
{
    // The window paints before its controls: their texts find the fonts in place.
    Ressourcen_laden(Umfang::StartSchrift);
    QWidget::paintEvent(e);
}

void AStart::Command2_Click() { QCoreApplication::quit(); }

void AStart::Image1_Click() { Browser_Aufrufen(this, Web::Hauptseite); }
