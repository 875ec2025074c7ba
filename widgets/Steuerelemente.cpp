#include "widgets/Steuerelemente.h"

#include "widgets/Bilder.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>

QFont schrift(const QString& familie, double punkte, bool fett, bool kursiv)
{
    QFont f(familie);
    f.setPixelSize(qRound(punkte * 96.0 / 72.0));
    f.setBold(fett);
    f.setItalic(kursiv);
    if (familie == "Arial Black")
        f.setWeight(QFont::Black);
    return f;
}

void platziere(QWidget* w, const QString& name, int left, int top, int width, int height)
{
    w->setObjectName(name);
    w->setGeometry(twRect(left, top, width, height));
}

void alsAbbrechen(QWidget* fenster, QAbstractButton* knopf)
{
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), fenster);
    QObject::connect(esc, &QShortcut::activated, knopf, &QAbstractButton::click);
}

Bild* neuesBild(QWidget* parent, const char* name, const char* datei, int left, int top, int width, int height,
                const char* beschreibung)
{
    auto* b = new Bild(parent, datei);
    platziere(b, name, left, top, width, height);
    b->setAccessibleName(beschreibung);
    return b;
}

Knopf* neuerKnopf(QWidget* parent, const KnopfZeile& z, const QString& name, double punkte)
{
    auto* t = new Knopf(parent, true, z.farbe);
    t->setText(z.caption);
    t->setzeTw(z.left, z.top, z.width, z.height);
    t->setObjectName(name);
    t->setToolTip(z.tooltip);
    t->setFont(schrift("Arial", punkte, true));
    return t;
}

// ---- Knopf

namespace {
constexpr int Gedrueckt_Schatten = 3; // pixels of shadow on a pressed coloured button
}

Knopf::Knopf(QWidget* parent, bool farbig, quint32 backColor)
    : QPushButton(parent), m_back(backColor), m_farbig(farbig)
{
    setCursor(handCursor());
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_NoMousePropagation);
    setMouseTracking(true);
    setBackColor(backColor);
}

void Knopf::setBackColor(quint32 bgr)
{
    m_back = bgr;
    if (!m_farbig)
        return;
    QPalette p = palette();
    for (auto gruppe : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(gruppe, QPalette::Button, farbe(bgr));
    // Keep the caption readable on dark colours.
    const QColor text = farbe(bgr).lightness() < 110 ? Qt::white : Qt::black;
    p.setColor(QPalette::Active, QPalette::ButtonText, text);
    p.setColor(QPalette::Inactive, QPalette::ButtonText, text);
    setPalette(p);
}

void Knopf::setzeTw(int left, int top, int width, int height)
{
    m_left = left;
    setGeometry(twRect(left, top, width, height));
}

void Knopf::paintEvent(QPaintEvent* e)
{
    if (!m_farbig) {
        QPushButton::paintEvent(e);
        return;
    }
    // A flat face in exactly the button's colour, a thin darker edge, and a pressed look that
    // shades only the edge and moves the caption, so the face keeps its colour.
    QPainter p(this);
    const QColor face = farbe(m_back);
    const QRect r = rect();
    p.fillRect(r, face);
    p.setPen(face.darker(isDown() ? 220 : 160));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (isDown()) {
        // A pressed button lies deeper: a shadow inside its upper and left edges.
        for (int i = 1; i <= Gedrueckt_Schatten; ++i) {
            p.setPen(face.darker(100 + 15 * (Gedrueckt_Schatten + 1 - i)));
            p.drawLine(r.left() + i, r.top() + i, r.right() - 1, r.top() + i);
            p.drawLine(r.left() + i, r.top() + i, r.left() + i, r.bottom() - 1);
        }
    }
    const int versatz = isDown() ? 1 : 0;
    const QRect text = r.adjusted(2 + versatz, 2 + versatz, -2 + versatz, -2 + versatz);
    style()->drawItemText(&p, text, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextWordWrap, palette(),
                          isEnabled(), QPushButton::text(), QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect fokus;
        fokus.initFrom(this);
        fokus.rect = r.adjusted(3, 3, -3, -3);
        fokus.backgroundColor = face;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fokus, &p, this);
    }
}

void Knopf::mouseMoveEvent(QMouseEvent* e)
{
    QPushButton::mouseMoveEvent(e);
    if (beiBewegung)
        beiBewegung();
}

// ---- Bild

Bild::Bild(QWidget* parent, const QString& bild) : QWidget(parent), m_bild(bild)
{
    setAttribute(Qt::WA_NoMousePropagation);
}

void Bild::setBild(const QString& name)
{
    if (name == m_bild)
        return;
    m_bild = name;
    update();
}

void Bild::paintEvent(QPaintEvent*)
{
    if (m_bild.isEmpty())
        return;
    QPainter p(this);
    const QSize groesse = m_natuerlich ? bildGroesse(m_bild) : size();
    p.drawPixmap(0, 0, bildPixmap(m_bild, groesse, devicePixelRatioF()));
}

void Bild::mouseMoveEvent(QMouseEvent*)
{
    if (beiBewegung)
        beiBewegung();
}

void Bild::mousePressEvent(QMouseEvent* e) { m_gedrueckt = e->button() == Qt::LeftButton; }

void Bild::mouseReleaseEvent(QMouseEvent* e)
{
    // A click is a press and release of the left button over the picture.
    const bool klick = m_gedrueckt && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_gedrueckt = false;
    if (klick && beiKlick)
        beiKlick();
}

// ---- Beschriftung

Beschriftung::Beschriftung(QWidget* parent, const QString& text, const QFont& font, quint32 textFarbe,
                           std::optional<quint32> backColor)
    : QLabel(text, parent)
{
    setFont(font);
    setAttribute(Qt::WA_NoMousePropagation);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, farbe(textFarbe));
    if (backColor) {
        p.setColor(QPalette::Window, farbe(*backColor));
        setAutoFillBackground(true);
    }
    setPalette(p);
}

// ---- Form

Form::Form(QWidget* parent, bool kreis, quint32 fill, quint32 border, int borderWidth)
    : QWidget(parent), m_kreis(kreis), m_fill(fill), m_border(border), m_breite(borderWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Form::setFillColor(quint32 bgr)
{
    if (bgr != m_fill) {
        m_fill = bgr;
        update();
    }
}

void Form::setBorderColor(quint32 bgr)
{
    if (bgr != m_border) {
        m_border = bgr;
        update();
    }
}

void Form::setGefuellt(bool an)
{
    if (an != m_gefuellt) {
        m_gefuellt = an;
        update();
    }
}

void Form::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, m_kreis);
    // The border lies inside the box, as an "inside solid" border does.
    const qreal h = m_breite / 2.0;
    const QRectF r = QRectF(rect()).adjusted(h, h, -h, -h);
    p.setPen(QPen(farbe(m_border), m_breite));
    if (m_gefuellt)
        p.setBrush(farbe(m_fill));
    if (m_kreis)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}

// ---- Linie

Linie::Linie(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2, int breite, quint32 farbe_)
    : QWidget(parent), m_waagrecht(y1 == y2), m_breite(breite), m_farbe(farbe_)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The widget is the line's bounding box, the line centred on its twips coordinate.
    if (m_waagrecht)
        setGeometry(tw(std::min(x1, x2)), tw(y1) - breite / 2, tw(std::abs(x2 - x1)), breite);
    else
        setGeometry(tw(x1) - breite / 2, tw(std::min(y1, y2)), breite, tw(std::abs(y2 - y1)));
}

void Linie::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), farbe(m_farbe));
}

// ---- Feld

Feld::Feld(QWidget* parent, quint32 backColor) : QWidget(parent)
{
    setAttribute(Qt::WA_NoMousePropagation);
    QPalette p = palette();
    p.setColor(QPalette::Window, farbe(backColor));
    setPalette(p);
    setAutoFillBackground(true);
}
