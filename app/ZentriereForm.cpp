#include "app/ZentriereForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QPointF Zentriere_Punkt(QSizeF bildschirm, QSizeF fenster)
{
    return {bildschirm.width() / 2.0 - fenster.width() / 2.0, bildschirm.height() / 2.0 - fenster.height() / 2.0};
}

void Zentriere(QWidget& fenster, int code)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (code != 4 || !screen)
        return;
    // The outer size as loaded: the client area plus the frame the window system adds.
    const QRect rahmen = fenster.frameGeometry();
    const QSize aussen = rahmen.size().expandedTo(fenster.size());
    const QPointF p = Zentriere_Punkt(screen->geometry().size(), aussen) + screen->geometry().topLeft();
    fenster.move(qRound(p.x()), qRound(p.y()));
}
