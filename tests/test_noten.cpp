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
    const std::pair<QWidget*, char> linien[] = {{el<Linie>(kb, "NotenLinie", 0), '0'},  {el<Linie>(kb, "NotenLinie", 6), '6'},
                                                {el<Linie>(kb, "NotenLinie", 7), '7'},  {el<Linie>(kb, "NotenLinie2", 0), 'a'},
                                                {el<Linie>(kb, "NotenLinie2", 1), 'b'}, {el<Linie>(kb, "NotenLinie2", 2), 'c'}};
    for (const auto& [w, c] : linien)
        if (!w->isHidden())
            s += c;
    return s.isEmpty() ? "." : s;
}

QString stelleIst(Keyboard* kb)
{
    QStringList teile;
    Bild *n1 = el<Bild>(kb, "Note1"), *n2 = el<Bild>(kb, "Note2"), *n3 = el<Bild>(kb, "Note3");
    if (n1->isHidden() == n2->isHidden())
        return "not exactly one treble note";
    Bild* note = n1->isHidden() ? n2 : n1;
    teile << (note == n1 ? "1" : "2") << QString::number(note->y());
    teile << (n3->isHidden() ? QString("-") : QString::number(n3->y()));
    teile << linienIst(kb);
    return teile.join(' ');
}

// The white key whose note sits at staff code `code`, the ladder's order.
int tasteFuer(int code) { return Noten::Weisse_Taste(Noten::Leiter_Weiss(code)); }

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
            tippe(f.kb, tasteFuer(code));
            QCOMPARE(stelleIst(f.kb), inPixeln(Stellentabelle[code]));
        }
        // Nothing of the previous note remains; a key outside the keyboard changes nothing.
        tippe(f.kb, tasteFuer(16));
        tippe(f.kb, tasteFuer(5));
        QCOMPARE(stelleIst(f.kb), inPixeln("1 720 - ."));
        tippe(f.kb, 40);
        tippe(f.kb, -1);
        QCOMPARE(stelleIst(f.kb), inPixeln("1 720 - ."));
        // Without the middle-c line for low bass notes: only codes 18..22 lose it.
        f.haupt.C_Linie = false;
        const QStringList ohne{"0a", "0a", "a", "ab", "ab", "abc", "abc"};
        for (int code = 16; code <= 22; ++code) {
            tippe(f.kb, tasteFuer(code));
            QCOMPARE(linienIst(f.kb), ohne[code - 16]);
        }
        tippe(f.kb, tasteFuer(0));
        QCOMPARE(linienIst(f.kb), QString("0"));
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
                namen << text(kb, "NotenNamenTextFeld");
            }
        };
        Zeuge zeuge;
        Haupt h;
        h.Ton_Verzeichnis = "/klänge mit Lücke/";
        Keyboard kb(h, zeuge);
        zeuge.kb = &kb;
        kb.show();
        QVERIFY(QTest::qWaitForWindowExposed(&kb));
        klicke(&kb, "TheKey", 13);
        QCOMPARE(zeuge.gespielt, QStringList{"/klänge mit Lücke/13-cis.wav"});
        QCOMPARE(zeuge.namen, QStringList{"Note: cis"});
        QCOMPARE(stelleIst(&kb), inPixeln("1 1560 - 0"));
        klicke(&kb, "TheKey", 39);
        QCOMPARE(zeuge.gespielt.last(), QString("/klänge mit Lücke/39-dis.wav"));
        QCOMPARE(stelleIst(&kb), inPixeln("2 0 - 67"));
    }

    void benennungNachVorzeichenUndTonart()
    {
        Fenster f;
        f.haupt.Vorzeichen = "b";
        tippe(f.kb, 13);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: des"));
        QCOMPARE(stelleIst(f.kb), inPixeln("1 1440 - ."));
        QCOMPARE(f.ton.gespielt.last(), QString("/klaenge/13-cis.wav"));
        QCOMPARE(QString("%1 %2").arg(f.haupt.Noten_Name).arg(f.haupt.Noten_Position), QString("des 1"));
        // A key signature decides whatever the accidental buttons say.
        f.haupt.Tonart = "Fdur";
        f.haupt.Vorzeichen = "#";
        tippe(f.kb, 10);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: b"));
        QCOMPARE(stelleIst(f.kb), inPixeln("1 1800 1320 0a"));
        // "X": every shown note switches the black keys off again.
        f.haupt.Tonart = "keine Tonart";
        f.haupt.Vorzeichen = "X";
        el<Knopf>(f.kb, "TheKey", 1)->setEnabled(true);
        tippe(f.kb, 2);
        for (int k = 0; k < 40; ++k)
            QCOMPARE(el<Knopf>(f.kb, "TheKey", k)->isEnabled(), !Noten::istSchwarz(k));
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 1)->backColor(), f.haupt.Farbe_Schwarz_aus);
    }

    void ohneTonUndAbgeschalteteTaste()
    {
        Fenster f;
        f.haupt.Ton_aus = true;
        tippe(f.kb, 12);
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: C"));
        f.haupt.Ton_aus = false;
        // A disabled key neither shows nor sounds.
        el<Knopf>(f.kb, "TheKey", 14)->setEnabled(false);
        QTest::mouseClick(el(f.kb, "TheKey(14)"), Qt::LeftButton);
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: C"));
    }

    void mausUeberTasten()
    {
        Fenster f;
        const QString erklaerung = "Die Tasten des Keyboards dienen 1. um die Noten sehen zu können und dabei auch "
                                   "den Klang zu hören und 2. um im Lernmodus selbst eingeben zu können.";
        el<Beschriftung>(f.kb, "NotenNamenTextFeld")->setText("vorher");
        QTest::mouseMove(el<Knopf>(f.kb, "TheKey", 28), QPoint(10, 100));
        QTRY_COMPARE(text(f.kb, "TextFeld2"), erklaerung);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("vorher"));
        f.haupt.Maus_Move_An = true;
        QTest::mouseMove(el<Knopf>(f.kb, "TheKey", 30), QPoint(10, 20));
        QTRY_COMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: fis"));
        QCOMPARE(stelleIst(f.kb), inPixeln("2 840 - ."));
        QCOMPARE(f.ton.gespielt, QStringList{}); // no sound from the mouse
    }

    void markierungenWeiss()
    {
        // A new draw shows every dot again, white with a black border.
        Fenster f;
        QTest::keyClick(f.kb, Qt::Key_F11);
        for (int i : {0, 5, 22})
            el<Form>(f.kb, "T_Markierung", i)->hide();
        el<Form>(f.kb, "T_Markierung", 7)->setBorderColor(0x0C22EF);
        el<Form>(f.kb, "T_Markierung", 9)->setFillColor(0x0C22EF);
        klicke(f.kb, "LernTasten", 0);
        for (auto* m : alle<Form>(f.kb, "T_Markierung")) {
            QVERIFY(!m->isHidden());
            QCOMPARE(m->fillColor(), 0xFFFFFFu);
            QCOMPARE(m->borderColor(), 0x000000u);
        }
    }
};

QTEST_MAIN(TestNoten)
#include "test_noten.moc"
