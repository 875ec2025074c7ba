// A hidden window that only holds pictures for other windows to copy.
#pragma once

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

class Bildablage : public QWidget
{
    Q_OBJECT
public:
    // `bilder`: (control name, picture) pairs.
    Bildablage(QWidget* besitzer, const QString& name, const std::vector<std::pair<QString, QString>>& bilder);
    // The stored picture of a control of the store; empty if there is none.
    QString bild(const QString& control) const;
};
