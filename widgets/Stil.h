// The program's look: Qt's Fusion style, which draws buttons in their palette colour, with the
// menu bar's title under the keyboard marked as Fusion marks it under the mouse.
#pragma once

#include <QProxyStyle>

class Stil : public QProxyStyle
{
public:
    Stil();
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
