// The two information lines of the main window: the long one under the keyboard says what a
// command did, the short one at the top right gives hints about what the mouse is over.
#pragma once

#include <QObject>
#include <QString>

class Beschriftung;
class QWidget;

class Infozeilen : public QObject
{
public:
    explicit Infozeilen(QWidget* flaeche);
    void info(const QString& text);    // TextFeld
    void hinweis(const QString& text); // TextFeld2
    // The hint line says `text` for a while, then shows again what it showed before, unless
    // something else has been written there meanwhile.
    void hinweisFuer(const QString& text, int ms);

private:
    Beschriftung* TextFeld;
    Beschriftung* TextFeld2;
};
