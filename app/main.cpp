// Klavidor: learning to read notes against a piano keyboard.
#include "app/AStart.h"
#include "widgets/Bilder.h"
#include "sound/LadendeTonausgabe.h"
#include "widgets/Version.h"
#include "widgets/ZentriereForm.h"
#include "kern/Haupt.h"

#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

// Whether a Wayland compositor answers on the socket WAYLAND_DISPLAY names (a name is relative
// to XDG_RUNTIME_DIR, as the Wayland library reads it).
static bool waylandErreichbar()
{
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return false;
    const QByteArray pfad = name.startsWith('/') ? name : qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    sockaddr_un adresse{};
    if (pfad.size() >= qsizetype(sizeof adresse.sun_path))
        return false;
    adresse.sun_family = AF_UNIX;
    std::memcpy(adresse.sun_path, pfad.constData(), size_t(pfad.size()));
    const int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool ok = s >= 0 && ::connect(s, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) == 0;
    if (s >= 0)
        close(s);
    return ok;
}

// Whether a window system can be reached; checked before Qt, which would abort without one.
static bool anzeigeErreichbar()
{
    const QByteArray plattform = qgetenv("QT_QPA_PLATFORM");
    if (!plattform.isEmpty() && !plattform.startsWith("xcb"))
        return true; // another platform was asked for: Qt reports on it itself
    if (plattform.isEmpty() && waylandErreichbar())
        return true;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t* verbindung = xcb_connect(nullptr, nullptr);
    const bool ok = !xcb_connection_has_error(verbindung);
    xcb_disconnect(verbindung);
    return ok;
}

// --version and --help answer in one line each, without a display.
static bool beantworteFrage(int argc, char** argv)
{
    if (argc < 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("Klavidor " KLAVIDOR_VERSION "\n");
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::printf("Aufruf: klavidor [--version | --help] – Noten lesen lernen am Keyboard; "
                    "die Klänge liegen im Startordner oder bei der Installation.\n");
        return true;
    }
    return false;
}

int main(int argc, char** argv)
{
    if (beantworteFrage(argc, argv))
        return 0;
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
