// Commands, note-name ladder, key signatures, marker dots and view options, driven through the
// real buttons, menu entries and shortcut keys.
#include "hilfen.h"
#include "kern/Notenmodell.h"

namespace {

const QString AlleTastenText = "“Alle Tasten” bedeutet, dass man sich auch die schwarzen Tasten ansehen kann. "
                               "Standardmäßig als #. Man kann aber auch zwischen # und b wählen, oder abschalten X.";
const QString KreuzText = "“#” wurde gewählt. Alle schwarzen Tasten zeigen die erhöhten Noten.";

// The playable keys as note names per octave, e.g. "c d e f g a h" for C major.
QString spielbar(Keyboard* kb)
{
    static const char* namen[12] = {"c", "cis", "d", "dis", "e", "f", "fis", "g", "gis", "a", "b", "h"};
    QStringList s;
    for (int k = 0; k < 12; ++k)
        if (el<Knopf>(kb, "TheKey", k)->isEnabled())
            s << namen[k];
    return s.join(' ');
}

// Every key's state must match its note's state in the lowest octave (keys 36..39 included).
bool oktavenGleich(Keyboard* kb, const Haupt& h)
{
    for (int k = 0; k < 40; ++k) {
        Knopf* t = el<Knopf>(kb, "TheKey", k);
        if (t->isEnabled() != el<Knopf>(kb, "TheKey", k % 12)->isEnabled())
            return false;
        const bool schwarz = Noten::istSchwarz(k);
        const quint32 soll = t->isEnabled() ? (schwarz ? h.Farbe_Schwarz : h.Farbe_Weiss)
                                            : (schwarz ? h.Farbe_Schwarz_aus : h.Farbe_Weiss_aus);
        if (t->backColor() != soll)
            return false;
    }
    return true;
}

} // namespace

class TestAnsichten : public QObject
{
    Q_OBJECT

private slots:
    void tonartenTabelle()
    {
        Fenster f;
        struct Zeile
        {
            int index;
            QString tonart, bild, tasten;
        };
        const QList<Zeile> tabelle{
            {0, "Cdur", "tonart_cdur", "c d e f g a h"},
            {1, "Ddur", "tonart_ddur", "cis d e fis g a h"},
            {2, "Edur", "tonart_edur", "cis dis e fis gis a h"},
            {3, "Fdur", "tonart_fdur", "c d e f g a b"},
            {4, "Gdur", "tonart_gdur", "c d e fis g a h"},
            {5, "Adur", "tonart_adur", "cis d e fis gis a h"},
            {6, "Bdur", "tonart_bdur", "c d dis f g a b"},
            {7, "Esdur", "tonart_esdur", "c d dis f g gis b"},
            {8, "Asdur", "tonart_asdur", "c cis dis f g gis b"},
            {14, "keine Tonart", "tonart_leer", "c cis d dis e f fis g gis a b h"},
        };
        for (const Zeile& z : tabelle) {
            f.menue(QString("mnu_EinzelneTonarten(%1)").arg(z.index))->trigger();
            QCOMPARE(f.haupt.Tonart, z.tonart);
            QCOMPARE(spielbar(f.kb), z.tasten);
            QVERIFY2(oktavenGleich(f.kb, f.haupt), qPrintable(z.tonart));
            QCOMPARE(el<Bild>(f.kb, "Image1")->bild(), z.bild);
            QCOMPARE(text(f.kb, "TonartText"), z.tonart);
            QCOMPARE(text(f.kb, "TextFeld"), f.haupt.Tonart_Info);
            QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString());
            QCOMPARE(el<Knopf>(f.kb, "Funktion", 3)->isHidden(), z.index == 14);
            QCOMPARE(el<Feld>(f.kb, "AbdeckFeld")->isHidden(), z.index == 14);
            QCOMPARE(el<Beschriftung>(f.kb, "TonartText")->isHidden(), z.index == 14);
            if (z.index != 14)
                QCOMPARE(text(f.kb, "TextFeld2"), QString("Nicht gebrauchte Tasten werden deaktiviert."));
        }
        // The highest keys: E major takes dis''' for d''', B-flat major es''' although no e''' exists.
        f.menue("mnu_EinzelneTonarten(2)")->trigger();
        QVERIFY(el<Knopf>(f.kb, "TheKey", 39)->isEnabled() && !el<Knopf>(f.kb, "TheKey", 38)->isEnabled());
        f.menue("mnu_EinzelneTonarten(6)")->trigger();
        QVERIFY(el<Knopf>(f.kb, "TheKey", 39)->isEnabled() && !el<Knopf>(f.kb, "TheKey", 28)->isEnabled());
        QCOMPARE(text(f.kb, "TonartText"), QString("Bdur"));
        // The information texts.
        f.menue("mnu_EinzelneTonarten(3)")->trigger();
        QCOMPARE(text(f.kb, "TextFeld"), QString("Bei F-Dur wird die schwarze Taste links von H statt H genommen. Das ist dan B."));
        f.menue("mnu_EinzelneTonarten(14)")->trigger();
        QCOMPARE(text(f.kb, "TextFeld"), QString("Alle Tasten zeigen die Noten die auf ihr liegen können. Die schwarzen "
                                               "Tasten können mit # oder b verstellt werden."));
        QCOMPARE(text(f.kb, "TextFeld2"), KreuzText);
        // Shortcut keys reach the entries.
        QTest::keyClick(f.kb, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("Asdur"));
        QTest::keyClick(f.kb, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
    }

    void normalUndBetontBehaltenDieNamen()
    {
        Fenster f;
        f.menue("mnu_EinzelneTonarten(7)")->trigger(); // E-flat major
        klicke(f.kb, "Funktion", 3);
        QCOMPARE(spielbar(f.kb), QString("c cis d dis e f fis g gis a b h"));
        QCOMPARE(text(f.kb, "TonartText"), QString()); // every command blanks it
        QCOMPARE(el<Bild>(f.kb, "Image1")->bild(), QString("tonart_esdur"));
        QCOMPARE(text(f.kb, "TextFeld"), QString("Die Tastenfarbe bleibt auch trotz Tonarten normal."));
        QCOMPARE(text(f.kb, "TextFeld2"), QString("Die Tasten sind auf normale wiedergabe gestellt."));
        klicke(f.kb, "Funktion", 4);
        QCOMPARE(spielbar(f.kb), QString("c d dis f g gis b"));
        QCOMPARE(text(f.kb, "TextFeld2"),
                 QString("Die Tasten sind so eingestellt, dass die abgestellt sind, die man nicht drücken darf."));
        // "Alle Tasten" drops the signature and uncovers the accidental buttons.
        klicke(f.kb, "Funktion", 5);
        QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
        QCOMPARE(text(f.kb, "TextFeld"), AlleTastenText);
        QVERIFY(el<Feld>(f.kb, "AbdeckFeld")->isHidden() && el<Knopf>(f.kb, "Funktion", 3)->isHidden() && el<Knopf>(f.kb, "Funktion", 4)->isHidden());
        QCOMPARE(el<Bild>(f.kb, "Image1")->bild(), QString("tonart_leer"));
    }

    void vorzeichenKnoepfe()
    {
        Fenster f;
        klicke(f.kb, "Funktion1", 1);
        QCOMPARE(f.haupt.Vorzeichen, QString("b"));
        QVERIFY(el<Bild>(f.kb, "Image5")->isHidden() && !el<Bild>(f.kb, "Image6")->isHidden());
        QCOMPARE(text(f.kb, "TextFeld2"), QString("“b” wurde gewählt. Alle schwarzen Tasten zeigen die erniedrigten Noten."));
        klicke(f.kb, "Funktion1", 2);
        QCOMPARE(f.haupt.Vorzeichen, QString("X"));
        QVERIFY(el<Bild>(f.kb, "Image5")->isHidden() && el<Bild>(f.kb, "Image6")->isHidden());
        QCOMPARE(spielbar(f.kb), QString("c d e f g a h"));
        QVERIFY(oktavenGleich(f.kb, f.haupt));
        QCOMPARE(text(f.kb, "TextFeld2"), QString("Schwarze Tasten abgeschaltet."));
        klicke(f.kb, "Funktion1", 0);
        QCOMPARE(f.haupt.Vorzeichen, QString("#"));
        QCOMPARE(spielbar(f.kb), QString("c cis d dis e f fis g gis a b h"));
        QVERIFY(!el<Bild>(f.kb, "Image5")->isHidden() && el<Bild>(f.kb, "Image6")->isHidden());
        QCOMPARE(text(f.kb, "TextFeld2"), KreuzText);
    }

    void befehleGemeinsameSchritte()
    {
        Fenster f;
        const QStringList texte{
            "Die Noten mit der Maus schneller zeigen kann man ab- und einschalten.",
            "Buchstaben können ausgeblendet werden um besser lernen zu können.",
            "Da eine zweite Note stören könnte muss man die Noten auf Bass geschrieben einschalten.",
            "Die Tastenfarbe bleibt auch trotz Tonarten normal.",
            "Die Tastenfarbe erscheint verändert. So kann man sich die Tonarten auf der Tastatur besser einprägen "
            "und auch besser üben.",
            AlleTastenText,
            AlleTastenText, // "Lernen" ends by running "Alle Tasten"
            "Lernen abschalten. Mit den Noten spielerisch umgehen um sie zu lernen, oder über Tonarten eine "
            "“Tonart” eingeben.",
        };
        // Each button's own action, also of those the mode reached by now hides.
        for (int i = 0; i <= 10; ++i) {
            el<Beschriftung>(f.kb, "TonartText")->setText("Ddur");
            f.haupt.Beantwortet = false;
            el<Bild>(f.kb, "RichtigWort")->show();
            el<Beschriftung>(f.kb, "TextFeld")->setText("vorher");
            if (i == 10)
                QVERIFY(beendet(f.kb, [&] { el<Knopf>(f.kb, "Funktion", i)->click(); }));
            else
                el<Knopf>(f.kb, "Funktion", i)->click();
            QCOMPARE(text(f.kb, "TonartText"), QString());
            QCOMPARE(f.haupt.Beantwortet, true);
            QVERIFY(el<Bild>(f.kb, "RichtigWort")->isHidden());
            QCOMPARE(text(f.kb, "TextFeld"), i < 8 ? texte[i] : QString("vorher"));
        }
    }

    void mausTexteDerBefehle()
    {
        Fenster f;
        QTest::mouseMove(el<Knopf>(f.kb, "Funktion", 2), QPoint(5, 5));
        QTRY_COMPARE(text(f.kb, "TextFeld2"), QString("Zusätzlich werden die Bässe (5 Notenlinien) gezeigt um auch die "
                                                    "Bassnoten für die linke Hand lernen zu können."));
        QTest::mouseMove(el<Knopf>(f.kb, "Funktion", 10), QPoint(5, 5));
        QTest::qWait(20);
        QCOMPARE(text(f.kb, "TextFeld2"), QString("Zusätzlich werden die Bässe (5 Notenlinien) gezeigt um auch die "
                                                "Bassnoten für die linke Hand lernen zu können."));
        QTest::mouseMove(el<Knopf>(f.kb, "aufLinie_Taste", 3), QPoint(5, 5));
        QTRY_COMPARE(text(f.kb, "TextFeld2"), QString("Diese Tasten zeigen die Noten. Hier kann man sie per Namen eingeben."));
        QTest::mouseMove(el<Knopf>(f.kb, "Funktion", 4 - 4), QPoint(5, 5));
        QTRY_COMPARE(text(f.kb, "TextFeld2"), QString("Einstellung um die Noten schnell zu zeigen. Einfach indem man die "
                                                    "Maus über die weißen Tasten bewegt."));
    }

    void notennamenLeiter()
    {
        Fenster f;
        el<Beschriftung>(f.kb, "NotenNamenTextFeld")->setText("Note: G");
        klicke(f.kb, "aufLinie_Taste", 16);
        klicke(f.kb, "aufLinie_Taste", 0);
        klicke(f.kb, "aufLinie_Taste", 15);
        klicke(f.kb, "aufLinie_Taste", 22);
        QCOMPARE(f.ton.gespielt, (QStringList{"/klaenge/11-h.wav", "/klaenge/12-c.wav", "/klaenge/38-d.wav",
                                              "/klaenge/00-c.wav"}));
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: G"));
        QVERIFY(!el<Bild>(f.kb, "Note3")->isHidden() && !el<Linie>(f.kb, "NotenLinie2", 2)->isHidden());
        // "Buchstaben" and Ctrl+N switch the same ladder.
        klicke(f.kb, "Funktion", 1);
        QCOMPARE(versteckt(f.kb, "aufLinie_Taste"), 23);
        QTest::keyClick(f.kb, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(versteckt(f.kb, "aufLinie_Taste"), 0);
        QCOMPARE(text(f.kb, "TextFeld"), QString("Buchstaben können ausgeblendet werden um besser lernen zu können."));
    }

    void mausAnzeigeUmschalten()
    {
        Fenster f;
        QCOMPARE(el<Knopf>(f.kb, "Funktion", 0)->text(), QString("Per Klick"));
        klicke(f.kb, "Funktion", 0);
        QCOMPARE(el<Knopf>(f.kb, "Funktion", 0)->text(), QString("Schieben"));
        QCOMPARE(f.haupt.Maus_Move_An, true);
        QTest::keyClick(f.kb, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(el<Knopf>(f.kb, "Funktion", 0)->text(), QString("Per Klick"));
        QCOMPARE(f.haupt.Maus_Move_An, false);
        // Learning switches the display off but leaves the caption; back in viewing mode the
        // next click reads the caption: off stays off, the second switches on.
        klicke(f.kb, "Funktion", 0);
        QTest::keyClick(f.kb, Qt::Key_F11);
        QCOMPARE(f.haupt.Maus_Move_An, false);
        QTest::keyClick(f.kb, Qt::Key_F12);
        QCOMPARE(el<Knopf>(f.kb, "Funktion", 0)->text(), QString("Schieben"));
        klicke(f.kb, "Funktion", 0);
        QCOMPARE(el<Knopf>(f.kb, "Funktion", 0)->text(), QString("Per Klick"));
        QCOMPARE(f.haupt.Maus_Move_An, false);
        klicke(f.kb, "Funktion", 0);
        QCOMPARE(f.haupt.Maus_Move_An, true);
    }

    void tonartenMenueImLernmodus()
    {
        Fenster f;
        tippe(f.kb, 14);
        QTest::keyClick(f.kb, Qt::Key_F11);
        QVERIFY(!el<QMenu>(f.kb, "mnu_Tonarten")->isEnabled());
        QTest::keyClick(f.kb, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
        QVERIFY(!el<QAction>(f.kb, "mnu_EinzelneTonarten", 1)->isEnabled());
        // The colour choice still runs the menu's index 13: the note-name line keeps its text.
        QTest::keyClick(f.kb, Qt::Key_F2);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: D"));
        QCOMPARE(text(f.kb, "TonartText"), QString("keine Tonart"));
        QTest::keyClick(f.kb, Qt::Key_F12);
        QVERIFY(el<QMenu>(f.kb, "mnu_Tonarten")->isEnabled());
        QVERIFY(el<QAction>(f.kb, "mnu_EinzelneTonarten", 1)->isEnabled());
        QVERIFY(!el<QAction>(f.kb, "mnu_EinzelneTonarten", 9)->isEnabled() && !el<QAction>(f.kb, "mnu_EinzelneTonarten", 9)->isVisible());
        QTest::keyClick(f.kb, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("Ddur"));
    }

    void markierungenUndZeigeNoten()
    {
        Fenster f;
        const QList<quint32> grund = fuellung(f.kb);
        QTest::keyClick(f.kb, Qt::Key_F1, Qt::ShiftModifier); // C
        QTest::keyClick(f.kb, Qt::Key_F3, Qt::ShiftModifier); // E
        for (int i = 0; i < 23; ++i) {
            const bool e = i == 2 || i == 9 || i == 16;
            QCOMPARE(el<Form>(f.kb, "T_Markierung", i)->fillColor(), e ? 0x44CDD5u : 0xFFFFFFu);
            QCOMPARE(el<Form>(f.kb, "T_Markierung", i)->borderColor(), e ? 0x000000u : 0xC0C0C0u);
        }
        // Ctrl+M twice returns the middle c to a black border, even from grey.
        QTest::keyClick(f.kb, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 7)->borderColor(), 0x0C22EFu);
        QTest::keyClick(f.kb, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 7)->borderColor(), 0x000000u);
        // "D": four dots, the top d ringed red; a view clears the middle-c ring.
        QTest::keyClick(f.kb, Qt::Key_M, Qt::ControlModifier);
        QTest::keyClick(f.kb, Qt::Key_F2, Qt::ShiftModifier);
        for (int i : {1, 8, 15, 22})
            QCOMPARE(el<Form>(f.kb, "T_Markierung", i)->fillColor(), 0x44CDD5u);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 22)->borderColor(), 0x0C22EFu);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 15)->borderColor(), 0x000000u);
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 7)->borderColor(), 0xC0C0C0u);
        // Hidden dots keep and change their colours without showing; F5 does not show them.
        QTest::keyClick(f.kb, Qt::Key_F8);
        QCOMPARE(versteckt(f.kb, "T_Markierung"), 23);
        QTest::keyClick(f.kb, Qt::Key_F7, Qt::ShiftModifier); // H
        QCOMPARE(el<Form>(f.kb, "T_Markierung", 20)->fillColor(), 0x44CDD5u);
        QTest::keyClick(f.kb, Qt::Key_F5);
        QCOMPARE(fuellung(f.kb), grund);
        for (auto* m : alle<Form>(f.kb, "T_Markierung")) {
            QVERIFY(m->isHidden());
            QCOMPARE(m->borderColor(), 0x000000u);
        }
        QTest::keyClick(f.kb, Qt::Key_F8);
        QCOMPARE(versteckt(f.kb, "T_Markierung"), 0);
    }

    void farbwahl()
    {
        Fenster f;
        f.menue("mnu_EinzelneTonarten(1)")->trigger();
        tippe(f.kb, 14);
        QTest::keyClick(f.kb, Qt::Key_F3);
        QCOMPARE(f.haupt.Farbe_Weiss, 0x000000u);
        QCOMPARE(f.haupt.Farbe_Schwarz, 0xFFFFFFu);
        QCOMPARE(spielbar(f.kb), QString("c cis d dis e f fis g gis a b h"));
        QVERIFY(oktavenGleich(f.kb, f.haupt));
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 0)->backColor(), 0x000000u); // the white keys are drawn black
        QCOMPARE(text(f.kb, "TonartText"), QString("keine Tonart"));
        QVERIFY(!el<Beschriftung>(f.kb, "TonartText")->isHidden());
        QCOMPARE(el<Bild>(f.kb, "Image1")->bild(), QString("tonart_ddur")); // the dropped signature's picture stays
        QCOMPARE(text(f.kb, "TextFeld"), QString("Bei D-Dur wird statt C und F die schwarze Taste (rechts) genommen."));
        QCOMPARE(text(f.kb, "TextFeld2"), KreuzText);
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString());
        QVERIFY(!el<Knopf>(f.kb, "Funktion", 3)->isHidden() && !el<Feld>(f.kb, "AbdeckFeld")->isHidden());
        // Choosing the signature again applies it in the new colours.
        QTest::keyClick(f.kb, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 0)->backColor(), 0x404040u);
        QTest::keyClick(f.kb, Qt::Key_F4);
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 0)->backColor(), 0xFF0000u);
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 1)->backColor(), 0xFFFF80u);
        QTest::keyClick(f.kb, Qt::Key_F1);
        QCOMPARE(el<Knopf>(f.kb, "TheKey", 0)->backColor(), 0xD5ECF2u);
    }

    void tonCLinieUndBass()
    {
        Fenster f;
        QTest::keyClick(f.kb, Qt::Key_L, Qt::ControlModifier);
        tippe(f.kb, 5);
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(text(f.kb, "NotenNamenTextFeld"), QString("Note: F"));
        QTest::keyClick(f.kb, Qt::Key_L, Qt::ControlModifier);
        tippe(f.kb, 5);
        QCOMPARE(f.ton.gespielt, QStringList{"/klaenge/05-f.wav"});
        // F7 drops the middle-c line under g, f, e, d, c below it, with the next note placed.
        QVERIFY(!el<Linie>(f.kb, "NotenLinie", 0)->isHidden());
        QTest::keyClick(f.kb, Qt::Key_F7);
        QVERIFY(!el<Linie>(f.kb, "NotenLinie", 0)->isHidden());
        tippe(f.kb, 7);
        QVERIFY(el<Linie>(f.kb, "NotenLinie", 0)->isHidden() && !el<Linie>(f.kb, "NotenLinie2", 0)->isHidden());
        tippe(f.kb, 9);
        QVERIFY(!el<Linie>(f.kb, "NotenLinie", 0)->isHidden());
        // "Bass" and F6 switch the same drawing, also while learning.
        klicke(f.kb, "Funktion", 2);
        QVERIFY(el<Bild>(f.kb, "Picture2")->isHidden());
        QTest::keyClick(f.kb, Qt::Key_F6);
        QVERIFY(!el<Bild>(f.kb, "Picture2")->isHidden());
        QTest::keyClick(f.kb, Qt::Key_F11);
        QVERIFY(el<Bild>(f.kb, "Picture2")->isHidden());
        QTest::keyClick(f.kb, Qt::Key_F6);
        QVERIFY(!el<Bild>(f.kb, "Picture2")->isHidden());
        QTest::keyClick(f.kb, Qt::Key_F6);
        QVERIFY(el<Bild>(f.kb, "Picture2")->isHidden());
        QVERIFY(!el<Bild>(f.kb, "Note3")->isHidden());
    }
};

QTEST_MAIN(TestAnsichten)
#include "test_ansichten.moc"
