// The practice core's rules without a window: naming under a signature, the judgement of an answer,
// which key may sound, and the sustain pedal.
#include "kern/Haupt.h"
#include "kern/Lernnoten.h"
#include "kern/Notenmodell.h"
#include "kern/Stimmenhalter.h"
#include "kern/Tastenlage.h"

#include <QtTest>

class TestKern : public QObject
{
    Q_OBJECT

private slots:
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
        QTest::newRow("Ddur fis") << "Ddur" << "b" << 6 << "fis 19";
        QTest::newRow("# cis'") << keine << "#" << 13 << "cis 0";
        QTest::newRow("b des'") << keine << "b" << 13 << "des 1";
        QTest::newRow("X names by sharps") << keine << "X" << 13 << "cis 0";
        QTest::newRow("no signature name") << "ddur" << "b" << 6 << "ges 18";
        QTest::newRow("white key") << "Asdur" << "#" << 12 << "C 0";
        QTest::newRow("lowest") << "Fdur" << "#" << 0 << "C 22";
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
        // Haupt records it; a key outside the keys leaves the note before.
        Haupt h;
        h.Noten_Name = "vorher";
        Noten::merke(h, b);
        QCOMPARE(QString("%1 %2").arg(h.Noten_Name).arg(h.Noten_Position), b.name ? soll : "vorher 0");
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
        QTest::newRow("black top key") << 22 << 39 << int(Lernen::Urteil::Schwarz) << 255;
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
        QCOMPARE(int(u.art), art);
        QCOMPARE(u.antwortPunkt, punkt);
        QCOMPARE(u.notenPunkt, zeile);
        QCOMPARE(h.Antwort_Punkt, std::optional<int>(punkt));
        QCOMPARE(h.Antwort_Taste, std::optional<int>(k));
    }

    void tastenlage_data()
    {
        // Published: key 13 off (as under a signature), sound off, a window open. Asked: key k.
        QTest::addColumn<bool>("aus13");
        QTest::addColumn<bool>("tonAus");
        QTest::addColumn<bool>("modal");
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("druecken");
        QTest::addColumn<bool>("klingen");
        QTest::newRow("free key") << true << false << false << 12 << true << true;
        QTest::newRow("disabled key") << true << false << false << 13 << false << false;
        QTest::newRow("sound off") << false << true << false << 13 << true << false;
        QTest::newRow("window open") << false << false << true << 39 << false << false;
        QTest::newRow("top key") << false << false << false << 39 << true << true;
        QTest::newRow("below the keys") << false << false << false << -1 << false << false;
        QTest::newRow("above the keys") << false << false << false << 40 << false << false;
    }
    void tastenlage()
    {
        QFETCH(bool, aus13);
        QFETCH(bool, tonAus);
        QFETCH(bool, modal);
        QFETCH(int, k);
        QFETCH(bool, druecken);
        QFETCH(bool, klingen);
        Eingang::Tastenstand stand; // as built: every key free, sound on
        stand.setzeFrei(13, false);
        stand.setzeFrei(13, !aus13);
        stand.setzeTonAus(true);
        stand.setzeTonAus(tonAus);
        stand.setzeModalOffen(modal);
        const Eingang::Tastenlage lage = stand.lage();
        QCOMPARE(int(lage.frei.count()), aus13 ? 39 : 40);
        QCOMPARE(Eingang::darfDruecken(lage, k), druecken);
        QCOMPARE(Eingang::darfKlingen(lage, k), klingen);
    }

    void pedal_data()
    {
        // MIDI events ("an NOTE=VOICE", "aus NOTE", "pedal VALUE", "alles", "lernen" switches
        // learning mode on, "." marks the log); the log: voices released, T where the pedal went down.
        QTest::addColumn<QString>("ereignisse");
        QTest::addColumn<QString>("soll");
        QTest::newRow("released at once") << "an 60=1 aus 60" << "1";
        QTest::newRow("the pedal holds") << "pedal 127 an 62=1 aus 62 . pedal 0" << "T . 1";
        QTest::newRow("half-pedal counts once") << "pedal 127 an 62=1 aus 62 pedal 50 pedal 100 . pedal 39"
                                               << "T . 1";
        QTest::newRow("up only below 40") << "pedal 127 an 60=1 aus 60 pedal 40 . pedal 20" << "T . 1";
        QTest::newRow("down only past 64") << "pedal 64 an 60=1 aus 60" << "1";
        QTest::newRow("learning: no hold") << "lernen pedal 127 an 62=1 aus 62" << "T 1";
        QTest::newRow("struck again") << "an 60=1 an 60=2 . aus 60" << "1 . 2";
        QTest::newRow("struck again under the pedal") << "pedal 127 an 60=1 aus 60 an 60=2 pedal 0 . aus 60"
                                                     << "T 1 . 2";
        QTest::newRow("all off in note order") << "pedal 127 an 64=3 an 60=1 aus 60 alles . pedal 0 aus 64"
                                              << "T 1 3 .";
        QTest::newRow("sound off") << "an 60=0 aus 60" << "";
    }
    void pedal()
    {
        QFETCH(QString, ereignisse);
        QFETCH(QString, soll);
        Eingang::Stimmenhalter halter;
        QStringList log;
        const auto loese = [&log](const Eingang::Freigabe& f) {
            for (int s : f.stimmen())
                log << QString::number(s);
        };
        bool lernen = false;
        const QStringList e = ereignisse.split(' ');
        for (int i = 0; i < e.size(); ++i) {
            if (e[i] == "an") {
                const QStringList nv = e[++i].split('=');
                loese(halter.noteAn(nv[0].toInt()));
                halter.halte(nv[0].toInt(), nv[1].toInt());
            } else if (e[i] == "aus") {
                loese(halter.noteAus(e[++i].toInt(), lernen));
            } else if (e[i] == "pedal") {
                const auto schritt = halter.pedal(e[++i].toInt());
                if (schritt.getreten)
                    log << "T";
                loese(schritt.freigabe);
            } else if (e[i] == "alles") {
                loese(halter.allesAus());
            } else {
                lernen |= e[i] == "lernen";
                if (e[i] == ".")
                    log << ".";
            }
        }
        QCOMPARE(log.join(' '), soll);
    }
};

QTEST_GUILESS_MAIN(TestKern)
#include "test_kern.moc"
