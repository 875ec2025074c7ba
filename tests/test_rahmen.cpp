// Window frame and web links: the sunken edge, the movable main window, the web menu.
#include "widgets/DickerWinRand.h"
#include "hilfen.h"
#include "web/Webadressen.h"
#include "web/mdlBrowserAufrufen.h"

#include <QDesktopServices>
#include <QMenuBar>

class TestRahmen : public QObject
{
    Q_OBJECT

private slots:
    void vertiefterRandEinmal()
    {
        Fenster f;
        QVERIFY(hat_DickerRand(*f.kb));
        const int kinder = f.kb->centralWidget()->children().size();
        const QRect ort = f.kb->geometry();
        Setze_DickerRand(*f.kb);
        Setze_DickerRand(*f.kb);
        QCOMPARE(f.kb->centralWidget()->children().size(), kinder);
        QCOMPARE(f.kb->geometry(), ort);
        // The edge lies over the border of the client area and takes no clicks.
        QWidget* rand = f.kb->centralWidget()->findChild<QWidget*>("DickerRand");
        QCOMPARE(rand->geometry(), f.kb->centralWidget()->rect());
        QVERIFY(rand->testAttribute(Qt::WA_TransparentForMouseEvents));
        const QImage bild = f.kb->centralWidget()->grab().toImage();
        QVERIFY(bild.pixelColor(0, 100) != QColor(Qt::white));
        QVERIFY(bild.pixelColor(100, 100) == QColor(Qt::white));
    }

    void fensterVerschiebbar()
    {
        Fenster f;
        QCOMPARE(f.kb->windowTitle(), QString());
        QVERIFY(f.kb->windowFlags() & Qt::FramelessWindowHint);
        const QPoint ort = f.kb->pos();
        QTest::keyClick(f.kb, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(f.kb->windowTitle(), Keyboard::Titel);
        QVERIFY(!(f.kb->windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(f.kb->windowFlags() & Qt::WindowTitleHint);
        QVERIFY(!(f.kb->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(f.kb->isVisible());
        QCOMPARE(f.kb->pos(), ort);
        // Dragged while movable, it stays where it was dragged.
        f.kb->move(ort + QPoint(30, 20));
        f.kb->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.kb));
        const QPoint gezogen = f.kb->pos();
        QTest::keyClick(f.kb, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(f.kb->windowTitle(), QString());
        QVERIFY(f.kb->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.kb->pos(), gezogen);
        QCOMPARE(f.kb->minimumSize(), f.kb->maximumSize());
    }

    void webseiten()
    {
        UrlFaenger fang;
        Fenster f;
        f.menue("mnu_EinzelneTonarten(5)")->trigger();
        const QString vorher = text(f.kb, "TextFeld");
        QStringList soll;
        QSet<QString> titel;
        for (int i = 0; i < 9; ++i) {
            QAction* a = f.menue(QString("mnu_Webseite(%1)").arg(i));
            QVERIFY(a && a->shortcut().isEmpty());
            titel.insert(a->text());
            a->trigger();
            soll << Web::Seiten[i].adresse;
            QVERIFY(QUrl(Web::Seiten[i].adresse).scheme() == "https");
        }
        QCOMPARE(fang.urls, soll);
        QVERIFY(fang.immerBeschaeftigt); // the busy pointer covers every launch
        QCOMPARE(QSet<QString>(soll.begin(), soll.end()).size(), 9);
        QCOMPARE(titel.size(), 9);
        QCOMPARE(el<QMenu>(f.kb, "mnu_Webseiten")->actions().size(), 9);
        // The window keeps its state and the pointer is back to normal.
        QCOMPARE(f.haupt.Tonart, QString("Adur"));
        QCOMPARE(text(f.kb, "TextFeld"), vorher);
        QVERIFY(!QApplication::overrideCursor());
    }

    void browserFehltZeigerKommtZurueck()
    {
        // No handler for the scheme and no browser: nothing is shown, the pointer comes back.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Browser_Aufrufen(nullptr, "klavidor-unbekannt://nirgends");
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestRahmen)
#include "test_rahmen.moc"
