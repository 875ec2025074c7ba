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
        if (kb->TheKey[k]->isEnabled())
            s << namen[k];
    return s.join(' ');
}

// Every key's state must match its note's state in the lowest octave (keys 36..39 included).
bool oktavenGleich(Keyboard* kb, const Haupt& h)
{
    for (int k = 0; k < 40; ++k) {
        Knopf* t = kb->TheKey[k];
        if (t->isEnabled() != kb->TheKey[k % 12]->isEnabled())
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
        Keyboard* kb = f.kb.get();
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
            QCOMPARE(spielbar(kb), z.tasten);
            QVERIFY2(oktavenGleich(kb, f.haupt), qPrintable(z.tonart));
            QCOMPARE(kb->Image1->bild(), z.bild);
            QCOMPARE(kb->TonartText->text(), z.tonart);
            QCOMPARE(kb->TextFeld->text(), f.haupt.Tonart_Info);
            QCOMPARE(kb->NotenNamenTextFeld->text(), QString());
            QCOMPARE(kb->Funktion[3]->isHidden(), z.index == 14);
            QCOMPARE(kb->AbdeckFeld->isHidden(), z.index == 14);
            QCOMPARE(kb->TonartText->isHidden(), z.index == 14);
            if (z.index != 14)
                QCOMPARE(kb->TextFeld2->text(), QString("Nicht gebrauchte Tasten werden deaktiviert."));
        }
        // The highest keys: E major takes dis''' for d''', B-flat major es''' although no e''' exists.
        f.menue("mnu_EinzelneTonarten(2)")->trigger();
        QVERIFY(kb->TheKey[39]->isEnabled() && !kb->TheKey[38]->isEnabled());
        f.menue("mnu_EinzelneTonarten(6)")->trigger();
        QVERIFY(kb->TheKey[39]->isEnabled() && !kb->TheKey[28]->isEnabled());
        QCOMPARE(kb->TonartText->text(), QString("Bdur"));
        // The information texts.
        f.menue("mnu_EinzelneTonarten(3)")->trigger();
        QCOMPARE(kb->TextFeld->text(), QString("Bei F-Dur wird die schwarze Taste links von H statt H genommen. Das ist dan B."));
        f.menue("mnu_EinzelneTonarten(14)")->trigger();
        QCOMPARE(kb->TextFeld->text(), QString("Alle Tasten zeigen die Noten die auf ihr liegen können. Die schwarzen "
                                               "Tasten können mit # oder b verstellt werden."));
        QCOMPARE(kb->TextFeld2->text(), KreuzText);
        // Shortcut keys reach the entries.
        QTest::keyClick(kb, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("Asdur"));
        QTest::keyClick(kb, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
    }

    void normalUndBetontBehaltenDieNamen()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        f.menue("mnu_EinzelneTonarten(7)")->trigger(); // E-flat major
        QTest::mouseClick(kb->Funktion[3], Qt::LeftButton);
        QCOMPARE(spielbar(kb), QString("c cis d dis e f fis g gis a b h"));
        QCOMPARE(kb->TonartText->text(), QString()); // every command blanks it
        QCOMPARE(kb->Image1->bild(), QString("tonart_esdur"));
        QCOMPARE(kb->TextFeld->text(), QString("Die Tastenfarbe bleibt auch trotz Tonarten normal."));
        QCOMPARE(kb->TextFeld2->text(), QString("Die Tasten sind auf normale wiedergabe gestellt."));
        QTest::mouseClick(kb->Funktion[4], Qt::LeftButton);
        QCOMPARE(spielbar(kb), QString("c d dis f g gis b"));
        QCOMPARE(kb->TextFeld2->text(),
                 QString("Die Tasten sind so eingestellt, dass die abgestellt sind, die man nicht drücken darf."));
        // "Alle Tasten" drops the signature and uncovers the accidental buttons.
        QTest::mouseClick(kb->Funktion[5], Qt::LeftButton);
        QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
        QCOMPARE(kb->TextFeld->text(), AlleTastenText);
        QVERIFY(kb->AbdeckFeld->isHidden() && kb->Funktion[3]->isHidden() && kb->Funktion[4]->isHidden());
        QCOMPARE(kb->Image1->bild(), QString("tonart_leer"));
    }

    void vorzeichenKnoepfe()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QTest::mouseClick(kb->Funktion1[1], Qt::LeftButton);
        QCOMPARE(f.haupt.Vorzeichen, QString("b"));
        QVERIFY(kb->Image5->isHidden() && !kb->Image6->isHidden());
        QCOMPARE(kb->TextFeld2->text(), QString("“b” wurde gewählt. Alle schwarzen Tasten zeigen die erniedrigten Noten."));
        QTest::mouseClick(kb->Funktion1[2], Qt::LeftButton);
        QCOMPARE(f.haupt.Vorzeichen, QString("X"));
        QVERIFY(kb->Image5->isHidden() && kb->Image6->isHidden());
        QCOMPARE(spielbar(kb), QString("c d e f g a h"));
        QVERIFY(oktavenGleich(kb, f.haupt));
        QCOMPARE(kb->TextFeld2->text(), QString("Schwarze Tasten abgeschaltet."));
        QTest::mouseClick(kb->Funktion1[0], Qt::LeftButton);
        QCOMPARE(f.haupt.Vorzeichen, QString("#"));
        QCOMPARE(spielbar(kb), QString("c cis d dis e f fis g gis a b h"));
        QVERIFY(!kb->Image5->isHidden() && kb->Image6->isHidden());
        QCOMPARE(kb->TextFeld2->text(), KreuzText);
    }

    void befehleGemeinsameSchritte()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
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
        for (int i = 0; i <= 10; ++i) {
            kb->TonartText->setText("Ddur");
            f.haupt.Beantwortet = false;
            kb->RichtigWort->show();
            kb->TextFeld->setText("vorher");
            if (i == 10)
                QVERIFY(beendet(kb, [&] { kb->Funktion_Click(i); }));
            else
                kb->Funktion_Click(i);
            QCOMPARE(kb->TonartText->text(), QString());
            QCOMPARE(f.haupt.Beantwortet, true);
            QVERIFY(kb->RichtigWort->isHidden());
            QCOMPARE(kb->TextFeld->text(), i < 8 ? texte[i] : QString("vorher"));
        }
    }

    void mausTexteDerBefehle()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QTest::mouseMove(kb->Funktion[2], QPoint(5, 5));
        QTRY_COMPARE(kb->TextFeld2->text(), QString("Zusätzlich werden die Bässe (5 Notenlinien) gezeigt um auch die "
                                                    "Bassnoten für die linke Hand lernen zu können."));
        QTest::mouseMove(kb->Funktion[10], QPoint(5, 5));
        QTest::qWait(20);
        QCOMPARE(kb->TextFeld2->text(), QString("Zusätzlich werden die Bässe (5 Notenlinien) gezeigt um auch die "
                                                "Bassnoten für die linke Hand lernen zu können."));
        QTest::mouseMove(kb->aufLinie_Taste[3], QPoint(5, 5));
        QTRY_COMPARE(kb->TextFeld2->text(), QString("Diese Tasten zeigen die Noten. Hier kann man sie per Namen eingeben."));
        QTest::mouseMove(kb->Funktion[4 - 4], QPoint(5, 5));
        QTRY_COMPARE(kb->TextFeld2->text(), QString("Einstellung um die Noten schnell zu zeigen. Einfach indem man die "
                                                    "Maus über die weißen Tasten bewegt."));
    }

    void notennamenLeiter()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        kb->NotenNamenTextFeld->setText("Note: G");
        QTest::mouseClick(kb->aufLinie_Taste[16], Qt::LeftButton);
        QTest::mouseClick(kb->aufLinie_Taste[0], Qt::LeftButton);
        QTest::mouseClick(kb->aufLinie_Taste[15], Qt::LeftButton);
        QTest::mouseClick(kb->aufLinie_Taste[22], Qt::LeftButton);
        QCOMPARE(f.ton.gespielt, (QStringList{"/klaenge/11-h.wav", "/klaenge/12-c.wav", "/klaenge/38-d.wav",
                                              "/klaenge/00-c.wav"}));
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Note: G"));
        QVERIFY(!kb->Note3->isHidden() && !kb->NotenLinie2[2]->isHidden());
        // "Buchstaben" and Ctrl+N switch the same ladder.
        QTest::mouseClick(kb->Funktion[1], Qt::LeftButton);
        for (auto* t : kb->aufLinie_Taste)
            QVERIFY(t->isHidden());
        QTest::keyClick(kb, Qt::Key_N, Qt::ControlModifier);
        for (auto* t : kb->aufLinie_Taste)
            QVERIFY(!t->isHidden());
        QCOMPARE(kb->TextFeld->text(), QString("Buchstaben können ausgeblendet werden um besser lernen zu können."));
    }

    void mausAnzeigeUmschalten()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QCOMPARE(kb->Funktion[0]->text(), QString("Per Klick"));
        QTest::mouseClick(kb->Funktion[0], Qt::LeftButton);
        QCOMPARE(kb->Funktion[0]->text(), QString("Schieben"));
        QCOMPARE(f.haupt.Maus_Move_An, true);
        QTest::keyClick(kb, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(kb->Funktion[0]->text(), QString("Per Klick"));
        QCOMPARE(f.haupt.Maus_Move_An, false);
        // Learning switches the display off but leaves the caption; back in viewing mode the
        // next click reads the caption: off stays off, the second switches on.
        QTest::mouseClick(kb->Funktion[0], Qt::LeftButton);
        QTest::keyClick(kb, Qt::Key_F11);
        QCOMPARE(f.haupt.Maus_Move_An, false);
        QTest::keyClick(kb, Qt::Key_F12);
        QCOMPARE(kb->Funktion[0]->text(), QString("Schieben"));
        QTest::mouseClick(kb->Funktion[0], Qt::LeftButton);
        QCOMPARE(kb->Funktion[0]->text(), QString("Per Klick"));
        QCOMPARE(f.haupt.Maus_Move_An, false);
        QTest::mouseClick(kb->Funktion[0], Qt::LeftButton);
        QCOMPARE(f.haupt.Maus_Move_An, true);
    }

    void tonartenMenueImLernmodus()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        kb->TheKey_Click(14);
        QTest::keyClick(kb, Qt::Key_F11);
        QVERIFY(!kb->mnu_Tonarten->isEnabled());
        QTest::keyClick(kb, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("keine Tonart"));
        QVERIFY(!kb->mnu_EinzelneTonarten[1]->isEnabled());
        // The colour choice still runs the menu's index 13: the note-name line keeps its text.
        QTest::keyClick(kb, Qt::Key_F2);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Note: D"));
        QCOMPARE(kb->TonartText->text(), QString("keine Tonart"));
        QTest::keyClick(kb, Qt::Key_F12);
        QVERIFY(kb->mnu_Tonarten->isEnabled());
        QVERIFY(kb->mnu_EinzelneTonarten[1]->isEnabled());
        QVERIFY(!kb->mnu_EinzelneTonarten[9]->isEnabled() && !kb->mnu_EinzelneTonarten[9]->isVisible());
        QTest::keyClick(kb, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.haupt.Tonart, QString("Ddur"));
    }

    void markierungenUndZeigeNoten()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        const QList<quint32> grund = fuellung(kb);
        QTest::keyClick(kb, Qt::Key_F1, Qt::ShiftModifier); // C
        QTest::keyClick(kb, Qt::Key_F3, Qt::ShiftModifier); // E
        for (int i = 0; i < 23; ++i) {
            const bool e = i == 2 || i == 9 || i == 16;
            QCOMPARE(kb->T_Markierung[i]->fillColor(), e ? 0x44CDD5u : 0xFFFFFFu);
            QCOMPARE(kb->T_Markierung[i]->borderColor(), e ? 0x000000u : 0xC0C0C0u);
        }
        // Ctrl+M twice returns the middle c to a black border, even from grey.
        QTest::keyClick(kb, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(kb->T_Markierung[7]->borderColor(), 0x0C22EFu);
        QTest::keyClick(kb, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(kb->T_Markierung[7]->borderColor(), 0x000000u);
        // "D": four dots, the top d ringed red; a view clears the middle-c ring.
        QTest::keyClick(kb, Qt::Key_M, Qt::ControlModifier);
        QTest::keyClick(kb, Qt::Key_F2, Qt::ShiftModifier);
        for (int i : {1, 8, 15, 22})
            QCOMPARE(kb->T_Markierung[i]->fillColor(), 0x44CDD5u);
        QCOMPARE(kb->T_Markierung[22]->borderColor(), 0x0C22EFu);
        QCOMPARE(kb->T_Markierung[15]->borderColor(), 0x000000u);
        QCOMPARE(kb->T_Markierung[7]->borderColor(), 0xC0C0C0u);
        // Hidden dots keep and change their colours without showing; F5 does not show them.
        QTest::keyClick(kb, Qt::Key_F8);
        for (auto* m : kb->T_Markierung)
            QVERIFY(m->isHidden());
        QTest::keyClick(kb, Qt::Key_F7, Qt::ShiftModifier); // H
        QCOMPARE(kb->T_Markierung[20]->fillColor(), 0x44CDD5u);
        QTest::keyClick(kb, Qt::Key_F5);
        QCOMPARE(fuellung(kb), grund);
        for (auto* m : kb->T_Markierung) {
            QVERIFY(m->isHidden());
            QCOMPARE(m->borderColor(), 0x000000u);
        }
        QTest::keyClick(kb, Qt::Key_F8);
        for (auto* m : kb->T_Markierung)
            QVERIFY(!m->isHidden());
    }

    void farbwahl()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        f.menue("mnu_EinzelneTonarten(1)")->trigger();
        kb->TheKey_Click(14);
        QTest::keyClick(kb, Qt::Key_F3);
        QCOMPARE(f.haupt.Farbe_Weiss, 0x000000u);
        QCOMPARE(f.haupt.Farbe_Schwarz, 0xFFFFFFu);
        QCOMPARE(spielbar(kb), QString("c cis d dis e f fis g gis a b h"));
        QVERIFY(oktavenGleich(kb, f.haupt));
        QCOMPARE(kb->TheKey[0]->backColor(), 0x000000u); // the white keys are drawn black
        QCOMPARE(kb->TonartText->text(), QString("keine Tonart"));
        QVERIFY(!kb->TonartText->isHidden());
        QCOMPARE(kb->Image1->bild(), QString("tonart_ddur")); // the dropped signature's picture stays
        QCOMPARE(kb->TextFeld->text(), QString("Bei D-Dur wird statt C und F die schwarze Taste (rechts) genommen."));
        QCOMPARE(kb->TextFeld2->text(), KreuzText);
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString());
        QVERIFY(!kb->Funktion[3]->isHidden() && !kb->AbdeckFeld->isHidden());
        // Choosing the signature again applies it in the new colours.
        QTest::keyClick(kb, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(kb->TheKey[0]->backColor(), 0x404040u);
        QTest::keyClick(kb, Qt::Key_F4);
        QCOMPARE(kb->TheKey[0]->backColor(), 0xFF0000u);
        QCOMPARE(kb->TheKey[1]->backColor(), 0xFFFF80u);
        QTest::keyClick(kb, Qt::Key_F1);
        QCOMPARE(kb->TheKey[0]->backColor(), 0xD5ECF2u);
    }

    void tonCLinieUndBass()
    {
        Fenster f;
        Keyboard* kb = f.kb.get();
        QTest::keyClick(kb, Qt::Key_L, Qt::ControlModifier);
        kb->TheKey_Click(5);
        QCOMPARE(f.ton.gespielt, QStringList{});
        QCOMPARE(kb->NotenNamenTextFeld->text(), QString("Note: F"));
        QTest::keyClick(kb, Qt::Key_L, Qt::ControlModifier);
        kb->TheKey_Click(5);
        QCOMPARE(f.ton.gespielt, QStringList{"/klaenge/05-f.wav"});
        // F7 drops the middle-c line under g, f, e, d, c below it, with the next note placed.
        QVERIFY(!kb->NotenLinie[0]->isHidden());
        QTest::keyClick(kb, Qt::Key_F7);
        QVERIFY(!kb->NotenLinie[0]->isHidden());
        kb->TheKey_Click(7);
        QVERIFY(kb->NotenLinie[0]->isHidden() && !kb->NotenLinie2[0]->isHidden());
        kb->TheKey_Click(9);
        QVERIFY(!kb->NotenLinie[0]->isHidden());
        // "Bass" and F6 switch the same drawing, also while learning.
        QTest::mouseClick(kb->Funktion[2], Qt::LeftButton);
        QVERIFY(kb->Picture2->isHidden());
        QTest::keyClick(kb, Qt::Key_F6);
        QVERIFY(!kb->Picture2->isHidden());
        QTest::keyClick(kb, Qt::Key_F11);
        QVERIFY(kb->Picture2->isHidden());
        QTest::keyClick(kb, Qt::Key_F6);
        QVERIFY(!kb->Picture2->isHidden());
        QTest::keyClick(kb, Qt::Key_F6);
        QVERIFY(kb->Picture2->isHidden());
        QVERIFY(!kb->Note3->isHidden());
    }
};

QTEST_MAIN(TestAnsichten)
#include "test_ansichten.moc"
