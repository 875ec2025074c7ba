// The start screen: its controls, what its load step prepares, and the two ways out of it.
#include "app/AStart.h"
#include "app/Verzeichnisse.h"
#include "widgets/ZentriereForm.h"
#include "hilfen.h"
#include "web/Webadressen.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>

class TestStart : public QObject
{
    Q_OBJECT

private slots:
    void ladeschrittUndSteuerelemente()
    {
        Haupt haupt;
        haupt.Ton_aus = true;
        haupt.Farbe_Weiss = 0x123456;
        Aufnahme ton;
        AStart s(haupt, ton);
        QCOMPARE(s.objectName(), QString("AStart"));
        QCOMPARE(s.size(), QSize(635, 474)); // 9525 x 7110 twips
        QCOMPARE(s.windowTitle(), QString());
        QCOMPARE(s.Label2->text(), QString("Klavidor  3.1"));
        QCOMPARE(s.Label2->palette().color(QPalette::WindowText), farbe(0xFF0000));
        QCOMPARE(s.Command1->text(), QString("&Starten"));
        QCOMPARE(s.Command1->toolTip(), QString("  PROGRAMMSTART  "));
        QCOMPARE(s.Command1->geometry(), twips(3720, 3240, 2655, 735));
        QCOMPARE(s.Command2->text(), QString("&Verlassen"));
        QCOMPARE(s.Command2->toolTip(), QString("  Programm nicht starten  "));
        QCOMPARE(s.Command2->geometry(), twips(240, 6480, 1695, 495));
        QCOMPARE(s.Command1->font().bold(), true);
        QCOMPARE(s.Command1->backColor(), 0xE0E0E0u);
        QCOMPARE(s.Image1->geometry(), twips(120, 240, 3000, 675));
        QCOMPARE(s.Image2->geometry(), twips(-120, 840, 9900, 6165));
        QCOMPARE(s.Shape1[0]->fillColor(), 0x800000u);
        QCOMPARE(s.Shape1[1]->geometry(), twips(0, 6840, 9615, 300));
        QVERIFY(s.Command1->cursor().shape() == Qt::BitmapCursor);
        // What the load step sets for the whole run.
        QCOMPARE(haupt.Ton_aus, false);
        QCOMPARE(haupt.Farbe_Weiss, 0xD5ECF2u);
        QCOMPARE(haupt.Farbe_Weiss_aus, 0xFFCEC2u);
        QCOMPARE(haupt.Farbe_Schwarz, 0x000000u);
        QCOMPARE(haupt.Farbe_Schwarz_aus, 0x404040u);
        QCOMPARE(haupt.Akt_Verzeichnis, QDir::currentPath());
        QCOMPARE(haupt.Ton_Verzeichnis, QDir::currentPath() + "/");
        // Centred on the primary screen.
        const QRect bs = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(qAbs(s.x() - (bs.width() - s.width()) / 2) <= 1);
        QVERIFY(qAbs(s.y() - (bs.height() - s.height()) / 2) <= 1);
    }

    void tonverzeichnis()
    {
        QCOMPARE(Ton_Verzeichnis_aus("/"), QString("/"));
        QCOMPARE(Ton_Verzeichnis_aus("/home/anna"), QString("/home/anna/"));
        QCOMPARE(Ton_Verzeichnis_aus("/home/anna/"), QString("/home/anna/"));
        // A directory with umlauts and blanks, read as the current directory at start-up.
        QTemporaryDir tmp;
        const QString dir = tmp.path() + "/Übungen für Jörg";
        QVERIFY(QDir().mkpath(dir));
        const QString vorher = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir));
        Haupt haupt;
        Aufnahme ton;
        {
            AStart s(haupt, ton);
        }
        QDir::setCurrent(vorher);
        QCOMPARE(haupt.Ton_Verzeichnis, QDir(dir).canonicalPath() + "/");
        QVERIFY(!haupt.Ton_Verzeichnis.endsWith("//"));
    }

    void zentrieren()
    {
        QCOMPARE(Zentriere_Punkt({1280, 800}, {1280, 800}), QPointF(0, 0));
        QCOMPARE(Zentriere_Punkt({1280, 800}, {635, 474}), QPointF(322.5, 163));
        QCOMPARE(Zentriere_Punkt({800, 600}, {940, 700}), QPointF(-70, -50));
    }

    void verlassenUndEscBeenden()
    {
        Haupt haupt;
        Aufnahme ton;
        AStart s(haupt, ton);
        s.show();
        s.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s));
        QVERIFY(beendet(&s, [&] { QTest::keyClick(&s, Qt::Key_Escape); }));
        QVERIFY(beendet(&s, [&] { s.Command2->click(); }));
        QVERIFY(beendet(&s, [&] { QTest::keyClick(&s, Qt::Key_V, Qt::AltModifier); }));
        // Nothing else ends it.
        QVERIFY(!beendet(&s, [&] { QTest::keyClick(&s, Qt::Key_A); }));
    }

    void startenOeffnetHauptfenster()
    {
        Haupt haupt;
        Aufnahme ton;
        QPointer<AStart> s = new AStart(haupt, ton);
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QTest::keyClick(s, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(s.isNull());
        Keyboard* kb = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Keyboard")
                kb = static_cast<Keyboard*>(w);
        QVERIFY(kb);
        QVERIFY(kb->isVisible());
        QCOMPARE(haupt.Lern_Modus, false);
        QCOMPARE(el<Knopf>(kb, "Funktion", 0)->text(), QString("Per Klick"));
        delete kb;
    }

    void logoOeffnetHauptseite()
    {
        UrlFaenger f;
        Haupt haupt;
        Aufnahme ton;
        AStart s(haupt, ton);
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        QTest::mouseClick(s.Image1, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(f.urls, QStringList{Web::Hauptseite});
        QVERIFY(s.isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestStart)
#include "test_start.moc"
