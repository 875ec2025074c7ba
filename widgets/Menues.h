// Building blocks of the menus: each menu and entry carries its documented name.
#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QObject;
class QWidget;

// A menu in the menu bar or in another menu.
QMenu* neuesMenue(QWidget* oben, const char* name, const QString& titel);
// An entry that runs `tat` (if given) in the context of `ziel`.
QAction* neuerEintrag(QMenu* m, const QString& name, const QString& text, const QKeySequence& taste, QObject* ziel,
                      std::function<void()> tat);
void neueLinie(QMenu* m, const QString& name);
