#include "widgets/Stil.h"

#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

Stil::Stil() : QProxyStyle(QStyleFactory::create("Fusion")) {}

void Stil::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    // Fusion marks a menu bar title only while its menu is open (sunken). After Alt the bar has
    // the keyboard focus and a selected title but no open menu, so nothing would show where the
    // keyboard is.
    if (element == CE_MenuBarItem && (option->state & State_Selected) && widget && widget->hasFocus()) {
        if (const auto* eintrag = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            QStyleOptionMenuItem markiert(*eintrag);
            markiert.state |= State_Sunken;
            QProxyStyle::drawControl(element, &markiert, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
