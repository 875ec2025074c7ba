// The time from a click on "&Starten" until the main window is shown and painted, in-process
// under a real window system (run it under Xvfb). Median over N opening after a warm-up.
#include "app/AStart.h"
#include "sound/Tonausgabe.h"
#include "kern/Haupt.h"
#include "keyboard/Keyboard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QtTest>
#include <algorithm>
#include <cstdio>

namespace {

// Notices the first paint of the main window's client area.
class Maler : public QObject
{
public:
    bool gemalt = false;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && o->objectName() == "Keyboard_Flaeche")
            gemalt = true;
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 7;
    Haupt haupt;
    StummeTonausgabe ton;
    QList<double> zeiten;
    for (int i = -1; i < n; ++i) {
        QPointer<AStart> start = new AStart(haupt, ton);
        start->show();
        if (!QTest::qWaitForWindowExposed(start))
            return 1;
        QTest::qWait(100);
        Maler maler;
        app.installEventFilter(&maler);
        QElapsedTimer uhr;
        uhr.start();
        QTest::mouseClick(start->Command1, Qt::LeftButton);
        while (!maler.gemalt && uhr.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::processEvents(); // the painted area reaches the window system
        const double ms = uhr.nsecsElapsed() / 1e6;
        app.removeEventFilter(&maler);
        if (!maler.gemalt)
            return 1;
        if (i >= 0)
            zeiten << ms;
        // Its picture stores are top-level windows too and go with it.
        QWidget* kb = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Keyboard")
                kb = w;
        delete kb;
        QApplication::processEvents();
    }
    std::sort(zeiten.begin(), zeiten.end());
    std::printf("%.1f %.1f\n", zeiten[zeiten.size() / 2], zeiten.last());
    return 0;
}
