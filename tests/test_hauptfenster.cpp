// The main window after its load sequence: every control in place, the menu tree, the mouse-move
// texts, the start picture and the ways to end the program.
#include "hilfen.h"

#include <QMenuBar>

namespace {

struct Soll
{
    QString name;
    int l, t, w, h;
    bool sichtbar;
    qint64 farbe = -1; // BackColor of a button, FillColor of a shape; -1 = not checked
    QString text = {};
    QString tip = {};
};

QList<Soll> sollTabelle()
{
    QList<Soll> s;
    const QList<int> weisse{0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17, 19, 21, 23, 24, 26, 28, 29, 31, 33, 35, 36, 38};
    for (int k = 0, w = -1; k < 40; ++k) {
        if (weisse.contains(k))
            s.append({QString("TheKey(%1)").arg(k), 1800 + 480 * ++w, 5160, 495, 2175, true, 0xD5ECF2});
        else
            s.append({QString("TheKey(%1)").arg(k), 1800 + 480 * w + 240, 5160, 375, 1335, true, 0x000000});
    }
    s.append({"Shape1", 1680, 5040, 11295, 2415, true, 0x404000});
    const QList<std::pair<int, int>> balken{{1800, 1935}, {3720, 1935}, {5640, 1935}, {7560, 1935}, {9480, 1935}, {11400, 1455}};
    const QList<qint64> balkenFarbe{0x404080, 0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00};
    for (int i = 0; i < 6; ++i)
        s.append({QString("Farbe(%1)").arg(i), balken[i].first, 5040, balken[i].second, 135, false, balkenFarbe[i]});
    for (int i = 0; i < 23; ++i) {
        const qint64 f = i <= 6 ? 0x99CEC2 : i <= 13 ? 0xC0C0FF : i <= 20 ? 0xFFCEC2 : 0xFFC0FF;
        s.append({QString("T_Markierung(%1)").arg(i), 1920 + 480 * i, 7320, 255, 255, true, f});
    }
    // Note-name ladder: index, caption, Left, Top, colour.
    const QList<std::tuple<int, QString, int, int, qint64>> leiter{
        {22, "C", 120, 5760, 0x99CEC2}, {21, "D", 840, 5520, 0x99CEC2}, {20, "E", 120, 5400, 0x99CEC2},
        {19, "F", 840, 5160, 0x99CEC2}, {18, "G", 120, 5040, 0x99CEC2}, {17, "A", 840, 4800, 0x99CEC2},
        {16, "H", 120, 4680, 0x99CEC2}, {0, "C", 840, 4440, 0xC0C0FF},  {1, "D", 120, 4320, 0xC0C0FF},
        {2, "E", 840, 4080, 0xC0C0FF},  {3, "F", 120, 3960, 0xC0C0FF},  {4, "G", 840, 3720, 0xC0C0FF},
        {5, "A", 120, 3600, 0xC0C0FF},  {6, "H", 840, 3360, 0xC0C0FF},  {7, "C", 120, 3240, 0xFFCEC2},
        {8, "D", 840, 3000, 0xFFCEC2},  {9, "E", 120, 2880, 0xFFCEC2},  {10, "F", 840, 2640, 0xFFCEC2},
        {11, "G", 120, 2520, 0xFFCEC2}, {12, "A", 840, 2280, 0xFFCEC2}, {13, "H", 120, 2160, 0xFFCEC2},
        {14, "C", 840, 1920, 0xFFC0FF}, {15, "D", 120, 1800, 0xFFC0FF},
    };
    for (const auto& [i, text, l, t, f] : leiter)
        s.append({QString("aufLinie_Taste(%1)").arg(i), l, t, 735, 285, true, f, text});
    s.append({"Note1", 3720, 1560, 495, 1485, true});
    s.append({"Note2", 3720, 1560, 495, 1530, false});
    s.append({"Note3", 6720, 2400, 495, 1485, true});
    s.append({"Image4", 4800, 0, 750, 1125, true, -1, {}, "Notenschlüssel (Dur)"});
    s.append({"Label4", 5640, 240, 1215, 615, true, -1, "Noten- Schlüssel"});
    s.append({"Funktion1(0)", 4920, 2760, 375, 405, true, 0xFF8080, "#", "Ton erhöhen/erniedrigen"});
    s.append({"Funktion1(1)", 4920, 3720, 375, 405, true, 0xFF8080, "b", "Ton erhöhen/erniedrigen"});
    s.append({"Funktion1(2)", 4560, 3240, 375, 405, true, 0xFF8080, "X", "Ton erhöhen/erniedrigen"});
    s.append({"Picture5(0)", 4920, 3120, 375, 615, true});
    s.append({"Image5", 120, 120, 120, 345, true});
    s.append({"Image6", 120, 120, 120, 345, false});
    s.append({"AbdeckFeld", 4440, 2760, 855, 1455, false});
    s.append({"Image2", 5400, 2160, 750, 660, true, -1, {}, "Bassschlüssel (Bass)"});
    s.append({"Label1", 5400, 1560, 1215, 735, true, -1, "Bass- Schlüssel"});
    const QList<Soll> funktion{
        {"Per Klick", 8640, 120, 1215, 405, true, 0, {}, "Maus über Tasten zeigt Noten"},
        {"Buchstaben", 8640, 600, 1215, 405, true, 0, {}, "Tasten zeigen"},
        {"Bass", 8640, 1080, 1215, 405, true, 0, {}, "Tasten zeigen"},
        {"T. normal", 10200, 1200, 1215, 405, false, 0, {}, "Tasten normal"},
        {"T. betont", 10200, 1680, 1215, 405, false, 0, {}, "Tasten betont"},
        {"Alle Tasten", 8640, 1560, 1215, 405, true, 0, {}, "Alle Tasten einschalten."},
        {"Lernen", 6960, 120, 1575, 405, true, 0, {}, "Lernen von Noten."},
        {"Betrachten", 6960, 600, 1575, 405, true, 0, {}, "Betrachten der Noten."},
        {"zeig meine", 1680, 4560, 2055, 405, false, 0, {}, "Gegebene Antwort."},
        {"zeig richtige", 3840, 4560, 1935, 405, false, 0, {}, "Die richtige Note."},
        {"Beenden", 1560, 240, 1215, 525, true, 0, {}, "Ende."},
    };
    for (int i = 0; i < 11; ++i) {
        Soll f = funktion[i];
        f.text = f.name;
        f.name = QString("Funktion(%1)").arg(i);
        f.farbe = 0xE0E0E0;
        s.append(f);
    }
    s.append({"LernTasten(0)", 10800, 1800, 1335, 375, false, 0x2F5CA2, "Bereich 1", "Lernbereich 1"});
    s.append({"LernTasten(1)", 10800, 2160, 1335, 375, false, 0x0000FF, "Bereich 2", "Lernbereich 2"});
    s.append({"LernTasten(2)", 10800, 2520, 1335, 375, false, 0x0080FF, "Bereich 3", "Lernbereich 3"});
    s.append({"LernTasten(3)", 10800, 2880, 1335, 375, false, 0x00FFFF, "Bereich 4", "Lernbereich 4"});
    s.append({"LernTasten(4)", 10800, 3240, 1335, 375, false, 0x00FF00, "Bereich 5", "Lernbereich 5"});
    s.append({"LernTasten(5)", 12120, 1800, 1335, 375, false, 0xFFFF00, "Bereich 6", "Lernbereich 6"});
    s.append({"LernTasten(7)", 12120, 2160, 1335, 375, false, 0xC0C0FF, "Bereich  1, 2", "Lernbereich 1 und 2 zusammen."});
    s.append({"LernTasten(6)", 12120, 2520, 1335, 375, false, 0x80C0FF, "Bereich  2 - 4", "Lernbereich 2 - 4 zusammen."});
    s.append({"LernTasten(8)", 12120, 2880, 1335, 375, false, 0xC0FFFF, "Bereich  2 - 5", "Lernbereich  2 - 5 zusammen."});
    s.append({"LernTasten(9)", 12120, 3240, 1335, 375, false, 0xFFC0C0, "Alle", "Lernbereich: Alle Tasten."});
    s.append({"LernTaste", 8280, 4560, 4695, 375, false, 0x404080, "Bereich", "Gewählter Lernbereich - Schnelltaste"});
    s.append({"Command1", 10440, 1800, 375, 1815, false, 0xD6D6D6, "B", "Bereichstaste (Schnelltaste) andere Form."});
    s.append({"LernTasten2", 13440, 1800, 375, 1815, false, 0xD6D6D6, "X", "Farbhilfe ja/nein"});
    s.append({"TextFeld", 120, 7920, 12855, 735, true});
    s.append({"TextFeld2", 10200, 240, 3855, 855, true});
    s.append({"TonartText", 240, 1320, 1215, 375, false});
    s.append({"NamenFeld", 5400, 1080, 3135, 495, true});
    s.append({"NotenNamenTextFeld", 120, 75, 2895, 375, true});
    s.append({"Picture1", 240, 240, 1215, 1095, true});
    s.append({"Image1", 120, 120, 975, 855, true});
    s.append({"RichtigWort", 6000, 4560, 1050, 450, false});
    s.append({"FehlerWort", 6000, 4560, 1995, 480, false});
    s.append({"Bitte_Taste_wählen", 10440, 1200, 3405, 525, false});
    s.append({"LernBild", 120, 1320, 2925, 3060, false});
    s.append({"Picture2", 8280, 2160, 2865, 2730, true, -1, {}, "musizieren"});
    s.append({"Image7", 11160, 1320, 2865, 2610, true});
    return s;
}

// name | caption | shortcut | visible | enabled, depth-first through the menu bar.
void menueZeilen(const QList<QAction*>& aktionen, int tiefe, QStringList& zeilen)
{
    for (QAction* a : aktionen) {
        const QString text = a->isSeparator() ? "-" : a->text();
        zeilen << QString(tiefe, ' ') + QString("%1|%2|%3|%4%5")
                      .arg(a->menu() ? a->menu()->objectName() : a->objectName(), text,
                           a->shortcut().toString(), a->isVisible() ? "v" : "h", a->isEnabled() ? "e" : "d");
        if (a->menu())
            menueZeilen(a->menu()->actions(), tiefe + 1, zeilen);
    }
}

} // namespace

Q_DECLARE_METATYPE(Soll)

class TestHauptfenster : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fenster> m_layout;

private slots:
    void startzustand()
    {
        Fenster f;
        const Haupt& h = f.haupt;
        QCOMPARE(h.Maus_Move_An, false);
        QCOMPARE(h.Lern_Modus, false);
        QCOMPARE(h.Vorzeichen, QString("#"));
        QCOMPARE(h.C_Linie, true);
        QCOMPARE(h.Beantwortet, true);
        QCOMPARE(h.Tonart, QString("keine Tonart"));
        QCOMPARE(h.Letzte_Zufallszahl, -1);
        QCOMPARE(h.Tonart_Info, QString("Alle Tasten zeigen die Noten die auf ihr liegen können. Die schwarzen "
                                        "Tasten können mit # oder b verstellt werden."));
        QCOMPARE(text(f.kb, "TextFeld"),
                 QString("“Alle Tasten” bedeutet, dass man sich auch die schwarzen Tasten ansehen kann. "
                         "Standardmäßig als #. Man kann aber auch zwischen # und b wählen, oder abschalten X."));
        QCOMPARE(text(f.kb, "TextFeld2"),
                 QString("“#” wurde gewählt. Alle schwarzen Tasten zeigen die erhöhten Noten."));
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString());
        QCOMPARE(el<Bild>(f.kb, "Image1")->bild(), QString("tonart_leer"));
        for (auto* t : alle<Knopf>(f.kb, "TheKey"))
            QVERIFY(t->isEnabled());
        QVERIFY(el<Linie>(f.kb, "NotenLinie", 0)->isVisible());
        for (int i : {6, 7})
            QVERIFY(el<Linie>(f.kb, "NotenLinie", i)->isHidden());
        QCOMPARE(versteckt(f.kb, "NotenLinie2"), 3);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 7)->borderColor(), 0x000000u);
        QCOMPARE(f.kb->windowTitle(), QString());
        // Fixed size: the client area is 14100 x 8850 twips and cannot be resized.
        QCOMPARE(f.kb->centralWidget()->size(), QSize(940, 590));
        QCOMPARE(f.kb->minimumSize(), f.kb->maximumSize());
    }

    void layoutTabelle_data()
    {
        QTest::addColumn<Soll>("s");
        const QList<Soll> tabelle = sollTabelle();
        QCOMPARE(tabelle.size(), 40 + 1 + 6 + 23 + 23 + 14 + 11 + 13 + 13);
        for (const Soll& s : tabelle)
            QTest::newRow(qPrintable(s.name)) << s;
    }
    void layoutTabelle()
    {
        QFETCH(Soll, s);
        // One window for all rows: the rows only read it.
        if (!m_layout)
            m_layout = std::make_unique<Fenster>();
        QWidget* w = el(m_layout->kb, s.name);
        QCOMPARE(w->objectName(), s.name);
        QCOMPARE(w->geometry(), twips(s.l, s.t, s.w, s.h));
        QCOMPARE(w->isHidden(), !s.sichtbar);
        if (s.farbe >= 0) {
            const auto* k = qobject_cast<Knopf*>(w);
            const auto* form = qobject_cast<Form*>(w);
            QVERIFY(k || form);
            QCOMPARE(k ? k->backColor() : form->fillColor(), quint32(s.farbe));
        }
        if (!s.text.isEmpty()) {
            const auto* b = qobject_cast<QAbstractButton*>(w);
            QCOMPARE(b ? b->text() : qobject_cast<QLabel*>(w)->text(), s.text);
        }
        if (!s.tip.isEmpty())
            QCOMPARE(w->toolTip(), s.tip);
    }

    void linienSchriftenUndNamen()
    {
        m_layout.reset();
        Fenster f;
        // Ledger and staff lines at their Y, with their length.
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(el<Linie>(f.kb, "NotenLinie", i)->geometry(), QRect(200, tw(2880 - 360 * i) - 1, 112, 2));
        QCOMPARE(el<Linie>(f.kb, "NotenLinie", 0)->geometry(), QRect(232, 191, 56, 2));
        QCOMPARE(el<Linie>(f.kb, "NotenLinieBass", 4)->geometry(), QRect(416, 279, 96, 2));
        // White keys are coloured buttons, black keys plain ones.
        QVERIFY(el<Knopf>(f.kb, "TheKey", 0)->farbig());
        QVERIFY(!el<Knopf>(f.kb, "TheKey", 1)->farbig());
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 0)->font().pixelSize(), 16);
        QCOMPARE(el<Knopf>(f.kb, "Funktion", 0)->font().pixelSize(), 13);
        QVERIFY(el<Knopf>(f.kb, "Funktion", 0)->font().bold());
        QCOMPARE(el<Knopf>(f.kb, "LernTasten", 0)->font().pixelSize(), 11);
        QCOMPARE(el<Beschriftung>(f.kb, "TonartText")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(el<Beschriftung>(f.kb, "Label4")->palette().color(QPalette::Window), QColor(0, 0, 128));
        QCOMPARE(el<Beschriftung>(f.kb, "TextFeld")->font().family(), QString("Times New Roman"));
        QCOMPARE(QFontInfo(el<Beschriftung>(f.kb, "TextFeld")->font()).family(), QString("Liberation Serif"));
        // Every button shows the hand pointer; every key and dot can be named by a screen reader.
        for (auto* k : f.kb->findChildren<Knopf*>())
            QVERIFY2(k->cursor().shape() == Qt::BitmapCursor, qPrintable(k->objectName()));
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 13)->accessibleName(), QString("Taste cis'"));
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 0)->accessibleName(), QString("Taste c"));
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 38)->accessibleName(), QString("Taste d'''"));
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 7)->accessibleName(), QString("Markierungspunkt c'"));
    }

    void menueBaum()
    {
        Fenster f;
        QStringList ist;
        menueZeilen(f.kb->menuBar()->actions(), 0, ist);
        const QStringList soll{
            "mnu_programm|Programm||ve",
            " mnu_Längen|Länge der Noten||ve",
            " mnu_Pausen|Pausenzeichen||ve",
            " mnu_Linie0|-||ve",
            " mnu_beenden|Beenden|Ctrl+X|ve",
            "mnu_Tonarten|Tonarten||ve",
            " mnu_EinzelneTonarten(0)|C-dur|Ctrl+C|ve",
            " mnu_EinzelneTonarten(1)|D-dur|Ctrl+D|ve",
            " mnu_EinzelneTonarten(2)|E-dur|Ctrl+E|ve",
            " mnu_EinzelneTonarten(3)|F-dur|Ctrl+F|ve",
            " mnu_EinzelneTonarten(4)|G-dur|Ctrl+G|ve",
            " mnu_EinzelneTonarten(5)|A-dur|Ctrl+A|ve",
            " mnu_EinzelneTonarten(6)|B-dur|Ctrl+B|ve",
            " mnu_EinzelneTonarten(7)|Es-dur|Ctrl+S|ve",
            " mnu_EinzelneTonarten(8)|As-dur|Ctrl+I|ve",
            " mnu_EinzelneTonarten(9)|Des-dur||hd",
            " mnu_EinzelneTonarten(10)|Ges-dur||hd",
            " mnu_EinzelneTonarten(11)|H-dur||hd",
            " mnu_EinzelneTonarten(12)|Fis-dur||hd",
            " mnu_EinzelneTonarten(13)|-||ve",
            " mnu_EinzelneTonarten(14)|alle Tasten|Ctrl+T|ve",
            "mnu_Lernen|Lernen||ve",
            " mnu_Lernen_einschalten|Lernen einschalten|F11|ve",
            " mnu_Lernen_abschalten|Lernen abschalten|F12|ve",
            " mnu_Linie2|-||ve",
            " mnu_Bereich(0)|Bereich 1 (braun)|Ctrl+F1|ve",
            " mnu_Bereich(1)|Bereich 2 (rot)|Ctrl+F2|ve",
            " mnu_Bereich(2)|Bereich 3 (orange)|Ctrl+F3|ve",
            " mnu_Bereich(3)|Bereich 4 (gelb)|Ctrl+F4|ve",
            " mnu_Bereich(4)|Bereich 5 (grün)|Ctrl+F5|ve",
            " mnu_Bereich(5)|Bereich 6 (blau)|Ctrl+F6|ve",
            " mnu_Bereich(6)|-||ve",
            " mnu_Bereich2(1)|Normalbereich (rot - gelb)|Ctrl+F7|ve",
            " mnu_Bereich2(2)|Bassbereich (braun - rot)|Ctrl+F8|ve",
            " mnu_Bereich2(3)|Großbereich (rot - grün)|Ctrl+F9|ve",
            "mnu_Tastenfarben|Farben||ve",
            " mnu_Farbstreifen|Farbsteifen zeigen ja/nein|Del|ve",
            " mnu_Linie6|-||ve",
            " mnu_Farbwahl(0)|Tastenfarbwahl 1|F1|ve",
            " mnu_Farbwahl(1)|Tastenfarbwahl 2|F2|ve",
            " mnu_Farbwahl(2)|Tastenfarbwahl 3|F3|ve",
            " mnu_Farbwahl(3)|Tastenfarbwahl 4|F4|ve",
            "mnu_Optionen|Optionen||ve",
            " mnu_Ansicht|Ansicht||ve",
            "  mnu_ohneCLinie|bei Bass C-Linie ja/nein|F7|ve",
            "  mnu_Markierungspunkte|Markierungspunkte ja/nein|F8|ve",
            " mnu_zeige|Zeige ...||ve",
            "  mnu_Bass_gesondert|Bass gesondert  ja/nein|F6|ve",
            "  mnu_notentasten|Notentasten  ja/nein|Ctrl+N|ve",
            "  mnu_maus_über_Tasten|Maus über Tasten   ja/nein|Ctrl+U|ve",
            " mnu_alleTasten|Zeige Noten||ve",
            "  mnu_mittleresC|mittleres C|Ctrl+M|ve",
            "  mnu_Linie5|-||ve",
            "  mnu_alleC|C|Shift+F1|ve",
            "  mnu_alleD|D|Shift+F2|ve",
            "  mnu_alleE|E|Shift+F3|ve",
            "  mnu_alleF|F|Shift+F4|ve",
            "  mnu_alleG|G|Shift+F5|ve",
            "  mnu_alleA|A|Shift+F6|ve",
            "  mnu_alleH|H|Shift+F7|ve",
            "  mnu_Linie4|-||ve",
            "  mnu_Markierungenzurück|Markierungen zurücksetzen|F5|ve",
            " mnu_Linie3|-||ve",
            " mnu_Ton|Ton ein/aus|Ctrl+L|ve",
            " mnu_Fenster_verschiebbar|Fenster verschiebbar ja/nein|Ctrl+W|ve",
            " mnu_Linie7|-||ve",
            " mnu_MIDIEingang|MIDI-Eingang||ve",
            "  mnu_MIDIKeinSystem|Kein MIDI-System gefunden||vd",
            " mnu_NaechsteNote|Nächste Note automatisch ja/nein||ve",
            " mnu_Mikrofon|Mikrofon ja/nein|F9|vd",
            " mnu_MikrofonPruefen|Mikrofon prüfen …||vd",
        };
        QCOMPARE(ist.mid(0, soll.size()), soll);
        // Nine web entries, no separators, then the help entry acting by itself.
        QCOMPARE(ist.at(soll.size()), QString("mnu_Webseiten|Webseiten||ve"));
        for (int i = 0; i < 9; ++i)
            QVERIFY(ist.at(soll.size() + 1 + i).startsWith(QString(" mnu_Webseite(%1)|").arg(i)));
        QCOMPARE(ist.mid(soll.size() + 10), QStringList{"mnu_HilfeBuch|Hilfe||ve"});
    }

    void schwarzeTasteNimmtKlickImUeberlapp()
    {
        Fenster f;
        // A point over the right part of TheKey(0) that TheKey(1) also covers.
        const QPoint p = el<Knopf>(f.kb, "TheKey", 1)->geometry().topLeft() + QPoint(2, 20);
        QVERIFY(el<Knopf>(f.kb, "TheKey", 0)->geometry().contains(p));
        QCOMPARE(f.kb->centralWidget()->childAt(p), el<Knopf>(f.kb, "TheKey", 1));
    }

    void mausTexte()
    {
        Fenster f;
        QWidget* flaeche = f.kb->centralWidget();
        QTest::mouseMove(el<Bild>(f.kb, "Image4"), QPoint(20, 20));
        QTRY_COMPARE(text(f.kb, "TextFeld2"), QString("Der normale Notenschlüssel für die Singstimme."));
        QTest::mouseMove(flaeche, QPoint(100, 20));
        QTRY_COMPARE(text(f.kb, "TextFeld2"), QString("Klavidor von 2003."));
        QTest::mouseMove(el<Bild>(f.kb, "Image2"), QPoint(20, 20));
        QTRY_COMPARE(text(f.kb, "TextFeld2"),
                     QString("Der Bassschlüssel markiert die tiefen Noten, die man mit der linken Hand spielen kann."));
        // Over a label nothing changes.
        QTest::mouseMove(el<Beschriftung>(f.kb, "TextFeld"), QPoint(5, 5));
        QTest::qWait(20);
        QCOMPARE(text(f.kb, "TextFeld2"),
                 QString("Der Bassschlüssel markiert die tiefen Noten, die man mit der linken Hand spielen kann."));
    }

    void startbildUeberVieleStarts()
    {
        QMap<QString, int> zaehler;
        const int starts = 400;
        for (int saat = 0; saat < starts; ++saat) {
            Haupt h;
            h.Randomize(saat);
            Aufnahme ton;
            Keyboard kb(h, ton);
            QVERIFY(el(&kb, "LernBild")->isHidden());
            zaehler[el<Bild>(&kb, "LernBild")->bild()]++;
        }
        QCOMPARE(zaehler.size(), 5);
        QVERIFY(zaehler.value("lernbild") > starts * 0.70 && zaehler.value("lernbild") < starts * 0.90);
        for (int i = 1; i <= 4; ++i)
            QVERIFY(zaehler.value(QString("lernbild%1").arg(i)) >= 8);
    }

    void beendenWege()
    {
        Fenster f;
        QVERIFY(beendet(f.kb, [&] { el<Knopf>(f.kb, "Funktion", 10)->click(); }));
        QVERIFY(beendet(f.kb, [&] { f.menue("mnu_beenden")->trigger(); }));
        QVERIFY(beendet(f.kb, [&] { QTest::keyClick(f.kb, Qt::Key_X, Qt::ControlModifier); }));
        QVERIFY(beendet(f.kb, [&] { QTest::keyClick(f.kb, Qt::Key_Escape); }));
        QVERIFY(beendet(f.kb, [&] { f.kb->close(); }));
        // "Beenden" also blanks the key-signature name first, as every command does.
        el<Beschriftung>(f.kb, "TonartText")->setText("Ddur");
        QVERIFY(beendet(f.kb, [&] { el<Knopf>(f.kb, "Funktion", 10)->click(); }));
        QCOMPARE(text(f.kb, "TonartText"), QString());
        QVERIFY(!beendet(f.kb, [&] { QTest::keyClick(f.kb, Qt::Key_Q, Qt::ControlModifier); }));
    }
};

QTEST_MAIN(TestHauptfenster)
#include "test_hauptfenster.moc"
