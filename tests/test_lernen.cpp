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
        Keyboard* kb = f.kb.get();
        f.menue("mnu_EinzelneTonarten(1)")->trigger(); // D major
        QTest::mouseClick(kb->Funktion[0], Qt::LeftButton); // display on: "Schieben"
        kb->Farbe[0]->hide();
        for (int mal = 0; mal < 2; ++mal) {
            QTest::mouseClick(kb->Funktion[6], Qt::LeftButton);
            for (int i = 0; i < 10; ++i)
                QVERIFY(!kb->LernTasten[i]->isHidden());
            for (QWidget* w : QWidgetList{kb->LernTasten2, kb->AbdeckFeld, kb->LernBild, kb->Funktion[6], kb->Funktion[7],
                               kb->Funktion[10]})
                QVERIFY2(!w->isHidden(), qPrintable(w->objectName()));
            for (QWidget* w : QWidgetList{kb->Picture1, kb->Picture2, kb->Image7, kb->FehlerWort, kb->RichtigWort,
                               kb->TonartText})
                QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
            // The quick key appears with the first draw and stays.
            QCOMPARE(kb->LernTaste->isHidden(), mal == 0);
            QCOMPARE(kb->Command1->isHidden(), mal == 0);
            for (int i = 0; i <= 5; ++i)
                QVERIFY(kb->Funktion[i]->isHidden());
            for (auto* t : kb->aufLinie_Taste)
                QVERIFY(t->isHidden());
            for (auto* b : kb->Farbe)
                QVERIFY(!b->isHidden());
            for (auto* m : kb->T_Markierung)
                QVERIFY(!m->isHidden() && m->fillColor() == 0xFFFFFFu && m->borderColor() == 0u);
            for (auto* t : kb->TheKey)
                QVERIFY(t->isEnabled());
            QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
            QCOMPARE(f.haupt.Vorzeichen, QString("#"));
            QCOMPARE(f.haupt.Lern_Modus, true);
            QCOMPARE(f.haupt.Maus_Move_An, false);
            QVERIFY(!kb->mnu_Tonarten->isEnabled());
            QCOMPARE(kb->TextFeld2->text(), QString("“#” wurde gewählt. Alle schwarzen Tasten zeigen die erhöhten Noten."));
            QVERIFY(kb->TextFeld->text().startsWith("“Alle Tasten” bedeutet"));
            QCOMPARE(kb->Funktion[0]->text(), QString("Schieben"));
            kb->LernTasten_Click(2); // an open question is dropped by the second switch
            QCOMPARE(f.haupt.Beantwortet, false);
        }
        // Back to viewing: the accidental buttons stay covered, the band goes.
        QTest::keyClick(kb, Qt::Key_F12);
        QCOMPARE(f.haupt.Lern_Modus, false);
        for (int i : {0, 1, 2, 5, 6, 7, 10})
            QVERIFY(!kb->Funktion[i]->isHidden());
        for (int i : {3, 4, 8, 9})
            QVERIFY(kb->Funktion[i]->isHidden());
        for (QWidget* w : QWidgetList{kb->LernTaste, kb->Command1, kb->LernTasten2, kb->LernBild, kb->Farbe[0],
                                      kb->LernTasten[9]})
            QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
        QVERIFY(!kb->Picture1->isHidden() && !kb->Picture2->isHidden() && !kb->Image7->isHidden());
        QVERIFY(!kb->AbdeckFeld->isHidden());
        QVERIFY(!kb->aufLinie_Taste[22]->isHidden());
        QCOMPARE(kb->T_Markierung[0]->fillColor(), 0x99CEC2u);
        QVERIFY(kb->mnu_Tonarten->isEnabled());
        // A key click shows and sounds again.
        kb->TheKey_Click(12);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Note: C"));
    }

    void lernenNachBUndX()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QTest::mouseClick(kb->Funktion1[2], Qt::LeftButton);
        QTest::keyClick(kb, Qt::Key_F11);
        QCOMPARE(f.haupt.Vorzeichen, QString("#"));
        QVERIFY(kb->TheKey[1]->isEnabled());
        QTest::keyClick(kb, Qt::Key_F12);
        QTest::mouseClick(kb->Funktion[5], Qt::LeftButton);
        QTest::mouseClick(kb->Funktion1[1], Qt::LeftButton);
        QTest::mouseClick(kb->Funktion[6], Qt::LeftButton);
        QCOMPARE(f.haupt.Vorzeichen, QString("#"));
        QVERIFY(!kb->Image5->isHidden() && kb->Image6->isHidden());
    }

    void ziehenZeigtOhneNamen()
    {
        Fenster f(99);
        Keyboard* kb = f.kb.get();
        QTest::keyClick(kb, Qt::Key_F11);
        kb->NotenNamenTextFeld->setText("Falsche Note!");
        QTest::mouseClick(kb->LernTasten[9], Qt::LeftButton);
        QCOMPARE(f.haupt.Beantwortet, false);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Falsche Note!"));
        QCOMPARE(kb->TextFeld2->text(), QString("Es wurde der Lernbereich  10 gewählt."));
        QCOMPARE(kb->TextFeld->text(), QString("Auf die Lernbereichstaste klicken um eine Note zu sehen. Dann die "
                                               "richtige weiße Taste klicken."));
        QCOMPARE(kb->LernTaste->text(), QString("Alle"));
        QCOMPARE(kb->LernTaste->backColor(), 0xFFC0C0u);
        QVERIFY(!kb->LernTaste->isHidden() && !kb->Command1->isHidden());
        QCOMPARE(f.ton.gespielt, QStringList{"/klaenge/" + Noten::Klangname(f.haupt.Lernnote_Taste) + ".wav"});
        // The staff shows the drawn note.
        const auto& stelle = Noten::Stellen[Noten::benenne(f.haupt.Lernnote_Taste, "keine Tonart", "#").code];
        QCOMPARE((stelle.bild == 1 ? kb->Note1 : kb->Note2)->y(), tw(stelle.top));
        QTest::mouseClick(kb->LernTasten[0], Qt::LeftButton);
        QCOMPARE(kb->TextFeld2->text(), QString("Es wurde der Lernbereich  1 gewählt."));
        QVERIFY(f.haupt.Lernnote_Weiss <= 3);
        // The quick key repeats the last range without passing through a command.
        kb->TonartText->setText("bleibt");
        f.haupt.Lernbereich = -1;
        QTest::mouseClick(kb->LernTaste, Qt::LeftButton);
        QCOMPARE(f.haupt.Lernbereich, 0);
        QCOMPARE(kb->TonartText->text(), QString("bleibt"));
        QTest::mouseMove(kb->LernTasten[4], QPoint(5, 5));
        QTRY_VERIFY(kb->TextFeld2->text().startsWith("Bereichs- und Übungstasten. Jede Taste umfasst"));
    }

    void richtigeAntwort()
    {
        Fenster f(7);
        Keyboard* kb = f.kb.get();
        QTest::keyClick(kb, Qt::Key_F11);
        kb->LernTasten_Click(3);
        const int taste = f.haupt.Lernnote_Taste, punkt = f.haupt.Lernnote_Weiss;
        f.ton.gespielt.clear();
        QTest::mouseClick(kb->TheKey[taste], Qt::LeftButton);
        QCOMPARE(kb->NotenNamenTextFeld->text(), "Note: " + f.haupt.Lernnote_Name);
        QCOMPARE(kb->TextFeld2->text(), QString("RICHTIG!"));
        QCOMPARE(kb->TextFeld->text(),
                 QString("Es wurde die richtige Note getroffen. Weiter so, damit es immer schneller geht."));
        QVERIFY(!kb->RichtigWort->isHidden() && kb->FehlerWort->isHidden() && !kb->Bitte_Taste_waehlen->isHidden());
        QVERIFY(kb->Funktion[8]->isHidden() && kb->Funktion[9]->isHidden());
        for (int i = 0; i < 23; ++i)
            QCOMPARE(kb->T_Markierung[i]->fillColor(), i == punkt ? 0x0C22EFu : 0xFFFFFFu);
        QCOMPARE(f.ton.gespielt.size(), 1);
        // A second click is ignored: no sound, dots unchanged.
        QTest::mouseClick(kb->TheKey[0], Qt::LeftButton);
        QCOMPARE(f.ton.gespielt.size(), 1);
        QCOMPARE(kb->T_Markierung[punkt]->fillColor(), 0x0C22EFu);
        // A command hides the "right" picture.
        QTest::mouseClick(kb->Funktion[7], Qt::LeftButton);
        QVERIFY(kb->RichtigWort->isHidden());
    }

    void falscheAntwortUndVergleich()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QTest::keyClick(kb, Qt::Key_F11);
        // Draw until the middle c comes, then answer an octave lower.
        do
            kb->LernTasten_Click(1);
        while (f.haupt.Lernnote_Taste != 12);
        f.ton.gespielt.clear();
        QTest::mouseClick(kb->TheKey[0], Qt::LeftButton);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Falsche Note!"));
        QCOMPARE(kb->TextFeld2->text(), QString("NICHT RICHTIG!"));
        QCOMPARE(kb->TextFeld->text(), QString("Leider noch nicht richtig gemacht. Bitte weiter üben."));
        QCOMPARE(kb->T_Markierung[7]->fillColor(), 0xC97D45u);
        QCOMPARE(kb->T_Markierung[0]->fillColor(), 0x000000u);
        QVERIFY(!kb->FehlerWort->isHidden() && kb->RichtigWort->isHidden());
        QVERIFY(!kb->Funktion[8]->isHidden() && !kb->Funktion[9]->isHidden());
        QCOMPARE(f.ton.gespielt, QStringList{"/klaenge/00-c.wav"});
        const QList<quint32> punkte = fuellung(kb);
        QTest::mouseClick(kb->Funktion[8], Qt::LeftButton);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Falsche Note"));
        QVERIFY(!kb->Note3->isHidden());
        QTest::mouseClick(kb->Funktion[9], Qt::LeftButton);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Note: Mittleres C"));
        QVERIFY(kb->Note3->isHidden() && !kb->NotenLinie[0]->isHidden());
        QCOMPARE(f.ton.gespielt.mid(1), (QStringList{"/klaenge/00-c.wav", "/klaenge/12-c.wav"}));
        QCOMPARE(fuellung(kb), punkte);
        QVERIFY(!kb->FehlerWort->isHidden());
        // The question stays closed; a new draw clears the feedback.
        QTest::mouseClick(kb->TheKey[12], Qt::LeftButton);
        QCOMPARE(kb->TextFeld2->text(), QString("NICHT RICHTIG!"));
        QTest::mouseClick(kb->LernTaste, Qt::LeftButton);
        QVERIFY(kb->FehlerWort->isHidden() && kb->Funktion[8]->isHidden() && kb->Bitte_Taste_waehlen->isHidden());
        for (quint32 c : fuellung(kb))
            QCOMPARE(c, 0xFFFFFFu);
    }

    void schwarzeTasteUndAbgebrocheneFrage()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QTest::keyClick(kb, Qt::Key_F11);
        kb->LernTasten_Click(2);
        const int y = kb->Note1->isHidden() ? kb->Note2->y() : kb->Note1->y();
        f.ton.gespielt.clear();
        Meldung m;
        m.erwarten();
        QTest::mouseClick(kb->TheKey[13], Qt::LeftButton);
        QCOMPARE(m.titel, QString("Keine schwarzen Tasten."));
        QCOMPARE(m.text, QString("Die schwarzen Tasten sind im Lernmodus abgeschaltet. Bitte neue Note geben lassen."));
        QCOMPARE(m.icon, QMessageBox::Information);
        kb->activateWindow(); // the closed box leaves no active window behind offscreen
        QVERIFY(QTest::qWaitForWindowActive(kb));
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(kb->Note1->isHidden() ? kb->Note2->y() : kb->Note1->y(), y);
        for (quint32 c : fuellung(kb))
            QCOMPARE(c, 0xFFFFFFu);
        QTest::mouseClick(kb->TheKey[12], Qt::LeftButton);
        QCOMPARE(f.ton.gespielt, QStringList{});
        // "zeig meine" after a black key shows nothing.
        kb->NotenNamenTextFeld->setText("x");
        kb->Funktion_Click(8);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("x"));
        // A command drops an open question; a colour choice is a command too.
        kb->LernTasten_Click(2);
        QTest::mouseClick(kb->Funktion[7], Qt::LeftButton);
        QTest::keyClick(kb, Qt::Key_F11);
        kb->LernTasten_Click(2);
        QTest::keyClick(kb, Qt::Key_F2);
        QCOMPARE(f.haupt.Beantwortet, true);
        kb->NotenNamenTextFeld->setText("bleibt");
        QTest::mouseClick(kb->TheKey[f.haupt.Lernnote_Taste], Qt::LeftButton);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("bleibt"));
    }

    void bereicheAusDemMenue()
    {
        Fenster f(3);
        Keyboard* kb = f.kb.get();
        // Each entry switches learning on and draws from the range its caption names.
        const QList<std::tuple<QKeySequence, QString, int>> faelle{
            {QKeySequence("Ctrl+F1"), "Bereich 1", 0},      {QKeySequence("Ctrl+F6"), "Bereich 6", 5},
            {QKeySequence("Ctrl+F7"), "Bereich  2 - 4", 6}, {QKeySequence("Ctrl+F8"), "Bereich  1, 2", 7},
            {QKeySequence("Ctrl+F9"), "Bereich  2 - 5", 8},
        };
        for (const auto& [taste, caption, bereich] : faelle) {
            QTest::keySequence(kb, taste);
            QVERIFY(f.haupt.Lern_Modus);
            QCOMPARE(f.haupt.Lernbereich, bereich);
            QCOMPARE(kb->LernTaste->text(), caption);
        }
        // The quick key after Ctrl+F9 draws from that range again.
        f.haupt.Lernbereich = -1;
        QTest::mouseClick(kb->LernTaste, Qt::LeftButton);
        QCOMPARE(f.haupt.Lernbereich, 8);
    }

    void schnelltasteFormUndFarbband()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QTest::keyClick(kb, Qt::Key_F11);
        kb->LernTasten_Click(0);
        QCOMPARE(kb->LernTaste->geometry(), twips(8280, 4560, 4695, 375));
        QTest::mouseClick(kb->Command1, Qt::LeftButton);
        QCOMPARE(kb->LernTaste->geometry(), twips(4680, 3240, 1455, 975));
        QTest::mouseClick(kb->Command1, Qt::LeftButton);
        QCOMPARE(kb->LernTaste->geometry(), twips(120, 4440, 11055, 375));
        QTest::mouseClick(kb->Command1, Qt::LeftButton);
        QCOMPARE(kb->LernTaste->geometry(), twips(4680, 3240, 1455, 975));
        // "X" and Del switch the band; learning on shows it, off hides it.
        QTest::mouseClick(kb->LernTasten2, Qt::LeftButton);
        for (auto* b : kb->Farbe)
            QVERIFY(b->isHidden());
        QTest::keyClick(kb, Qt::Key_Delete);
        for (auto* b : kb->Farbe)
            QVERIFY(!b->isHidden());
        QTest::mouseClick(kb->LernTasten2, Qt::LeftButton);
        QTest::keyClick(kb, Qt::Key_F11);
        QVERIFY(!kb->Farbe[5]->isHidden());
        QTest::keyClick(kb, Qt::Key_F12);
        QVERIFY(kb->Farbe[0]->isHidden());
        QTest::keyClick(kb, Qt::Key_Delete);
        QVERIFY(!kb->Farbe[3]->isHidden());
        QCOMPARE(kb->Farbe[0]->fillColor(), 0x404080u);
        QCOMPARE(kb->Farbe[5]->fillColor(), 0xFFFF00u);
    }
};

QTEST_MAIN(TestLernen)
#include "test_lernen.moc"
