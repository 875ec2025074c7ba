// The program's tables on their own, without a window: key names and staff positions, sound
// names, the learning ranges' draw, the key signatures and the command buttons.
#include "keyboard/Haupt.h"
#include "kern/Notenmodell.h"
#include "kern/Lernnoten.h"
#include "views/Befehlstabelle.h"
#include "kern/Tonartentabelle.h"

#include <QtTest>

namespace {

// Key table: sharp name and code, flat name and code, for keys 0..39.
const char* const Tastentabelle[40] = {
    "C 22 C 22",     "cis 22 des 21", "D 21 D 21",     "dis 21 es 20",  "E 20 E 20",     "F 19 F 19",
    "fis 19 ges 18", "G 18 G 18",     "gis 18 as 17",  "A 17 A 17",     "ais 17 b 16",   "H 16 H 16",
    "C 0 C 0",       "cis 0 des 1",   "D 1 D 1",       "dis 1 es 2",    "E 2 E 2",       "F 3 F 3",
    "fis 3 ges 4",   "G 4 G 4",       "gis 4 as 5",    "A 5 A 5",       "ais 5 b 6",     "H 6 H 6",
    "C 7 C 7",       "cis 7 des 8",   "D 8 D 8",       "dis 8 es 9",    "E 9 E 9",       "F 10 F 10",
    "fis 10 ges 11", "G 11 G 11",     "gis 11 as 12",  "A 12 A 12",     "ais 12 b 13",   "H 13 H 13",
    "C 14 C 14",     "cis 14 des 15", "D 15 D 15",     "dis 15 dis 15", // key 39 keeps its sharp spelling
};

} // namespace

class TestTabellen : public QObject
{
    Q_OBJECT

private slots:
    void tastentabelle_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("soll");
        for (int k = 0; k < 40; ++k)
            QTest::newRow(qPrintable(QString("Taste %1").arg(k))) << k << QString(Tastentabelle[k]);
    }
    void tastentabelle()
    {
        QFETCH(int, k);
        QFETCH(QString, soll);
        Haupt h;
        Notenname_Kreuz(h, k);
        QString ist = QString("%1 %2 ").arg(h.Noten_Name).arg(h.Noten_Position);
        Notenname_Be(h, k);
        ist += QString("%1 %2").arg(h.Noten_Name).arg(h.Noten_Position);
        QCOMPARE(ist, soll);
    }

    void tastenAusserhalbUndWeisseNummern()
    {
        Haupt h;
        // Outside the table nothing changes.
        Notenname_Kreuz(h, 13);
        Notenname_Be(h, 40);
        Notenname_Kreuz(h, -1);
        QCOMPARE(h.Noten_Name, QString("cis"));
        QCOMPARE(h.Noten_Position, 0);
        int weisse = 0;
        for (int k = 0; k < 40; ++k) {
            const bool schwarz = QList<int>{1, 3, 6, 8, 10}.contains(k % 12);
            QCOMPARE(Noten::istSchwarz(k), schwarz);
            QCOMPARE(Noten::Weisse_Nummer(k), schwarz ? 255 : weisse++);
        }
        QCOMPARE(weisse, 23);
        QCOMPARE(Noten::Weisse_Taste(7), 12);
        QCOMPARE(Noten::Weisse_Taste(22), 38);
        // The note-name ladder: buttons 0..15 from the middle c up, 16..22 from the h below down.
        QCOMPARE(Noten::Weisse_Taste(Noten::Leiter_Weiss(0)), 12);
        QCOMPARE(Noten::Weisse_Taste(Noten::Leiter_Weiss(15)), 38);
        QCOMPARE(Noten::Weisse_Taste(Noten::Leiter_Weiss(16)), 11);
        QCOMPARE(Noten::Weisse_Taste(Noten::Leiter_Weiss(22)), 0);
    }

    void klangnamen()
    {
        QCOMPARE(Noten::Klangname(0), QString("00-c"));
        QCOMPARE(Noten::Klangname(10), QString("10-b"));
        QCOMPARE(Noten::Klangname(13), QString("13-cis"));
        QCOMPARE(Noten::Klangname(22), QString("22-b"));
        QCOMPARE(Noten::Klangname(34), QString("34-b"));
        QCOMPARE(Noten::Klangname(39), QString("39-dis"));
        QCOMPARE(Noten::Klangname(40), QString());
        QCOMPARE(Noten::Klangname(-1), QString());
        // The key itself is named by its sharp where its sound file carries the flat name.
        QCOMPARE(Noten::Tastenname(10), QString("ais"));
        QCOMPARE(Noten::Tastenname(13), QString("cis'"));
    }

    void tonarten_data()
    {
        // Each signature: the white keys it leaves out (lowest octave, sorted) and its naming.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("weg");
        QTest::addColumn<bool>("kreuz");
        QTest::newRow("C-dur") << "Cdur" << "" << true;
        QTest::newRow("G-dur") << "Gdur" << "f" << true;
        QTest::newRow("D-dur") << "Ddur" << "c f" << true;
        QTest::newRow("A-dur") << "Adur" << "c f g" << true;
        QTest::newRow("E-dur") << "Edur" << "c d f g" << true;
        QTest::newRow("F-dur") << "Fdur" << "h" << false;
        QTest::newRow("B-dur") << "Bdur" << "e h" << false;
        QTest::newRow("Es-dur") << "Esdur" << "a e h" << false;
        QTest::newRow("As-dur") << "Asdur" << "a d e h" << false;
    }
    void tonarten()
    {
        QFETCH(QString, name);
        QFETCH(QString, weg);
        QFETCH(bool, kreuz);
        const Tonarten::Tonart* t = Tonarten::finde(name);
        QVERIFY(t);
        QStringList ist;
        for (const auto& e : t->schrittfolge()) {
            ist << Noten::Tastenname(e.weiss);
            // The black key that takes over lies right beside it: above for sharps, below for flats.
            QCOMPARE(e.schwarz, e.weiss + (kreuz ? 1 : -1));
            QVERIFY(Noten::istSchwarz(e.schwarz));
        }
        ist.sort();
        QCOMPARE(ist.join(' '), weg);
        QCOMPARE(t->schreibung == Tonarten::Kreuz, kreuz);
        QVERIFY(!Tonarten::finde(QString("keine Tonart")));
    }

    void befehlstasten()
    {
        QCOMPARE(int(Befehl::Anzahl), 11);
        QCOMPARE(QString(Befehle::Tabelle[Befehl::TNormal].caption), QString("T. normal"));
        QCOMPARE(QString(Befehle::Tabelle[Befehl::Beenden].caption), QString("Beenden"));
        // Only the comparison buttons and "Beenden" leave the information line as it is.
        for (int i = 0; i < Befehl::Anzahl; ++i)
            QCOMPARE(Befehle::Tabelle[i].befehlstext == nullptr, i >= Befehl::ZeigMeine);
    }

    void ziehenGleichverteiltOhneWiederholung_data()
    {
        // Each range button's notes: how many, and the first white key, as the ranges are laid out.
        QTest::addColumn<int>("bereich");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<int>("erste");
        const QList<std::tuple<const char*, int, int>> zeilen{
            {"Bereich 1", 4, 0},       {"Bereich 2", 4, 4},      {"Bereich 3", 4, 8},
            {"Bereich 4", 4, 12},      {"Bereich 5", 4, 16},     {"Bereich 6", 3, 20},
            {"Bereich 2 - 4", 12, 4},  {"Bereich 1, 2", 8, 0},   {"Bereich 2 - 5", 16, 4},
            {"Alle", 23, 0},
        };
        for (int i = 0; i < zeilen.size(); ++i)
            QTest::newRow(std::get<0>(zeilen[i])) << i << std::get<1>(zeilen[i]) << std::get<2>(zeilen[i]);
    }
    void ziehenGleichverteiltOhneWiederholung()
    {
        QFETCH(int, bereich);
        QFETCH(int, anzahl);
        QFETCH(int, erste);
        Haupt h;
        h.Randomize(4711);
        QVector<int> zaehler(anzahl, 0);
        const int ziehungen = 400 * anzahl;
        int vorige = -1;
        for (int i = 0; i < ziehungen; ++i) {
            const int z = Lernen::Ziehe(h, bereich);
            QVERIFY(z >= 1 && z <= anzahl);
            QVERIFY(z != vorige);
            vorige = z;
            QCOMPARE(h.Lernnote_Weiss, erste + z - 1);
            QCOMPARE(h.Lernnote_Taste, Noten::Weisse_Taste(h.Lernnote_Weiss));
            QVERIFY(!Noten::istSchwarz(h.Lernnote_Taste));
            zaehler[z - 1]++;
        }
        // Every place comes up, and without repeats the draw stays uniform: chi-square far below
        // the 0.1 % bound.
        QVERIFY(!zaehler.contains(0));
        const double erwartet = double(ziehungen) / anzahl;
        double chi2 = 0;
        for (int n : zaehler)
            chi2 += (n - erwartet) * (n - erwartet) / erwartet;
        QVERIFY2(chi2 < 3.0 * anzahl + 10, qPrintable(QString("chi2 %1").arg(chi2)));
    }

    void wiederholungVergleichtPlaetze()
    {
        Haupt h;
        h.Randomize(4711);
        // The repeat rule compares places, whatever range was drawn last.
        h.Letzte_Zufallszahl = 5; // "Tiefes G" from range 7
        bool tiefesG = false;
        for (int i = 0; i < 200 && !tiefesG; ++i) {
            h.Letzte_Zufallszahl = 5;
            Lernen::Ziehe(h, 1);
            tiefesG = h.Lernnote_Name == "Tiefes G";
        }
        QVERIFY(tiefesG);
        for (int i = 0; i < 200; ++i) {
            h.Letzte_Zufallszahl = 2; // "Tiefes D" from range 0
            Lernen::Ziehe(h, 1);
            QVERIFY(h.Lernnote_Name != "Tiefes A");
        }
        QCOMPARE(QString(Lernen::Lernnoten[16]), QString("Hohes  E"));
        QCOMPARE(QString(Lernen::Lernnoten[14]), QString("Hohes C"));
    }

};

QTEST_GUILESS_MAIN(TestTabellen)
#include "test_tabellen.moc"
