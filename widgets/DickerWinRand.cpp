#include "widgets/DickerWinRand.h"

#include <QEvent>
#include <QMainWindow>
#include <QPainter>
#include <QWidget>

namespace {

// A two-pixel sunken bevel drawn over the edge of the client area; it takes no input.
class Kante : public QWidget
{
public:
    explicit Kante(QWidget* flaeche) : QWidget(flaeche)
    {
        setObjectName("DickerRand");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(flaeche->rect());
        flaeche->installEventFilter(this);
        raise();
        show();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        else if (e->type() == QEvent::ChildAdded)
            raise();
        return false;
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const int w = width() - 1, h = height() - 1;
        p.setPen(QColor(0x80, 0x80, 0x80)); // outer shadow
        p.drawLine(0, 0, w, 0);
        p.drawLine(0, 0, 0, h);
        p.setPen(QColor(0x40, 0x40, 0x40)); // inner dark
        p.drawLine(1, 1, w - 1, 1);
        p.drawLine(1, 1, 1, h - 1);
        p.setPen(Qt::white); // outer light
        p.drawLine(0, h, w, h);
        p.drawLine(w, 0, w, h);
        p.setPen(QColor(0xD4, 0xD0, 0xC8)); // inner light
        p.drawLine(1, h - 1, w - 1, h - 1);
        p.drawLine(w - 1, 1, w - 1, h - 1);
    }
};

QWidget* flaeche(QWidget& fenster)
{
    if (auto* mw = qobject_cast<QMainWindow*>(&fenster); mw && mw->centralWidget())
        return mw->centralWidget();
    return &fenster;
}

} // namespace

void Setze_DickerRand(QWidget& fenster)
{
    if (!hat_DickerRand(fenster))
        new Kante(flaeche(fenster));
}

bool hat_DickerRand(const QWidget& fenster)
{
    return flaeche(const_cast<QWidget&>(fenster))->findChild<QWidget*>("DickerRand", Qt::FindDirectChildrenOnly);
}
