// The building blocks of every window: buttons, labels, pictures, shapes, lines and panels,
// placed in twips and coloured with 0x00BBGGRR numbers, exactly as the layout tables give them.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

// One conversion for positions: 15 twips make one logical pixel.
constexpr int tw(int twips) { return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15); }
inline QRect twRect(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
// One conversion for colours: 0x00BBGGRR as written in the tables.
inline QColor farbe(quint32 bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// A font given in points at 96 dots per inch, as pixels so it fits its twips box everywhere.
// "Arial" and "Times New Roman" resolve to the metric-compatible Liberation faces.
QFont schrift(const QString& familie, double punkte, bool fett = false, bool kursiv = false);

// Common look of a control: its name (Name or Name(i)) and its place in twips.
void platziere(QWidget* w, const QString& name, int left, int top, int width, int height);
// Makes `knopf` the window's cancel button: Esc presses it.
void alsAbbrechen(QWidget* fenster, QAbstractButton* knopf);

inline QString arrayName(const char* name, int i) { return QString("%1(%2)").arg(name).arg(i); }

class Knopf;
// One row of a button table: caption, place and size in twips, BackColor, tooltip.
struct KnopfZeile
{
    const char* caption;
    int left, top, width, height;
    quint32 farbe;
    const char* tooltip;
};
// A coloured button made from its table row, in bold Arial of the given size.
Knopf* neuerKnopf(QWidget* parent, const KnopfZeile& z, const QString& name, double punkte);
class Bild;
// A picture of the resources, placed and named for screen readers.
Bild* neuesBild(QWidget* parent, const char* name, const char* datei, int left, int top, int width, int height,
                const char* beschreibung);

// Push button. A "coloured" button shows its BackColor; a plain one shows the system button face
// and only stores the colour it is given.
class Knopf : public QPushButton
{
    Q_OBJECT
public:
    Knopf(QWidget* parent, bool farbig, quint32 backColor);
    quint32 backColor() const { return m_back; }
    void setBackColor(quint32 bgr);
    bool farbig() const { return m_farbig; }
    // Left in twips as last set, so shape tests on it are exact.
    int leftTw() const { return m_left; }
    void setzeTw(int left, int top, int width, int height);
    std::function<void()> beiBewegung; // mouse move over the button

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    // A coloured button paints its own face: the style would shade and lighten the colour.
    void paintEvent(QPaintEvent* e) override;

private:
    quint32 m_back;
    bool m_farbig;
    int m_left = 0;
};

// A fixed picture drawn from a resource, stretched to its box; rendered once per size and scale.
class Bild : public QWidget
{
    Q_OBJECT
public:
    explicit Bild(QWidget* parent, const QString& bild = {});
    const QString& bild() const { return m_bild; }
    void setBild(const QString& name);
    // Draw the picture at its own size at the top left instead of stretching it to the box.
    void setNatuerlicheGroesse(bool an) { m_natuerlich = an; }
    std::function<void()> beiBewegung;
    std::function<void()> beiKlick;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QString m_bild;
    bool m_natuerlich = false;
    bool m_gedrueckt = false;
};

// Text label; an empty back colour means transparent.
class Beschriftung : public QLabel
{
    Q_OBJECT
public:
    Beschriftung(QWidget* parent, const QString& text, const QFont& font, quint32 textFarbe,
                 std::optional<quint32> backColor = {});
};

// Filled rectangle or circle with a border (Shape).
class Form : public QWidget
{
    Q_OBJECT
public:
    Form(QWidget* parent, bool kreis, quint32 fill, quint32 border, int borderWidth = 1);
    quint32 fillColor() const { return m_fill; }
    quint32 borderColor() const { return m_border; }
    void setFillColor(quint32 bgr);
    void setBorderColor(quint32 bgr);
    // An unfilled shape shows only its outline (the note heads of the information pages).
    bool gefuellt() const { return m_gefuellt; }
    void setGefuellt(bool an);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_kreis;
    quint32 m_fill, m_border;
    int m_breite;
    bool m_gefuellt = true;
};

// Straight line of a given pixel width from (x1,y1) to (x2,y2) in twips (horizontal or vertical).
class Linie : public QWidget
{
    Q_OBJECT
public:
    Linie(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2, int breite,
          quint32 farbe = 0x000000);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_waagrecht;
    int m_breite;
    quint32 m_farbe;
};

// Panel that holds other controls, in a solid back colour.
class Feld : public QWidget
{
    Q_OBJECT
public:
    Feld(QWidget* parent, quint32 backColor);
};
