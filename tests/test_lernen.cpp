// Learning mode: the switch, the draw, the judged answer, the quick key and the colour band.
#include "hilfen.h"
#include "kern/Notenmodell.h"

#include <QMessageBox>

namespace {

// Closes the black-key message box as soon as it is open; remembers its title, text and icon.
struct Meldung
{
    QString titel, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    void erwarten()
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return erwarten();
            titel = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
    }
};

} // namespace

class TestLernen : public QObject
{
    Q_OBJECT

private slots:
    void lernmodusEinUndAus()
    {
        Fenster f;
        f.menue("mnu_EinzelneTonarten(1)")->trigger(); // D major
        klicke(f.kb, "Funktion", 0); // display on: "Schieben"
        el<Form>(f.kb, "Farbe", 0)->hide();
        for (int mal = 0; mal < 2; ++mal) {
            klicke(f.kb, "Funktion", 6);
            for (int i = 0; i < 10; ++i)
                QVERIFY(!el<Knopf>(f.kb, "LernTasten", i)->isHidden());
            for (const char* n : {"LernTasten2", "AbdeckFeld", "LernBild", "Funktion(6)", "Funktion(7)", "Funktion(10)"})
                QVERIFY2(!el(f.kb, n)->isHidden(), n);
            for (const char* n : {"Picture1", "Picture2", "Image7", "FehlerWort", "RichtigWort", "TonartText"})
                QVERIFY2(el(f.kb, n)->isHidden(), n);
            // The quick key appears with the first draw and stays.
            QCOMPARE(el<Knopf>(f.kb, "LernTaste")->isHidden(), mal == 0);
            QCOMPARE(el<Knopf>(f.kb, "Command1")->isHidden(), mal == 0);
            for (int i = 0; i <= 5; ++i)
                QVERIFY(el<Knopf>(f.kb, "Funktion", i)->isHidden());
            QCOMPARE(versteckt(f.kb, "aufLinie_Taste"), 23);
            QCOMPARE(versteckt(f.kb, "Farbe"), 0);
            for (auto* m : alle<Form>(f.kb, "T_Markierung"))
                QVERIFY(!m->isHidden() && m->fillColor() == 0xFFFFFFu && m->borderColor() == 0u);
            for (auto* t : alle<Knopf>(f.kb, "TheKey"))
                QVERIFY(t->isEnabled());
            QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
            QCOMPARE(f.haupt.Vorzeichen, QString("#"));
            QCOMPARE(f.haupt.Lern_Modus, true);
            QCOMPARE(f.haupt.Maus_Move_An, false);
            QVERIFY(!el<QMenu>(f.kb, "mnu_Tonarten")->isEnabled());
            QCOMPARE(text(f.kb, "TextFeld2"), QString("“#” wurde gewählt. Alle schwarzen Tasten zeigen die erhöhten Noten."));
            QVERIFY(text(f.kb, "TextFeld").startsWith("“Alle Tasten” bedeutet"));
            QCOMPARE(el<Knopf>(f.kb, "Funktion", 0)->text(), QString("Schieben"));
            klicke(f.kb, "LernTasten", 2); // an open question is dropped by the second switch
            QCOMPARE(f.haupt.Beantwortet, false);
        }
        // Back to viewing: the accidental buttons stay covered, the band goes.
        QTest::keyClick(f.kb, Qt::Key_F12);
        QCOMPARE(f.haupt.Lern_Modus, false);
        for (int i : {0, 1, 2, 5, 6, 7, 10})
            QVERIFY(!el<Knopf>(f.kb, "Funktion", i)->isHidden());
        for (int i : {3, 4, 8, 9})
            QVERIFY(el<Knopf>(f.kb, "Funktion", i)->isHidden());
        for (const char* n : {"LernTaste", "Command1", "LernTasten2", "LernBild", "Farbe(0)", "LernTasten(9)"})
            QVERIFY2(el(f.kb, n)->isHidden(), n);
        QVERIFY(!el<Feld>(f.kb, "Picture1")->isHidden() && !el<Bild>(f.kb, "Picture2")->isHidden() && !el<Bild>(f.kb, "Image7")->isHidden());
        QVERIFY(!el<Feld>(f.kb, "AbdeckFeld")->isHidden());
        QVERIFY(!el<Knopf>(f.kb, "aufLinie_Taste", 22)->isHidden());
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 0)->fillColor(), 0x99CEC2u);
        QVERIFY(el<QMenu>(f.kb, "mnu_Tonarten")->isEnabled());
        // A key click shows and sounds again.
        tippe(f.kb, 12);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: C"));
    }

    void lernenNachBUndX()
    {
        Fenster f;
        klicke(f.kb, "Funktion1", 2);
        QTest::keyClick(f.kb, Qt::Key_F11);
        QCOMPARE(f.haupt.Vorzeichen, QString("#"));
        QVERIFY(el<Knopf>(f.kb, "TheKey", 1)->isEnabled());
        QTest::keyClick(f.kb, Qt::Key_F12);
        klicke(f.kb, "Funktion", 5);
        klicke(f.kb, "Funktion1", 1);
        klicke(f.kb, "Funktion", 6);
        QCOMPARE(f.haupt.Vorzeichen, QString("#"));
        QVERIFY(!el<Bild>(f.kb, "Image5")->isHidden() && el<Bild>(f.kb, "Image6")->isHidden());
    }

    void ziehenZeigtOhneNamen()
    {
        Fenster f(99);
        QTest::keyClick(f.kb, Qt::Key_F11);
        el<Beschriftung>(f.kb, "NotenNamenTextFeld")->setText("Falsche Note!");
        klicke(f.kb, "LernTasten", 9);
        QCOMPARE(f.haupt.Beantwortet, false);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Falsche Note!"));
        QCOMPARE(text(f.kb, "TextFeld2"), QString("Es wurde der Lernbereich  10 gewählt."));
        QCOMPARE(text(f.kb, "TextFeld"), QString("Auf die Lernbereichstaste klicken um eine Note zu sehen. Dann die "
                                               "richtige weiße Taste klicken."));
        QCOMPARE(el<Knopf>(f.kb, "LernTaste")->text(), QString("Alle"));
        QCOMPARE(el<Knopf>(f.kb, "LernTaste")->backColor(), 0xFFC0C0u);
        QVERIFY(!el<Knopf>(f.kb, "LernTaste")->isHidden() && !el<Knopf>(f.kb, "Command1")->isHidden());
        QCOMPARE(f.ton.gespielt, QStringList{"/klaenge/" + Noten::Klangname(f.haupt.Lernnote_Taste) + ".wav"});
        // The staff shows the drawn note.
        const auto& stelle = Noten::Stellen[Noten::benenne(f.haupt.Lernnote_Taste, "keine Tonart", "#").code];
        QCOMPARE(el(f.kb, stelle.bild == 1 ? "Note1" : "Note2")->y(), tw(stelle.top));
        klicke(f.kb, "LernTasten", 0);
        QCOMPARE(text(f.kb, "TextFeld2"), QString("Es wurde der Lernbereich  1 gewählt."));
        QVERIFY(f.haupt.Lernnote_Weiss <= 3);
        // The quick key repeats the last range without passing through a command.
        el<Beschriftung>(f.kb, "TonartText")->setText("bleibt");
        f.haupt.Lernbereich = -1;
        klicke(f.kb, "LernTaste");
        QCOMPARE(f.haupt.Lernbereich, 0);
        QCOMPARE(text(f.kb, "TonartText"), QString("bleibt"));
        QTest::mouseMove(el<Knopf>(f.kb, "LernTasten", 4), QPoint(5, 5));
        QTRY_VERIFY(text(f.kb, "TextFeld2").startsWith("Bereichs- und Übungstasten. Jede Taste umfasst"));
    }

    void richtigeAntwort()
    {
        Fenster f(7);
        QTest::keyClick(f.kb, Qt::Key_F11);
        klicke(f.kb, "LernTasten", 3);
        const int taste = f.haupt.Lernnote_Taste, punkt = f.haupt.Lernnote_Weiss;
        f.ton.gespielt.clear();
        klicke(f.kb, "TheKey", taste);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), "Note: " + f.haupt.Lernnote_Name);
        QCOMPARE(text(f.kb, "TextFeld2"), QString("RICHTIG!"));
        QCOMPARE(text(f.kb, "TextFeld"),
                 QString("Es wurde die richtige Note getroffen. Weiter so, damit es immer schneller geht."));
        QVERIFY(!el<Bild>(f.kb, "RichtigWort")->isHidden() && el<Bild>(f.kb, "FehlerWort")->isHidden() && !el<Bild>(f.kb, "Bitte_Taste_wählen")->isHidden());
        QVERIFY(el<Knopf>(f.kb, "Funktion", 8)->isHidden() && el<Knopf>(f.kb, "Funktion", 9)->isHidden());
        for (int i = 0; i < 23; ++i)
            QCOMPARE(el<Form>(f.kb, "T_Markierung", i)->fillColor(), i == punkt ? 0x0C22EFu : 0xFFFFFFu);
        QCOMPARE(f.ton.gespielt.size(), 1);
        // A second click is ignored: no sound, dots unchanged.
        klicke(f.kb, "TheKey", 0);
        QCOMPARE(f.ton.gespielt.size(), 1);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", punkt)->fillColor(), 0x0C22EFu);
        // A command hides the "right" picture.
        klicke(f.kb, "Funktion", 7);
        QVERIFY(el<Bild>(f.kb, "RichtigWort")->isHidden());
    }

    void falscheAntwortUndVergleich()
    {
        Fenster f;
        QTest::keyClick(f.kb, Qt::Key_F11);
        // Draw until the middle c comes, then answer an octave lower.
        do
            klicke(f.kb, "LernTasten", 1);
        while (f.haupt.Lernnote_Taste != 12);
        f.ton.gespielt.clear();
        klicke(f.kb, "TheKey", 0);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Falsche Note!"));
        QCOMPARE(text(f.kb, "TextFeld2"), QString("NICHT RICHTIG!"));
        QCOMPARE(text(f.kb, "TextFeld"), QString("Leider noch nicht richtig gemacht. Bitte weiter üben."));
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 7)->fillColor(), 0xC97D45u);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 0)->fillColor(), 0x000000u);
        QVERIFY(!el<Bild>(f.kb, "FehlerWort")->isHidden() && el<Bild>(f.kb, "RichtigWort")->isHidden());
        QVERIFY(!el<Knopf>(f.kb, "Funktion", 8)->isHidden() && !el<Knopf>(f.kb, "Funktion", 9)->isHidden());
        QCOMPARE(f.ton.gespielt, QStringList{"/klaenge/00-c.wav"});
        const QList<quint32> punkte = fuellung(f.kb);
        klicke(f.kb, "Funktion", 8);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Falsche Note"));
        QVERIFY(!el<Bild>(f.kb, "Note3")->isHidden());
        klicke(f.kb, "Funktion", 9);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: Mittleres C"));
        QVERIFY(el<Bild>(f.kb, "Note3")->isHidden() && !el<Linie>(f.kb, "NotenLinie", 0)->isHidden());
        QCOMPARE(f.ton.gespielt.mid(1), (QStringList{"/klaenge/00-c.wav", "/klaenge/12-c.wav"}));
        QCOMPARE(fuellung(f.kb), punkte);
        QVERIFY(!el<Bild>(f.kb, "FehlerWort")->isHidden());
        // The question stays closed; a new draw clears the feedback.
        klicke(f.kb, "TheKey", 12);
        QCOMPARE(text(f.kb, "TextFeld2"), QString("NICHT RICHTIG!"));
        klicke(f.kb, "LernTaste");
        QVERIFY(el<Bild>(f.kb, "FehlerWort")->isHidden() && el<Knopf>(f.kb, "Funktion", 8)->isHidden() && el<Bild>(f.kb, "Bitte_Taste_wählen")->isHidden());
        for (quint32 c : fuellung(f.kb))
            QCOMPARE(c, 0xFFFFFFu);
    }

    void schwarzeTasteUndAbgebrocheneFrage()
    {
        Fenster f;
        QTest::keyClick(f.kb, Qt::Key_F11);
        klicke(f.kb, "LernTasten", 2);
        const int y = el<Bild>(f.kb, "Note1")->isHidden() ? el<Bild>(f.kb, "Note2")->y() : el<Bild>(f.kb, "Note1")->y();
        f.ton.gespielt.clear();
        Meldung m;
        m.erwarten();
        klicke(f.kb, "TheKey", 13);
        QCOMPARE(m.titel, QString("Keine schwarzen Tasten."));
        QCOMPARE(m.text, QString("Die schwarzen Tasten sind im Lernmodus abgeschaltet. Bitte neue Note geben lassen."));
        QCOMPARE(m.icon, QMessageBox::Information);
        f.kb->activateWindow(); // the closed box leaves no active window behind offscreen
        QVERIFY(QTest::qWaitForWindowActive(f.kb));
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(el<Bild>(f.kb, "Note1")->isHidden() ? el(f.kb, "Note2")->y() : el(f.kb, "Note1")->y(), y);
        for (quint32 c : fuellung(f.kb))
            QCOMPARE(c, 0xFFFFFFu);
        klicke(f.kb, "TheKey", 12);
        QCOMPARE(f.ton.gespielt, QStringList{});
        // "zeig meine" after a black key is hidden, and its action shows nothing.
        el<Beschriftung>(f.kb, "NotenNamenTextFeld")->setText("x");
        QVERIFY(el(f.kb, "Funktion(8)")->isHidden());
        el<Knopf>(f.kb, "Funktion", 8)->click();
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("x"));
        // A command drops an open question; a colour choice is a command too.
        klicke(f.kb, "LernTasten", 2);
        klicke(f.kb, "Funktion", 7);
        QTest::keyClick(f.kb, Qt::Key_F11);
        klicke(f.kb, "LernTasten", 2);
        QTest::keyClick(f.kb, Qt::Key_F2);
        QCOMPARE(f.haupt.Beantwortet, true);
        el<Beschriftung>(f.kb, "NotenNamenTextFeld")->setText("bleibt");
        klicke(f.kb, "TheKey", f.haupt.Lernnote_Taste);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("bleibt"));
    }

    void bereicheAusDemMenue()
    {
        Fenster f(3);
        // Each entry switches learning on and draws from the range its caption names.
        const QList<std::tuple<QKeySequence, QString, int>> faelle{
            {QKeySequence("Ctrl+F1"), "Bereich 1", 0},      {QKeySequence("Ctrl+F6"), "Bereich 6", 5},
            {QKeySequence("Ctrl+F7"), "Bereich  2 - 4", 6}, {QKeySequence("Ctrl+F8"), "Bereich  1, 2", 7},
            {QKeySequence("Ctrl+F9"), "Bereich  2 - 5", 8},
        };
        for (const auto& [taste, caption, bereich] : faelle) {
            QTest::keySequence(f.kb, taste);
            QVERIFY(f.haupt.Lern_Modus);
            QCOMPARE(f.haupt.Lernbereich, bereich);
            QCOMPARE(el<Knopf>(f.kb, "LernTaste")->text(), caption);
        }
        // The quick key after Ctrl+F9 draws from that range again.
        f.haupt.Lernbereich = -1;
        klicke(f.kb, "LernTaste");
        QCOMPARE(f.haupt.Lernbereich, 8);
    }

    void schnelltasteFormUndFarbband()
    {
        Fenster f;
        QTest::keyClick(f.kb, Qt::Key_F11);
        klicke(f.kb, "LernTasten", 0);
        QCOMPARE(el<Knopf>(f.kb, "LernTaste")->geometry(), twips(8280, 4560, 4695, 375));
        klicke(f.kb, "Command1");
        QCOMPARE(el<Knopf>(f.kb, "LernTaste")->geometry(), twips(4680, 3240, 1455, 975));
        klicke(f.kb, "Command1");
        QCOMPARE(el<Knopf>(f.kb, "LernTaste")->geometry(), twips(120, 4440, 11055, 375));
        klicke(f.kb, "Command1");
        QCOMPARE(el<Knopf>(f.kb, "LernTaste")->geometry(), twips(4680, 3240, 1455, 975));
        // "X" and Del switch the band; learning on shows it, off hides it.
        klicke(f.kb, "LernTasten2");
        QCOMPARE(versteckt(f.kb, "Farbe"), 6);
        QTest::keyClick(f.kb, Qt::Key_Delete);
        QCOMPARE(versteckt(f.kb, "Farbe"), 0);
        klicke(f.kb, "LernTasten2");
        QTest::keyClick(f.kb, Qt::Key_F11);
        QVERIFY(!el<Form>(f.kb, "Farbe", 5)->isHidden());
        QTest::keyClick(f.kb, Qt::Key_F12);
        QVERIFY(el<Form>(f.kb, "Farbe", 0)->isHidden());
        QTest::keyClick(f.kb, Qt::Key_Delete);
        QVERIFY(!el<Form>(f.kb, "Farbe", 3)->isHidden());
        QCOMPARE(el<Form>(f.kb, "Farbe", 0)->fillColor(), 0x404080u);
        QCOMPARE(el<Form>(f.kb, "Farbe", 5)->fillColor(), 0xFFFF00u);
    }
};

QTEST_MAIN(TestLernen)
#include "test_lernen.moc"
