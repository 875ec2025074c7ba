// Pictures, pointers and fonts of the program, all built in as resources.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Registers the built-in fonts and the widget style once per process: Start = the style only,
// StartSchrift = also the fonts of the start screen (it asks for them when it first paints, so
// its window maps without waiting for them), Alle = everything the other windows need.
enum class Umfang { Start, StartSchrift, Alle };
void Ressourcen_laden(Umfang umfang = Umfang::Alle);

// The picture ":/bilder/<name>.svg" at a logical size and device pixel ratio; rendered once.
QPixmap bildPixmap(const QString& name, QSize groesse, qreal dpr);

// The picture's own size in pixels.
QSize bildGroesse(const QString& name);

// A mouse pointer drawn from ":/bilder/<name>.svg" (32 x 32, hotspot written in the file).
QCursor bildCursor(const QString& name);

// The hand that every button of the program shows.
QCursor handCursor();

QIcon bildIcon(const QString& name);

// The application's icon, from the PNGs made at build time.
QIcon programmIcon();

// The application-wide pointer: busy (hourglass) or back to the default pointer.
void Zeiger_beschaeftigt();
void Zeiger_normal();
