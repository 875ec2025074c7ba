#include "widgets/Bilder.h"

#include "widgets/Stil.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QResource>
#include <QScreen>
#include <QSvgRenderer>

static void schriftenLaden(std::initializer_list<const char*> dateien)
{
    for (const char* datei : dateien) {
        // Stored uncompressed, so the font is used in place instead of copied.
        const QResource r(QString(":/schriften/%1.ttf").arg(datei));
        if (r.compressionAlgorithm() == QResource::NoCompression)
            QFontDatabase::addApplicationFontFromData(
                QByteArray::fromRawData(reinterpret_cast<const char*>(r.data()), r.size()));
        else
            QFontDatabase::addApplicationFont(r.fileName());
    }
}

void Ressourcen_laden(Umfang umfang)
{
    static bool start = false, schrift = false, alle = false;
    if (!start) {
        start = true;
        QFont::insertSubstitution("Arial", "Liberation Sans");
        QFont::insertSubstitution("Arial Black", "Liberation Sans");
        QFont::insertSubstitution("Times New Roman", "Liberation Serif");
        if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
            // Fusion draws buttons in their palette colour, so coloured buttons show their colour.
            app->setStyle(new Stil);
            app->setFont(QFont("Liberation Sans", 9));
        }
    }
    if (umfang != Umfang::Start && !schrift) {
        schrift = true;
        // The start screen writes only in bold; every font registered costs start-up time.
        schriftenLaden({"LiberationSans-Bold", "LiberationSerif-Bold"});
    }
    if (umfang == Umfang::Alle && !alle) {
        alle = true;
        schriftenLaden({"LiberationSans-Regular", "LiberationSerif-Regular", "LiberationSerif-Italic",
                        "NotoMusic-Regular"});
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

QIcon programmIcon()
{
    QIcon icon;
    for (int s : {16, 32, 48, 64})
        icon.addFile(QString(":/icons/klavidor-%1.png").arg(s), QSize(s, s));
    return icon;
}

QIcon bildIcon(const QString& name)
{
    // Qt's SVG icon engine renders each size when it is first asked for.
    return QIcon(QString(":/bilder/%1.svg").arg(name));
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
