#include "app/Bilder.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QStyleFactory>
#include <QSvgRenderer>

void Ressourcen_laden()
{
    static bool geladen = false;
    if (geladen)
        return;
    geladen = true;
    for (const char* datei : {"LiberationSans-Regular", "LiberationSans-Bold", "LiberationSans-Italic",
                              "LiberationSerif-Regular", "LiberationSerif-Bold", "LiberationSerif-Italic",
                              "LiberationSerif-BoldItalic", "NotoMusic-Regular"})
        QFontDatabase::addApplicationFont(QString(":/schriften/%1.ttf").arg(datei));
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Arial Black", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // Fusion draws buttons in their palette colour, so coloured buttons show their colour.
        app->setStyle(QStyleFactory::create("Fusion"));
        app->setFont(QFont("Liberation Sans", 9));
    }
}

QPixmap bildPixmap(const QString& name, QSize groesse, qreal dpr)
{
    static QHash<QString, QPixmap> cache;
    const QString key = QString("%1|%2x%3|%4").arg(name).arg(groesse.width()).arg(groesse.height()).arg(dpr);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QPixmap pm(groesse * dpr);
    pm.fill(Qt::transparent);
    QSvgRenderer svg(QString(":/bilder/%1.svg").arg(name));
    if (svg.isValid()) {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p);
    }
    pm.setDevicePixelRatio(dpr);
    cache.insert(key, pm);
    return pm;
}

QSize bildGroesse(const QString& name)
{
    static QHash<QString, QSize> cache;
    auto it = cache.constFind(name);
    if (it == cache.constEnd())
        it = cache.insert(name, QSvgRenderer(QString(":/bilder/%1.svg").arg(name)).defaultSize());
    return *it;
}

QCursor bildCursor(const QString& name)
{
    static QHash<QString, QCursor> cache;
    auto it = cache.constFind(name);
    if (it != cache.constEnd())
        return *it;
    QFile f(QString(":/bilder/%1.svg").arg(name));
    f.open(QIODevice::ReadOnly);
    const auto m = QRegularExpression(R"(hotspot\s+(\d+)\s+(\d+))").match(QString::fromUtf8(f.read(4096)));
    const int hx = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int hy = m.hasMatch() ? m.captured(2).toInt() : 0;
    const qreal dpr = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
    QCursor c(bildPixmap(name, QSize(32, 32), dpr), hx, hy);
    cache.insert(name, c);
    return c;
}

QCursor handCursor() { return bildCursor("hand"); }

QIcon bildIcon(const QString& name)
{
    QIcon icon;
    for (int s : {16, 32, 48, 64})
        icon.addPixmap(bildPixmap(name, QSize(s, s), 1.0));
    return icon;
}

void Zeiger_beschaeftigt()
{
    Zeiger_normal();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void Zeiger_normal()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
