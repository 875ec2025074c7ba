// Renders the scalable application icon into the PNG sizes that icon themes want.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: iconbild ICON.svg OUTPUT_DIR [SIZE...]\n");
        return 2;
    }
    QSvgRenderer svg{QString::fromLocal8Bit(argv[1])};
    if (!svg.isValid())
        return 1;
    for (int i = 3; i < argc; ++i) {
        const int s = std::atoi(argv[i]);
        QImage bild(s, s, QImage::Format_ARGB32_Premultiplied);
        bild.fill(Qt::transparent);
        QPainter p(&bild);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p);
        p.end();
        if (!bild.save(QString("%1/klavidor-%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(s)))
            return 1;
    }
    return 0;
}
