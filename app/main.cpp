// Klavidor: learning to read notes against a piano keyboard.
#include "app/AStart.h"
#include "app/SdlTonausgabe.h"
#include "keyboard/Haupt.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "klavidor: keine grafische Anzeige gefunden (DISPLAY ist nicht gesetzt).\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Klavidor");
    QApplication::setDesktopFileName("klavidor");
    Haupt haupt;
    SdlTonausgabe ton;
    (new AStart(haupt, ton))->show();
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
