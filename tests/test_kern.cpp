// The practice core without a window: key names and staff positions, naming under a signature,
// sound names, the learning ranges' draw and the judgement, the key signatures and the command
// buttons, which key an instrument may press and sound, and the sustain pedal.
#include "kern/Haupt.h"
#include "kern/Lernnoten.h"
#include "kern/Notenmodell.h"
#include "kern/Stimmenhalter.h"
#include "kern/Tastenlage.h"
#include "kern/Tonartentabelle.h"
#include "views/Befehlstabelle.h"

#include <QtTest>

namespace {

const QString Ohne = "keine Tonart"; // no signature: the accidental buttons name the black keys

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

class TestKern : public QObject
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
        Noten::merke(h, Noten::benenne(k, Ohne, "#"));
        QString ist = QString("%1 %2 ").arg(h.Noten_Name).arg(h.Noten_Position);
        Noten::merke(h, Noten::benenne(k, Ohne, "b"));
        ist += QString("%1 %2").arg(h.Noten_Name).arg(h.Noten_Position);
        QCOMPARE(ist, soll);
    }

    void tastenAusserhalbUndWeisseNummern()
    {
        Haupt h;
        // Outside the table nothing changes.
        Noten::merke(h, Noten::benenne(13, Ohne, "#"));
        Noten::merke(h, Noten::benenne(40, Ohne, "b"));
        Noten::merke(h, Noten::benenne(-1, Ohne, "#"));
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


    void benennung_data()
    {
        // Signature (or none), accidental button, key: the name and staff code shown.
        QTest::addColumn<QString>("tonart");
        QTest::addColumn<QString>("vorzeichen");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("soll");
        const QString keine = "keine Tonart";
        for (const char* t : {"Cdur", "Gdur", "Ddur", "Adur", "Edur"})
            QTest::newRow(t) << QString(t) << "b" << 10 << "ais 17";
        for (const char* t : {"Fdur", "Bdur", "Esdur", "Asdur"})
            QTest::newRow(t) << QString(t) << "#" << 10 << "b 16";
        QTest::newRow("# cis'") << keine << "#" << 13 << "cis 0";
        QTest::newRow("b des'") << keine << "b" << 13 << "des 1";
        QTest::newRow("X names by sharps") << keine << "X" << 13 << "cis 0";
        QTest::newRow("no signature name") << "ddur" << "b" << 6 << "ges 18";
        QTest::newRow("white key") << "Asdur" << "#" << 12 << "C 0";
        QTest::newRow("key 39 flat") << keine << "b" << 39 << "dis 15";
        QTest::newRow("key 40") << "Cdur" << "#" << 40 << "- -1";
        QTest::newRow("key -1") << keine << "b" << -1 << "- -1";
    }
    void benennung()
    {
        QFETCH(QString, tonart);
        QFETCH(QString, vorzeichen);
        QFETCH(int, k);
        QFETCH(QString, soll);
        const Noten::Benennung b = Noten::benenne(k, tonart, vorzeichen);
        QCOMPARE(QString("%1 %2").arg(b.name ? b.name : "-").arg(b.code), soll);
        Haupt h; // records it; outside the keys the note before stays
        Noten::merke(h, b);
        QCOMPARE(QString("%1 %2").arg(h.Noten_Name).arg(h.Noten_Position), b.name ? soll : " 0");
    }

    void urteil_data()
    {
        // The drawn note's white-key row, the key played: the verdict and the answer's dot.
        QTest::addColumn<int>("zeile");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("art");
        QTest::addColumn<int>("punkt");
        QTest::newRow("Mittleres C hit") << 7 << 12 << int(Lernen::Urteil::Richtig) << 7;
        QTest::newRow("an octave low") << 7 << 0 << int(Lernen::Urteil::Falsch) << 0;
        QTest::newRow("the key beside") << 7 << 14 << int(Lernen::Urteil::Falsch) << 8;
        QTest::newRow("Doppelt hohes D hit") << 22 << 38 << int(Lernen::Urteil::Richtig) << 22;
        QTest::newRow("black cis'") << 7 << 13 << int(Lernen::Urteil::Schwarz) << 255;
    }
    void urteil()
    {
        QFETCH(int, zeile);
        QFETCH(int, k);
        QFETCH(int, art);
        QFETCH(int, punkt);
        Haupt h;
        h.Lernnote_Weiss = zeile;
        h.Lernnote_Taste = Noten::Weisse_Taste(zeile);
        const Lernen::Urteil u = Lernen::beurteile(h, k);
        QCOMPARE(QList<int>({u.art, u.antwortPunkt, u.notenPunkt}), QList<int>({art, punkt, zeile}));
        QCOMPARE(h.Antwort_Punkt, std::optional<int>(punkt));
        QCOMPARE(h.Antwort_Taste, std::optional<int>(k));
    }

    void tastenlage_data()
    {
        // Published (key 13 off, sound off, a window open), the key asked: may press, may sound.
        QTest::addColumn<QString>("lage");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("soll");
        QTest::newRow("free key") << "13 aus" << 12 << "11";
        QTest::newRow("disabled key") << "13 aus" << 13 << "00";
        QTest::newRow("sound off") << "Ton aus" << 13 << "10";
        QTest::newRow("window open") << "modal" << 39 << "00";
        QTest::newRow("top key") << "" << 39 << "11";
        QTest::newRow("below the keys") << "" << -1 << "00";
        QTest::newRow("above the keys") << "" << 40 << "00";
    }
    void tastenlage()
    {
        QFETCH(QString, lage);
        QFETCH(int, k);
        QFETCH(QString, soll);
        Eingang::Tastenstand stand; // as built: every key free, sound on
        for (bool an : {true, false}) { // each switch goes both ways, ending in the row's state
            Eingang::Tasten frei = Eingang::alleTasten();
            frei[13] = an || lage != "13 aus";
            stand.setzeFreie(frei);
            stand.setzeTonAus(an ? !lage.contains("Ton") : lage.contains("Ton"));
            stand.setzeModalOffen(an ? !lage.contains("modal") : lage.contains("modal"));
        }
        const Eingang::Tastenlage l = stand.lage();
        QCOMPARE(QString("%1%2").arg(Eingang::darfDruecken(l, k)).arg(Eingang::darfKlingen(l, k)), soll);
    }

    void tastenDerTonart_data()
    {
        // The keys a signature leaves on, c to h, the same in every octave ("x" on).
        QTest::addColumn<QString>("tonart");
        QTest::addColumn<QString>("oktave");
        QTest::newRow("C-dur") << "Cdur" << "x-x-xx-x-x-x";
        QTest::newRow("D-dur") << "Ddur" << "-xx-x-xx-x-x";
        QTest::newRow("E-dur") << "Edur" << "-x-xx-x-xx-x";
        QTest::newRow("F-dur") << "Fdur" << "x-x-xx-x-xx-";
        QTest::newRow("As-dur") << "Asdur" << "xx-x-x-xx-x-";
    }
    void tastenDerTonart()
    {
        QFETCH(QString, tonart);
        QFETCH(QString, oktave);
        const Eingang::Tasten frei = Eingang::tastenDer(*Tonarten::finde(tonart));
        QString alle;
        for (int k = 0; k < Noten::Tastenzahl; ++k)
            alle += frei[k] ? 'x' : '-';
        QCOMPARE(alle, oktave.repeated(4).left(Noten::Tastenzahl));
    }

    void pedal_data()
    {
        // MIDI in: "60+1" note 60 on with voice 1, "60-" off, "P127" pedal, "*" all off, "L" learning
        // mode, "." a mark. Out: the voices released in order, T where the pedal went down.
        QTest::addColumn<QString>("ein");
        QTest::addColumn<QString>("aus");
        QTest::newRow("released at once") << "60+1 60-" << "1";
        QTest::newRow("the pedal holds") << "P127 62+1 62- . P0" << "T . 1";
        QTest::newRow("half-pedal counts once") << "P127 62+1 62- P50 P100 . P39" << "T . 1";
        QTest::newRow("up only below 40") << "P127 60+1 60- P40 . P20" << "T . 1";
        QTest::newRow("down only past 64") << "P64 60+1 60-" << "1";
        QTest::newRow("learning: no hold") << "L P127 62+1 62-" << "T 1";
        QTest::newRow("struck again") << "60+1 60+2 . 60-" << "1 . 2";
        QTest::newRow("struck again under the pedal") << "P127 60+1 60- 60+2 P0 . 60-" << "T 1 . 2";
        QTest::newRow("all off in note order") << "P127 64+3 60+1 60- * . P0 64-" << "T 1 3 .";
        QTest::newRow("sound off") << "60+0 60-" << "";
    }
    void pedal()
    {
        QFETCH(QString, ein);
        QFETCH(QString, aus);
        Eingang::Stimmenhalter halter;
        QStringList log;
        const auto loese = [&log](const Eingang::Freigabe& f) {
            for (int s : f.stimmen())
                log << QString::number(s);
        };
        bool lernen = false;
        for (const QString& e : ein.split(' ')) {
            const int n = QString(e).remove('P').remove('-').section('+', 0, 0).toInt();
            if (e.contains('+')) {
                loese(halter.noteAn(n));
                halter.halte(n, e.section('+', 1).toInt());
            } else if (e.endsWith('-')) {
                loese(halter.noteAus(n, lernen));
            } else if (e[0] == 'P') {
                const auto schritt = halter.pedal(n);
                log << (schritt.getreten ? QStringList{"T"} : QStringList{});
                loese(schritt.freigabe);
            } else {
                lernen |= e == "L";
                loese(e == "*" ? halter.allesAus() : Eingang::Freigabe{});
                log << (e == "." ? QStringList{"."} : QStringList{});
            }
        }
        QCOMPARE(log.join(' '), aus);
    }
};

QTEST_GUILESS_MAIN(TestKern)
#include "test_kern.moc"
