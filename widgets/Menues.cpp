#include "widgets/Menues.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

QMenu* neuesMenue(QWidget* oben, const char* name, const QString& titel)
{
    auto* m = new QMenu(titel, oben);
    m->setObjectName(name);
    if (auto* bar = qobject_cast<QMenuBar*>(oben))
        bar->addMenu(m);
    else
        static_cast<QMenu*>(oben)->addMenu(m);
    return m;
}

QAction* neuerEintrag(QMenu* m, const QString& name, const QString& text, const QKeySequence& taste, QObject* ziel,
                      std::function<void()> tat)
{
    QAction* a = m->addAction(text);
    a->setObjectName(name);
    a->setShortcut(taste);
    if (tat)
        QObject::connect(a, &QAction::triggered, ziel, std::move(tat));
    return a;
}

void neueLinie(QMenu* m, const QString& name) { m->addSeparator()->setObjectName(name); }
