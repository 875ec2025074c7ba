// The windows on a real X server (run inside mit_desktop.sh, with and without openbox): each
// window that opens takes the keyboard, and framed windows sit in the middle by their outer frame.
#include "hilfen.h"

#include <QGuiApplication>
#include <QScreen>
#include <xcb/xcb.h>

namespace {

bool mitFensterverwaltung()
{
    auto* x = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* s = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    auto atom = xcb_intern_atom_reply(x, xcb_intern_atom(x, 1, 24, "_NET_SUPPORTING_WM_CHECK"), nullptr);
    auto* p = xcb_get_property_reply(x, xcb_get_property(x, 0, s->root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool da = p && xcb_get_property_value_length(p) > 0;
    free(p);
    free(atom);
    xcb_disconnect(x);
    return da;
}

// The outer frame as the X server has it: the window manager's frame window around the client.
QRect xRahmen(QWidget* w)
{
    auto* x = xcb_connect(nullptr, nullptr);
    xcb_window_t fenster = xcb_window_t(w->winId());
    const xcb_window_t wurzel = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    for (;;) { // climb to the child of the root window
        auto* baum = xcb_query_tree_reply(x, xcb_query_tree(x, fenster), nullptr);
        const xcb_window_t eltern = baum ? baum->parent : wurzel;
        free(baum);
        if (eltern == wurzel)
            break;
        fenster = eltern;
    }
    auto* g = xcb_get_geometry_reply(x, xcb_get_geometry(x, fenster), nullptr);
    const QRect r = g ? QRect(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width) : QRect();
    free(g);
    xcb_disconnect(x);
    return r;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qInfo() << "window manager:" << (mitFensterverwaltung() ? "yes" : "no"); }

    void hauptfensterNimmtTastaturAuchNachVerschiebbar()
    {
        Fenster f;
        for (int i = 0; i < 2; ++i) {
            f.menue("mnu_Fenster_verschiebbar")->trigger();
            // The window system's keyboard focus is on the (new) native window of the main window.
            QTRY_VERIFY_WITH_TIMEOUT(f.kb->windowHandle() && f.kb->windowHandle()->isActive(), 3000);
            QCOMPARE(QGuiApplication::focusWindow(), f.kb->windowHandle());
        }
    }

    void fensterSitzenMittigUndNehmenDieTastatur_data()
    {
        QTest::addColumn<QString>("eintrag");
        QTest::addColumn<QString>("name");
        QTest::newRow("Hilfe") << "mnu_HilfeBuch" << "Buch";
        QTest::newRow("Pausenzeichen") << "mnu_Pausen" << "Pausenzeichen";
        QTest::newRow("Länge der Noten") << "mnu_Längen" << "Notenlänge";
    }
    void fensterSitzenMittigUndNehmenDieTastatur()
    {
        QFETCH(QString, eintrag);
        QFETCH(QString, name);
        Fenster f;
        const bool wm = mitFensterverwaltung();
        QRect rahmen;
        bool aktiv = false;
        QString gefunden;
        QTimer::singleShot(0, f.kb, [&] {
            // The window runs modally; look at it from inside its own event loop.
            QWidget* w = nullptr;
            (void)QTest::qWaitFor([&] { return (w = QApplication::activeModalWidget()) != nullptr; }, 3000);
            if (!w)
                return;
            gefunden = w->objectName();
            aktiv = QTest::qWaitFor([&] { return QApplication::activeWindow() == w; }, 3000);
            // Under a window manager: wait until the frame is there, and give the window time to settle.
            (void)QTest::qWaitFor([&] { return !wm || xRahmen(w).size() != w->size(); }, 3000);
            QTest::qWait(500);
            rahmen = xRahmen(w);
            QTest::keyClick(w, Qt::Key_Escape);
        });
        f.menue(eintrag)->trigger();
        QCOMPARE(gefunden, name);
        QVERIFY2(aktiv, "the window did not take the keyboard");
        const QRect schirm = QGuiApplication::primaryScreen()->geometry();
        const QPoint abweichung = rahmen.center() - schirm.center();
        QVERIFY2(std::abs(abweichung.x()) <= 2 && std::abs(abweichung.y()) <= 2,
                 qPrintable(QString("outer frame %1,%2 %3x%4 is %5,%6 px off the centre")
                                .arg(rahmen.x()).arg(rahmen.y()).arg(rahmen.width()).arg(rahmen.height())
                                .arg(abweichung.x()).arg(abweichung.y())));
    }
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
