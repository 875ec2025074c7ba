// The note model and a key click: naming, staff positions, ledger lines and the sound request.
#include "hilfen.h"
#include "kern/Notenmodell.h"

namespace {

// Staff position: picture (1/2), its Top, Note3's Top or -, and the ledger lines shown
// (0 = NotenLinie(0), 6, 7 = NotenLinie(6), (7), a, b, c = NotenLinie2(0), (1), (2)).
const char* const Stellentabelle[23] = {
    "1 1560 - 0",   "1 1440 - .",   "1 1200 - .",    "1 1080 - .",    "1 840 - .",      "1 720 - .",
    "2 1560 - .",   "2 1440 - .",   "2 1200 - .",    "2 1080 - .",    "2 840 - .",      "2 720 - .",
    "2 480 - 6",    "2 360 - 6",    "2 160 - 67",    "2 0 - 67",      "1 1800 1320 0a", "1 1920 1440 0a",
    "1 2160 1680 0a", "1 2280 1800 0ab", "1 2520 2040 0ab", "1 2640 2160 0abc", "1 2880 2400 0abc",
};

QString linienIst(Keyboard* kb)
{
    QString s;
    const std::pair<QWidget*, char> linien[] = {{kb->NotenLinie[0], '0'},  {kb->NotenLinie[6], '6'},
                                                {kb->NotenLinie[7], '7'},  {kb->NotenLinie2[0], 'a'},
                                                {kb->NotenLinie2[1], 'b'}, {kb->NotenLinie2[2], 'c'}};
    for (const auto& [w, c] : linien)
        if (!w->isHidden())
            s += c;
    return s.isEmpty() ? "." : s;
}

QString stelleIst(Keyboard* kb)
{
    QStringList teile;
    if (kb->Note1->isHidden() == kb->Note2->isHidden())
        return "not exactly one treble note";
    Bild* note = kb->Note1->isHidden() ? kb->Note2 : kb->Note1;
    teile << (note == kb->Note1 ? "1" : "2") << QString::number(note->y());
    teile << (kb->Note3->isHidden() ? QString("-") : QString::number(kb->Note3->y()));
    teile << linienIst(kb);
    return teile.join(' ');
}

// A table row with its Tops in twips turned into the pixels they give.
QString inPixeln(const QString& zeile)
{
    QStringList t = zeile.split(' ');
    for (int i : {1, 2})
        if (t[i] != "-")
            t[i] = QString::number(tw(t[i].toInt()));
    return t.join(' ');
}

} // namespace

class TestNoten : public QObject
{
    Q_OBJECT

private slots:
    void notenstellenMitHilfslinien()
    {
        Fenster f;
        for (int code = 0; code < 23; ++code) {
            f.kb->Setze_Note(code);
            QCOMPARE(stelleIst(f.kb.get()), inPixeln(Stellentabelle[code]));
        }
        // Nothing of the previous note remains; a code outside 0..22 changes nothing.
        f.kb->Setze_Note(16);
        f.kb->Setze_Note(5);
        QCOMPARE(stelleIst(f.kb.get()), inPixeln("1 720 - ."));
        f.kb->Setze_Note(23);
        f.kb->Setze_Note(-1);
        QCOMPARE(stelleIst(f.kb.get()), inPixeln("1 720 - ."));
        // Without the middle-c line for low bass notes: only codes 18..22 lose it.
        f.haupt.C_Linie = false;
        const QStringList ohne{"0a", "0a", "a", "ab", "ab", "abc", "abc"};
        for (int code = 16; code <= 22; ++code) {
            f.kb->Setze_Note(code);
            QCOMPARE(linienIst(f.kb.get()), ohne[code - 16]);
        }
        f.kb->Setze_Note(0);
        QCOMPARE(linienIst(f.kb.get()), QString("0"));
    }

    void klickZeichnetBenenntUndKlingt()
    {
        Fenster f;
        // The note is drawn and named before the sound is asked for.
        struct Zeuge : Aufnahme
        {
            Keyboard* kb = nullptr;
            QStringList namen;
            void spiele(const QString& p) override
            {
                Aufnahme::spiele(p);
                namen << kb->NotenNamenTextFeld->text();
            }
        };
        Zeuge zeuge;
        Haupt h;
        h.Ton_Verzeichnis = "/klänge mit Lücke/";
        Keyboard kb(h, zeuge);
        zeuge.kb = &kb;
        kb.show();
        QVERIFY(QTest::qWaitForWindowExposed(&kb));
        QTest::mouseClick(kb.TheKey[13], Qt::LeftButton);
        QCOMPARE(zeuge.gespielt, QStringList{"/klänge mit Lücke/13-cis.wav"});
        QCOMPARE(zeuge.namen, QStringList{"Note: cis"});
        QCOMPARE(stelleIst(&kb), inPixeln("1 1560 - 0"));
        QTest::mouseClick(kb.TheKey[39], Qt::LeftButton);
        QCOMPARE(zeuge.gespielt.last(), QString("/klänge mit Lücke/39-dis.wav"));
        QCOMPARE(stelleIst(&kb), inPixeln("2 0 - 67"));
    }

    void benennungNachVorzeichenUndTonart()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        f.haupt.Vorzeichen = "b";
        kb->TheKey_Click(13);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Note: des"));
        QCOMPARE(stelleIst(kb), inPixeln("1 1440 - ."));
        QCOMPARE(f.ton.gespielt.last(), QString("/klaenge/13-cis.wav"));
        QCOMPARE(QString("%1 %2").arg(f.haupt.Noten_Name).arg(f.haupt.Noten_Position), QString("des 1"));
        // A key signature decides whatever the accidental buttons say.
        f.haupt.Tonart = "Fdur";
        f.haupt.Vorzeichen = "#";
        kb->TheKey_Click(10);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Note: b"));
        QCOMPARE(stelleIst(kb), inPixeln("1 1800 1320 0a"));
        // "X": every shown note switches the black keys off again.
        f.haupt.Tonart = "keine Tonart";
        f.haupt.Vorzeichen = "X";
        kb->TheKey[1]->setEnabled(true);
        kb->TheKey_Click(2);
        for (int k = 0; k < 40; ++k)
            QCOMPARE(kb->TheKey[k]->isEnabled(), !Noten::istSchwarz(k));
        QCOMPARE(kb->TheKey[1]->backColor(), f.haupt.Farbe_Schwarz_aus);
    }

    void ohneTonUndAbgeschalteteTaste()
    {
        Fenster f;
        f.haupt.Ton_aus = true;
        f.kb->TheKey_Click(12);
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(f.kb->NotenNamenTextFeld->text(), QString("Note: C"));
        f.haupt.Ton_aus = false;
        // A disabled key neither shows nor sounds.
        f.kb->TheKey[14]->setEnabled(false);
        QTest::mouseClick(f.kb->TheKey[14], Qt::LeftButton);
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(f.kb->NotenNamenTextFeld->text(), QString("Note: C"));
    }

    void mausUeberTasten()
    {
        Fenster f;
        const QString erklaerung = "Die Tasten des Keyboards dienen 1. um die Noten sehen zu können und dabei auch "
                                   "den Klang zu hören und 2. um im Lernmodus selbst eingeben zu können.";
        f.kb->NotenNamenTextFeld->setText("vorher");
        QTest::mouseMove(f.kb->TheKey[28], QPoint(10, 100));
        QTRY_COMPARE(f.kb->TextFeld2->text(), erklaerung);
        QCOMPARE(f.kb->NotenNamenTextFeld->text(), QString("vorher"));
        f.haupt.Maus_Move_An = true;
        QTest::mouseMove(f.kb->TheKey[30], QPoint(10, 20));
        QTRY_COMPARE(f.kb->NotenNamenTextFeld->text(), QString("Note: fis"));
        QCOMPARE(stelleIst(f.kb.get()), inPixeln("2 840 - ."));
        QCOMPARE(f.ton.gespielt, QStringList{}); // no sound from the mouse
    }

    void markierungenWeiss()
    {
        Fenster f;
        for (int i : {0, 5, 22})
            f.kb->T_Markierung[i]->hide();
        f.kb->T_Markierung[7]->setBorderColor(0x0C22EF);
        f.kb->Markierungen_weiss();
        for (auto* m : f.kb->T_Markierung) {
            QVERIFY(!m->isHidden());
            QCOMPARE(m->fillColor(), 0xFFFFFFu);
            QCOMPARE(m->borderColor(), 0x000000u);
        }
    }
};

QTEST_MAIN(TestNoten)
#include "test_noten.moc"
