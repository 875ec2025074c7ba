// Klavidor: learning to read notes against a piano keyboard.
#include "app/AStart.h"
#include "app/Bilder.h"
#include "app/LadendeTonausgabe.h"
#include "app/ZentriereForm.h"
#include "keyboard/Haupt.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <xcb/xcb.h>

// Whether a window system can be reached; checked before Qt, which would abort without one.
static bool anzeigeErreichbar()
{
    const QByteArray plattform = qgetenv("QT_QPA_PLATFORM");
    if (!plattform.isEmpty() && !plattform.startsWith("xcb"))
        return true; // another platform was asked for: Qt reports on it itself
    if (plattform.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* verbindung = xcb_connect(nullptr, nullptr);
    const bool ok = !xcb_connection_has_error(verbindung);
    xcb_disconnect(verbindung);
    return ok;
}

int main(int argc, char** argv)
{
    if (!anzeigeErreichbar()) {
        std::fprintf(stderr, "klavidor: keine grafische Anzeige erreichbar (DISPLAY=%s).\n", qgetenv("DISPLAY").constData());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Klavidor");
    QApplication::setDesktopFileName("de.klavidor.Klavidor");
    QApplication::setWindowIcon(programmIcon());
    Haupt haupt;
    LadendeTonausgabe ton;
    Zeige_aktiv(*new AStart(haupt, ton));
    const int rc = QApplication::exec();
    // The windows go before the run's variables and the sound output they use.
    QList<QPointer<QWidget>> fenster;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget())
            fenster.append(w);
    for (const auto& w : fenster)
        delete w.data();
    return rc;
}
