// Robustness: thousands of random user actions, memory over many key clicks, and a screen reader's
// view of every control.
#include "hilfen.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <random>

namespace {

long residentKiB()
{
    QFile f("/proc/self/status");
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& zeile : f.readAll().split('\n'))
        if (zeile.startsWith("VmRSS:"))
            return zeile.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// What must hold whatever the user did.
QString widerspruch(Keyboard* kb, const Haupt& h)
{
    const bool lernen = h.Lern_Modus;
    for (auto* t : alle<Knopf>(kb, "LernTasten"))
        if (t->isHidden() == lernen)
            return "range buttons and learning mode disagree";
    if (el<Knopf>(kb, "LernTasten2")->isHidden() == lernen || el<Bild>(kb, "LernBild")->isHidden() == lernen)
        return "learning controls and learning mode disagree";
    if (el<QMenu>(kb, "mnu_Tonarten")->isEnabled() == lernen || el<Feld>(kb, "Picture1")->isHidden() != lernen)
        return "key-signature menu or panel and learning mode disagree";
    if (el<Bild>(kb, "Note1")->isHidden() == el<Bild>(kb, "Note2")->isHidden())
        return "not exactly one note on the treble staff";
    if (h.Maus_Move_An && el<Knopf>(kb, "Funktion", 0)->text() != "Schieben")
        return "mouse-over display on under the caption " + el<Knopf>(kb, "Funktion", 0)->text();
    if (!QStringList{"Per Klick", "Schieben"}.contains(el<Knopf>(kb, "Funktion", 0)->text()))
        return "caption of Funktion(0): " + el<Knopf>(kb, "Funktion", 0)->text();
    if (el<Bild>(kb, "Image5")->isHidden() == (h.Vorzeichen == "#") || el<Bild>(kb, "Image6")->isHidden() == (h.Vorzeichen == "b"))
        return "sign pictures and Vorzeichen " + h.Vorzeichen + " disagree";
    if (!QStringList{"#", "b", "X"}.contains(h.Vorzeichen))
        return "Vorzeichen " + h.Vorzeichen;
    for (auto* b : alle<Form>(kb, "Farbe"))
        if (b->isHidden() != el<Form>(kb, "Farbe", 0)->isHidden())
            return "colour band partly shown";
    for (auto* m : alle<Form>(kb, "T_Markierung"))
        if (m->isHidden() != el<Form>(kb, "T_Markierung", 0)->isHidden())
            return "marker dots partly shown";
    for (auto* t : alle<Knopf>(kb, "aufLinie_Taste"))
        if (t->isHidden() != el<Knopf>(kb, "aufLinie_Taste", 0)->isHidden())
            return "note-name ladder partly shown";
    if (h.Beantwortet == false && !lernen)
        return "a question open outside learning mode";
    return {};
}

} // namespace

class TestRobust : public QObject
{
    Q_OBJECT

private slots:
    void zufallsaktionen()
    {
        UrlFaenger fang;
        Fenster f(12345);
        std::mt19937 zufall(20261207);
        auto wahl = [&](int n) { return int(zufall() % unsigned(n)); };

        // Modal windows that open are used a little and closed again from inside.
        int modale = 0;
        std::function<void()> schliesser = [&] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m)
                return;
            ++modale;
            const auto knoepfe = m->findChildren<QAbstractButton*>();
            for (int i = 0; i < 3 && !knoepfe.isEmpty(); ++i) {
                auto* k = knoepfe[wahl(int(knoepfe.size()))];
                if (k->isVisible() && k->isEnabled() && k->objectName() != "Verlassen")
                    QTest::mouseClick(k, Qt::LeftButton);
            }
            if (auto* box = qobject_cast<QMessageBox*>(m))
                box->accept();
            else if (auto* d = qobject_cast<QDialog*>(m))
                d->reject();
        };
        auto mitSchliesser = [&](const std::function<void()>& tat) {
            QTimer::singleShot(0, f.kb, schliesser);
            tat();
            if (!f.kb->isActiveWindow()) {
                f.kb->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(f.kb));
            }
        };

        QList<QAction*> aktionen;
        for (QAction* a : f.kb->findChildren<QAction*>())
            if (!a->isSeparator() && !a->menu() && a->objectName() != "mnu_beenden" && !a->objectName().isEmpty())
                aktionen << a;
        const QList<QKeySequence> tasten{
            QKeySequence("F1"),      QKeySequence("F3"),       QKeySequence("F5"),      QKeySequence("F6"),
            QKeySequence("F7"),      QKeySequence("F8"),       QKeySequence("F11"),     QKeySequence("F12"),
            QKeySequence("Del"),     QKeySequence("Ctrl+D"),   QKeySequence("Ctrl+I"),  QKeySequence("Ctrl+T"),
            QKeySequence("Ctrl+N"),  QKeySequence("Ctrl+U"),   QKeySequence("Ctrl+M"),  QKeySequence("Ctrl+L"),
            QKeySequence("Ctrl+F9"), QKeySequence("Shift+F2"), QKeySequence("Ctrl+F3"), QKeySequence("Space"),
            QKeySequence("Tab"),     QKeySequence("A"),
        };
        for (int schritt = 0; schritt < 10000; ++schritt) {
            const int art = wahl(10);
            if (art < 6) {
                QList<QAbstractButton*> knoepfe;
                for (auto* k : f.kb->findChildren<QAbstractButton*>())
                    if (k->isVisible() && k->isEnabled() && k != el<Knopf>(f.kb, "Funktion", 10))
                        knoepfe << k;
                auto* k = knoepfe[wahl(int(knoepfe.size()))];
                mitSchliesser([&] { QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(3, 3)); });
            } else if (art < 8) {
                QAction* a = aktionen[wahl(int(aktionen.size()))];
                mitSchliesser([&] { a->trigger(); });
            } else if (art < 9) {
                const QKeySequence& t = tasten[wahl(int(tasten.size()))];
                mitSchliesser([&] { QTest::keySequence(f.kb, t); });
            } else {
                QWidget* ziel = f.kb->centralWidget()->childAt(QPoint(wahl(940), wahl(590)));
                QTest::mouseMove(ziel ? ziel : f.kb->centralWidget(), QPoint(2, 2));
            }
            if (schritt % 500 == 0) {
                const QString fehler = widerspruch(f.kb, f.haupt);
                QVERIFY2(fehler.isEmpty(), qPrintable(QString("after %1 actions: %2").arg(schritt).arg(fehler)));
            }
        }
        const QString fehler = widerspruch(f.kb, f.haupt);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        QVERIFY(f.kb->isVisible());
        QVERIFY(modale > 10);
        QVERIFY(fang.urls.size() > 10);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(f.ton.gespielt.size() > 1000);
    }

    void speicherBeiTastenklicks()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer keeps freed memory in quarantine; resident size says nothing here");
#endif
        Fenster f;
        // Each click is followed by the event loop, as for a user; otherwise the events the
        // clicks post pile up and their memory stays with the allocator after they are handled.
        // The paths the recording double keeps are the test's memory, not the program's.
        auto klicks = [&](int n) {
            for (int i = 0; i < n; ++i) {
                klicke(f.kb, "TheKey", (i * 7) % 40);
                QApplication::processEvents();
                f.ton.gespielt.clear();
            }
        };
        klicks(1000);
        const long vorher = residentKiB();
        klicks(10000);
        const long nachher = residentKiB();
        QVERIFY(vorher > 0);
        QVERIFY2(nachher - vorher < 2048, qPrintable(QString("grew by %1 KiB").arg(nachher - vorher)));
    }

    void bildschirmleser()
    {
        Fenster f;
        QWidgetList ohneNamen;
        for (QWidget* w : f.kb->centralWidget()->findChildren<QWidget*>()) {
            if (w->objectName() == "DickerRand")
                continue;
            // A label may be empty for a while; then its description says what it is for.
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            const bool leer = !a || (a->text(QAccessible::Name).trimmed().isEmpty()
                                     && (!qobject_cast<QLabel*>(w) || a->text(QAccessible::Description).isEmpty()));
            if (leer)
                ohneNamen << w;
        }
        QStringList namen;
        for (QWidget* w : ohneNamen)
            namen << w->objectName();
        QVERIFY2(ohneNamen.isEmpty(), qPrintable(namen.join(", ")));
        auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
        QCOMPARE(name(el<Knopf>(f.kb, "TheKey", 13)), QString("Taste cis'"));
        QCOMPARE(name(el<Knopf>(f.kb, "Funktion", 6)), QString("Lernen"));
        // The note's name and the feedback texts can be read.
        tippe(f.kb, 13);
        QCOMPARE(name(el<Beschriftung>(f.kb, "NotenNamenTextFeld")), QString("Note: cis"));
        QVERIFY(name(el<Beschriftung>(f.kb, "TextFeld2")).startsWith("“#” wurde gewählt"));
        QVERIFY(!QAccessible::queryAccessibleInterface(el<Bild>(f.kb, "Note1"))->text(QAccessible::Description).isEmpty());
    }
};

QTEST_MAIN(TestRobust)
#include "test_robust.moc"
