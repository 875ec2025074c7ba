#include "app/ZentriereForm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
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

// Until a framed window is shown its frame is unknown; the window manager reports it later, and
// the client area moves into it. Then the window is centred once more, by its outer size.
class Rahmenwaechter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Move || e->type() == QEvent::Show) {
            auto* w = static_cast<QWidget*>(o);
            if (w->frameGeometry().size() != w->size()) {
                w->removeEventFilter(this);
                deleteLater();
                zentriereAussen(*w);
            }
        }
        return false;
    }
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
    if (gerahmt && !fenster.isVisible() && !fenster.findChild<Rahmenwaechter*>(QString(), Qt::FindDirectChildrenOnly))
        fenster.installEventFilter(new Rahmenwaechter(&fenster));
}

void Zeige_aktiv(QWidget& fenster)
{
    fenster.show();
    fenster.raise();
    // Without a window manager nobody else gives a new window the keyboard focus; Qt sets it as
    // soon as the window is mapped.
    fenster.activateWindow();
}
