#include "widgets/Bildablage.h"

#include "widgets/Steuerelemente.h"

Bildablage::Bildablage(QWidget* besitzer, const QString& name, const std::vector<std::pair<QString, QString>>& bilder)
    : QWidget(besitzer, Qt::Window) // a window of its own that is never shown
{
    setObjectName(name);
    for (const auto& [control, bild] : bilder) {
        auto* b = new Bild(this, bild);
        b->setObjectName(control);
    }
}

QString Bildablage::bild(const QString& control) const
{
    const auto* b = findChild<Bild*>(control);
    return b ? b->bild() : QString();
}
