// Pictures, pointers and fonts of the program, all built in as resources.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Registers the built-in fonts and the widget style once per process.
void Ressourcen_laden();

// The picture ":/bilder/<name>.svg" at a logical size and device pixel ratio; rendered once.
QPixmap bildPixmap(const QString& name, QSize groesse, qreal dpr);

// The picture's own size in pixels.
QSize bildGroesse(const QString& name);

// A mouse pointer drawn from ":/bilder/<name>.svg" (32 x 32, hotspot written in the file).
QCursor bildCursor(const QString& name);

// The hand that every button of the program shows.
QCursor handCursor();

QIcon bildIcon(const QString& name);

// The application-wide pointer: busy (hourglass) or back to the default pointer.
void Zeiger_beschaeftigt();
void Zeiger_normal();
