#include "widgets/ZentriereForm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

void zentriereAussen(QWidget& fenster)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The outer size: the client area plus the frame the window system adds (none until shown).
    const QSize aussen = fenster.frameGeometry().size().expandedTo(fenster.size());
    const QPointF p = Zentriere_Punkt(screen->geometry().size(), aussen) + screen->geometry().topLeft();
    fenster.move(qRound(p.x()), qRound(p.y())); // a top-level move places the outer frame
}

// Until a framed window is shown its frame is unknown; the window manager adds it a moment after
// the window is mapped, and tells no event about it. So the window looks for it a few times a
// second after it is shown, and is centred once more by its outer size when it is there.
class Rahmenwaechter : public QObject
{
public:
    static constexpr const char* Name = "Rahmenwaechter";

    explicit Rahmenwaechter(QWidget& fenster) : QObject(&fenster), m_fenster(fenster)
    {
        setObjectName(Name);
        fenster.installEventFilter(this);
        m_uhr.setInterval(Blick_ms);
        connect(&m_uhr, &QTimer::timeout, this, &Rahmenwaechter::schaue);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            m_blicke = 0;
            m_uhr.start();
        }
        return false;
    }

private:
    static constexpr int Blick_ms = 20, Blicke = 100; // two seconds at most

    void schaue()
    {
        if (m_fenster.frameGeometry().size() != m_fenster.size()) {
            zentriereAussen(m_fenster);
            deleteLater();
        } else if (++m_blicke >= Blicke) {
            m_uhr.stop(); // no frame: nothing to do
        }
    }

    QWidget& m_fenster;
    QTimer m_uhr;
    int m_blicke = 0;
};

} // namespace

QPointF Zentriere_Punkt(QSizeF bildschirm, QSizeF fenster)
{
    return {bildschirm.width() / 2.0 - fenster.width() / 2.0, bildschirm.height() / 2.0 - fenster.height() / 2.0};
}

void Zentriere(QWidget& fenster, int code)
{
    if (code != 4)
        return;
    zentriereAussen(fenster);
    const bool gerahmt = !(fenster.windowFlags() & Qt::FramelessWindowHint);
    if (gerahmt && !fenster.isVisible() && !fenster.findChild<QObject*>(Rahmenwaechter::Name, Qt::FindDirectChildrenOnly))
        new Rahmenwaechter(fenster);
}

void Zeige_aktiv(QWidget& fenster)
{
    fenster.show();
    fenster.raise();
    // Without a window manager nobody else gives a new window the keyboard focus; Qt sets it as
    // soon as the window is mapped.
    fenster.activateWindow();
}
