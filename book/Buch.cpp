#include "book/Buch.h"

#include "widgets/Bilder.h"
#include "widgets/Verlassen.h"
#include "widgets/DickerWinRand.h"
#include "widgets/Version.h"
#include "widgets/ZentriereForm.h"
#include "kern/Haupt.h"
#include "sound/mdlSound.h"

#include <QMouseEvent>

namespace {

// A border piece that reports every press and release, whichever mouse button it is.
class Buchstueck : public Bild
{
public:
    using Bild::Bild;
    std::function<void()> beiDruck, beiLoslassen;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        if (beiDruck)
            beiDruck();
    }
    void mouseReleaseEvent(QMouseEvent*) override
    {
        if (beiLoslassen)
            beiLoslassen();
    }
};

struct Stueck
{
    int left, top;
    bool sichtbar;
};
// Buch(0..17); 0, 1, 14 and 15 lie below the book and only store the corner pictures.
constexpr std::array<Stueck, 18> StueckTabelle{{
    {1800, 6120, false}, {2040, 6120, false}, {480, 720, true},   {4320, 720, true},  {4800, 720, true},
    {8640, 720, true},   {960, 720, true},    {8640, 1200, true}, {8640, 5520, true}, {480, 5520, true},
    {4320, 5520, true},  {4800, 5520, true},  {960, 5520, true},  {480, 1200, true},  {2640, 6120, false},
    {2880, 6120, false}, {4320, 1200, true},  {4800, 1200, true},
}};
constexpr int Vorwaerts = 8, Zurueck = 9;
constexpr int Gerollt_li = 0, Gerollt_re = 1, Flach_li = 14, Flach_re = 15;

struct Doppelseite
{
    const char *nummer, *zeileLi, *zeileRe, *textLi, *textRe;
    int zurueck, vor; // store pieces for the back and the forward corner
};

constexpr std::array<Doppelseite, 5> Seiten{{
    {"1", "Klavidor für Keyboard.", "",
     "Zuerst kann man sich die Noten einfach mal anschauen. Am Anfang alle Tasten - auch die Schwarzen.\n"
     "Sucht man sich unter „Tonarten“ eine Tonart aus wird man nur die Tasten klicken können, die in der "
     "Tonart gebraucht werden. Die Tonarten gehen bis zu 4 Vorzeichen. Also # bis #### und b bis bbbb. Die "
     "Tonarten mit 5 und 6 Zeichen kommen nicht vor.\n"
     "Die Basstöne werden durch zusätzliche Notenlinien gezeigt. Aber wenn man auf 'Bass' klickt bekommt man "
     "die Bässe auch getrennt zu sehen. Unter dem normalen Tonschlüssel kann man die C-Linie auch ausblenden, "
     "da die vielen Linien verwirren können. Unter „Optionen“, „Anischt“, „bei Bass C-Linie ja/nein“ kann man "
     "das tun.",
     "Wählt man eine Tonart (unter „Tonarten“) dann erscheinen die nicht genutzten Tasten markiert. Man kann "
     "die Markierung aber auch ausschalten. Die Umschaltung geschieht mit „T. normal“ bzw. „T. betont“.\n"
     "Man kann die Noten im enfachen Modus aber auch ohne Klick anzeigen lassen. Einfach mal mit der Taste "
     "'Per Klick' ausprobieren - die aber ihren Namen ädert.\n\n\n\n\n\n"
     "Um zur nächsten Seite zu gelangen klickt auf die eingerollte Seite (unten).",
     Flach_li, Gerollt_re},
    {"2", "Viele Optionen.", "",
     "Unter Optionen findet man viele Möglichkeiten, wie z.B. sich alle C-Noten, D-Noten usw. zeigen zu "
     "lassen. Dazu dienen die Markierungspunkte unter den Tasten.\n"
     "Diese Markierungspunkte kann man aber (außer im Lernmodus) abschalten.",
     "Man kann den Ton abschalten, die Buchstabentasten abschalten und vieles mehr. All das findet man unter "
     "„Optionen“.\n"
     "Die Buchstaben werden im Lernmodus in jedem Falle abgeschaltet.",
     Gerollt_li, Gerollt_re},
    {"3", "Nach dem Anschauen ...", "Lernen.",
     "Zum Lernen der Noten muss man lediglich auf die Taste „Lernen“ klicken. Einiges verschwindet dann, "
     "anders erscheint. Je nach Bedarf.\n"
     "Die Taste „Lernen“ lässt auch bunte Wahltasten für den Lernbereich erscheinen. Immer wenn man da auf "
     "eine klickt erscheint eine Note aus diesem Bereich.\n\n"
     "Die X-Taste neben den farbigen Tasten schaltet ein Hilfeband ein, oder aus. Das Band zeigt mit Farben "
     "die zu lernenden Tasten an. Genau so wie die Tasten für den Bereich.",
     "Diese Bereiche kann man sich mal anschauen. Es sind (abgesehen von den letzten) immer vier Tasten. Wenn "
     "man diese vorher oft genug angeschaut hat kann man mit Lernen beginnen.\n"
     "Wenn man sich sicher fühlt kann man auf „Lernen“ klicken und den vorher betrachteten Bereich anklicken. "
     "Jede Bereichstaste hat eine andere Farbe. Man sollte mit den mittleren Tönen beginnen. Wo das mittlere "
     "C sich befindet lernt man mithlfe der Funktionen, die man unter „Optionen“ finden kann.\n\n"
     "Bei jedem Klick auf die „Bereich“-Taste erscheint eine neue Note. Man kann auf die Tastatur klicken und "
     "so überprüfen, ob man die Note schon weiß.",
     Gerollt_li, Gerollt_re},
    {"4", "Lernen, Teil II.", "",
     "Die Punkte unter den Tasten werden nun gebraucht, denn sie zeigen an, ob die Note getroffen bzw. "
     "geraten wurde. Unter Optionen kann man sie zwar nutzen um z.B. all C's oder alle D's sehen zu können, "
     "oder das mittlere C zu finden, aber im Lernmodus sind diese Punkt viel wichtiger, denn sie zeigen die "
     "richtige Note, die die man gedrückt hat und die eventuell falsch gedrückte.\n\n"
     "Rot: Wenn die gedrückte Taste richtig war. Blau: Wenn sie nicht getroffen wurde und ... Schwarz: Die "
     "falsch gedrückte Taste. Immer auf die Punkte unter den Tasten achten.",
     "Stimmt die Taste nicht, dann ist der Punkt uner der richtigen Taste blau, die falsch eingegebene wird "
     "in Schwarz gezeigt. Wie gesagt erscheint nur ein Punkt, wenn die Taste richtig war. Dann aber in Rot.\n\n"
     "1-2 blaue Tasten können erscheinen, die das Anschauen beider erlauben. Also die richtige und die falsche "
     "Taste.\n"
     "Die Punkte werden nicht gezählt, denn es ist ein Übungsprogramm, kein Test.",
     Gerollt_li, Gerollt_re},
    {"5", "Updates? Mehr Hilfe?", "Schlusswort.",
     "Auf meinen Webseiten unter www.klavidor.de wird der Klavidor in Bildern Schritt für Schritt erklärt. "
     "Dort gibt es auch neuere, verbesserte Versionen des Programms mit neuen Funktionen. Es lohnt sich also, "
     "ab und zu vorbeizuschauen. Für das Lernen der Noten wünsche ich viel Spaß und viel Erfolg. Mit ein "
     "wenig Übung jeden Tag liest man die Noten bald wie von selbst.\n\n"
     "Ich wünsche viel Erfolg und Freude mit meinem Programm. Als Schlusswort nun nur noch ein paar Worte zu "
     "den Tonarten.",
     "Die Tonarten machen einen sehr schweren Eindruck. Aber man sollte sich nicht entmutigen lassen.\n"
     "Am Anfang sollte man nur die Noten an sich übern. Das entspricht dann der Tonart C-Dur.\n\n"
     "D-Dur und B-Dur sind auch einfach, denn nur 2 Töne verändern sich. Danach kommen die Tonarten Es-Dur "
     "und A-Dur. Zum Schluss die mit 4 veränderten Tönen: E-Dur und As-Dur.\n\n"
     "Herzliche Grüße aus der Klavidor-Werkstatt",
     Gerollt_li, Flach_re},
}};

} // namespace

Buch::Buch(Haupt& haupt, Tonausgabe& ton, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_haupt(haupt), m_ton(ton)
{
    Ressourcen_laden();
    setObjectName("Buch");
    setAccessibleName("Das Hilfebuch");
    setWindowTitle(QString());
    setWindowIcon(bildIcon("icon_buch"));
    setFixedSize(tw(9600), tw(7110));
    QPalette p = palette();
    p.setColor(QPalette::Window, farbe(0xC0C0C0));
    setPalette(p);
    setAutoFillBackground(true);
    setCursor(bildCursor("greifhand0"));

    // Back to front: book area, pages, the border, then the page texts. The texts reach into the
    // drawn page edges, so they lie above the border and let it show through.
    baueSeiten();
    baueKacheln();
    baueEcken();
    baueTexte();
    baueFuss();
    Form_Load();
}

void Buch::baueSeiten()
{
    Shape1_0 = new Form(this, false, 0xC97D45, 0x800000);
    platziere(Shape1_0, "Shape1(0)", 0, 0, 9600, 6300);
    for (int i = 0; i < 2; ++i) {
        Shape2[i] = new Form(this, false, 0xFFFFFF, 0xFFFFFF);
        platziere(Shape2[i], arrayName("Shape2", i), i == 0 ? 600 : 4920, 840, 4095, 5055);
    }

    Label1 = new Beschriftung(this, "Das Hilfebuch", schrift("Times New Roman", 18, true), 0x00FFFF, 0xC97D45);
    platziere(Label1, "Label1", 480, 240, 2295, 375);
}

// Tiles: the edges of the book, filled at load from one template piece each.
void Buch::baueKacheln()
{
    struct Kachelreihe
    {
        std::array<Bild*, 13>* lang;
        std::array<Bild*, 8>* kurz;
        const char* name;
        int festerWert; // Top of a row, Left of a column
    };
    const std::array<Kachelreihe, 6> reihen{{
        {&Image1, nullptr, "Image1", 720},
        {&Image3, nullptr, "Image3", 5520},
        {nullptr, &Image4, "Image4", 480},
        {nullptr, &Image5, "Image5", 4320},
        {nullptr, &Image6, "Image6", 4800},
        {nullptr, &Image2, "Image2", 8640},
    }};
    for (const Kachelreihe& r : reihen) {
        if (r.lang) {
            for (int k = 0; k < 13; ++k) {
                auto* b = new Bild(this);
                const int left = k < 6 ? 1440 + 480 * k : 5280 + 480 * (k - 6);
                platziere(b, arrayName(r.name, k), left, r.festerWert, 495, 495);
                b->setNatuerlicheGroesse(true); // 32 x 32 at a 480 pitch: the tiles join seamlessly
                (*r.lang)[k] = b;
            }
        } else {
            for (int k = 0; k < 8; ++k) {
                auto* b = new Bild(this);
                platziere(b, arrayName(r.name, k), r.festerWert, 1680 + 480 * k, 495, 495);
                b->setNatuerlicheGroesse(true);
                (*r.kurz)[k] = b;
            }
        }
    }
}

// The pieces lie above the tiles, so a corner takes every press on its own square.
void Buch::baueEcken()
{
    for (int i = 0; i < 18; ++i) {
        const Stueck& s = StueckTabelle[i];
        auto* b = new Buchstueck(this, QString("buch%1").arg(i, 2, 10, QChar('0')));
        platziere(b, arrayName("Buch", i), s.left, s.top, 480, 480);
        b->beiDruck = [this, i] { Buch_MouseDown(i); };
        b->beiLoslassen = [this, i] { Buch_MouseUp(i); };
        if (i == 8 || i == 9 || i == 16 || i == 17)
            b->setCursor(bildCursor("greifhand1"));
        b->setVisible(s.sichtbar);
        Buchteil[i] = b;
    }
    Buchteil[Vorwaerts]->setAccessibleName("Eingerollte Ecke: weiterblättern");
    Buchteil[Zurueck]->setAccessibleName("Eingerollte Ecke: zurückblättern");
}

void Buch::baueTexte()
{
    struct Zeile
    {
        Beschriftung** ziel;
        const char* name;
        int left, top, width, height;
        QFont font;
        quint32 farbe;
        Qt::Alignment ausrichtung;
        bool umbruch;
    };
    const QFont kopf = schrift("Times New Roman", 14.25, true);
    const QFont text = schrift("Times New Roman", 9.75, false, true);
    const std::array<Zeile, 6> seite{{
        {&BuchZeileli, "BuchZeileli", 960, 1080, 3615, 375, kopf, 0x800000, Qt::AlignLeft, false},
        {&BuchZeilere, "BuchZeilere", 5160, 1080, 3495, 375, kopf, 0x800000, Qt::AlignLeft, false},
        {&Label2, "Label2", 7320, 840, 1575, 255, schrift("Arial", 9), 0x8E493E, Qt::AlignRight, false},
        {&SeitenNummer, "SeitenNummer", 8520, 1080, 375, 255, schrift("Times New Roman", 9.75, true), 0x800000,
         Qt::AlignRight, false},
        {&BuchTextLi, "BuchTextLi", 960, 1440, 3495, 4335, text, 0x800000, Qt::AlignLeft, true},
        {&BuchTextre, "BuchTextre", 5160, 1440, 3495, 4335, text, 0x800000, Qt::AlignLeft, true},
    }};
    for (const Zeile& z : seite) {
        auto* l = new Beschriftung(this, QString(), z.font, z.farbe);
        platziere(l, z.name, z.left, z.top, z.width, z.height);
        l->setAlignment(z.ausrichtung | Qt::AlignTop);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(z.umbruch);
        l->setAttribute(Qt::WA_TransparentForMouseEvents); // a press at a box's edge reaches the corner
        *z.ziel = l;
    }
    Label2->setText("Doppelseite");
}

void Buch::baueFuss()
{
    Line1 = new Linie(this, "Line1", 0, 6310, 9600, 6310, 2, 0xFFFFFF);
    Line2 = new Linie(this, "Line2", 0, 6318, 9600, 6318, 1, 0x808080);

    Verlassen = baueVerlassen(this, 240, 6480);
    connect(Verlassen, &QPushButton::clicked, this, [this] { Verlassen_Click(); });

    Label3 = new Beschriftung(this, "Klavidor " KLAVIDOR_VERSION " – ein Programm aus der Klavidor-Werkstatt – www.klavidor.de",
                              schrift("Arial", 9.75, true), 0x0000FF);
    platziere(Label3, "Label3", 1200, 6600, 8175, 495);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void Buch::Form_Load()
{
    Zentriere(*this, 4);
    Setze_DickerRand(*this);
    Zeiger_normal();
    Letzte_Seite = 5;
    Akt_Seite = 1;
    auto fuelle = [](auto& kacheln, const Bild* vorlage) {
        for (Bild* b : kacheln)
            b->setBild(vorlage->bild());
    };
    fuelle(Image1, Buchteil[6]);
    fuelle(Image3, Buchteil[12]);
    fuelle(Image2, Buchteil[7]);
    fuelle(Image4, Buchteil[13]);
    fuelle(Image5, Buchteil[16]);
    fuelle(Image6, Buchteil[17]);
    Schreibe(1);
    Spiele_Ton(m_haupt, m_ton, "Hallo");
}

void Buch::Schreibe(int Seite)
{
    if (Seite < 1 || Seite > 5)
        return;
    const Doppelseite& s = Seiten[Seite - 1];
    SeitenNummer->setText(s.nummer);
    BuchZeileli->setText(s.zeileLi);
    BuchZeilere->setText(s.zeileRe);
    BuchTextLi->setText(s.textLi);
    BuchTextre->setText(s.textRe);
    Buchteil[Zurueck]->setBild(Buchteil[s.zurueck]->bild());
    Buchteil[Vorwaerts]->setBild(Buchteil[s.vor]->bild());
}

void Buch::Buch_MouseDown(int index)
{
    if (index != Vorwaerts && index != Zurueck)
        return;
    Buchteil[index]->setCursor(bildCursor("greifhand2"));
    if (index == Vorwaerts && Akt_Seite < Letzte_Seite)
        ++Akt_Seite;
    else if (index == Zurueck && Akt_Seite > 1)
        --Akt_Seite;
    // Written again even at the first or last spread.
    Schreibe(Akt_Seite);
}

void Buch::Buch_MouseUp(int index)
{
    if (index == Vorwaerts || index == Zurueck)
        Buchteil[index]->setCursor(bildCursor("greifhand1"));
}

void Buch::Verlassen_Click()
{
    Zeiger_beschaeftigt(); // the opener restores the default pointer once the book is gone
    QDialog::reject();
}
