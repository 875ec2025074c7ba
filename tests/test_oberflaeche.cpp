// What a person sees and reaches: every control that takes clicks takes them over its whole face,
// and coloured buttons show their colours as they are, in every colour set.
#include "hilfen.h"

#include <QAbstractButton>

namespace {

// Where the layout itself lays one control over another, the upper one takes the click there.
bool erlaubteUeberdeckung(const QString& unten, const QString& oben)
{
    const auto taste = [](const QString& n) { return n.startsWith("TheKey("); };
    // Black keys lie over the upper ends of their white neighbours, as on a piano.
    return taste(unten) && taste(oben);
}

// Points a person would click: the centre and 3 px inside each corner.
QList<QPoint> klickpunkte(const QWidget* w)
{
    const QRect r = w->rect();
    return {r.center(), {3, 3}, {r.width() - 4, 3}, {3, r.height() - 4}, {r.width() - 4, r.height() - 4}};
}

void pruefeFlaeche(const QColor& ist, quint32 soll, const QString& wo)
{
    const QColor s = farbe(soll);
    const int abweichung = std::max({std::abs(ist.red() - s.red()), std::abs(ist.green() - s.green()),
                                     std::abs(ist.blue() - s.blue())});
    QVERIFY2(abweichung <= 3, qPrintable(QString("%1: %2 instead of %3").arg(wo, ist.name(), s.name())));
}

// Samples the face of a button away from its caption and its edge.
void pruefeKnopf(Knopf* k, quint32 soll)
{
    const QImage bild = k->grab().toImage();
    const int w = bild.width(), h = bild.height();
    for (const QPoint p : {QPoint(2, 2), QPoint(w - 3, 2), QPoint(2, h - 3), QPoint(w - 3, h - 3), QPoint(w / 2, h - 3)}) {
        pruefeFlaeche(bild.pixelColor(p), soll, QString("%1 at %2,%3").arg(k->objectName()).arg(p.x()).arg(p.y()));
        if (QTest::currentTestFailed())
            QFAIL("the face differs from the button's colour");
    }
}

} // namespace

class TestOberflaeche : public QObject
{
    Q_OBJECT
private slots:
    void klickErreichtJedesSteuerelement_data()
    {
        QTest::addColumn<int>("zustand");
        QTest::newRow("Betrachten") << 0;
        QTest::newRow("Lernen, Schnelltaste als Balken") << 1;
        QTest::newRow("Lernen, Schnelltaste als Block") << 2;
    }
    void klickErreichtJedesSteuerelement()
    {
        QFETCH(int, zustand);
        Fenster f;
        if (zustand > 0) {
            f.menue("mnu_Lernen_einschalten")->trigger();
            klicke(f.kb, "LernTasten(0)"); // brings the quick key
            // "B" gives the block shape from the start place, then the bar.
            for (int i = 0; i < (zustand == 2 ? 1 : 2); ++i)
                klicke(f.kb, "Command1");
            QCOMPARE(el<Knopf>(f.kb, "LernTaste")->leftTw(), zustand == 1 ? 120 : 4680);
        }
        QWidget* flaeche = f.kb->centralWidget();
        int geprueft = 0;
        for (auto* k : flaeche->findChildren<QAbstractButton*>()) {
            if (!k->isVisibleTo(f.kb) || !k->isEnabled())
                continue;
            // While the white cover is shown, the accidental buttons lie hidden under it.
            if (k->objectName().startsWith("Funktion1(") && el<Feld>(f.kb, "AbdeckFeld")->isVisible())
                continue;
            ++geprueft;
            for (const QPoint p : klickpunkte(k)) {
                QWidget* ziel = flaeche->childAt(k->mapTo(flaeche, p));
                while (ziel && ziel->parentWidget() != flaeche && ziel != k)
                    ziel = ziel->parentWidget();
                if (ziel == k || (ziel && erlaubteUeberdeckung(k->objectName(), ziel->objectName())))
                    continue;
                QFAIL(qPrintable(QString("%1 at %2,%3 is covered by %4")
                                     .arg(k->objectName()).arg(p.x()).arg(p.y())
                                     .arg(ziel ? ziel->objectName() : QString("nothing"))));
            }
        }
        QVERIFY(geprueft >= 40);
        QCOMPARE(el<Knopf>(f.kb, "LernTaste")->isVisible(), zustand > 0);
        if (zustand == 2) {
            // The whole block-shaped quick key draws a note, its left edge too.
            f.ton.gespielt.clear();
            const QPoint ecke = el<Knopf>(f.kb, "LernTaste")->mapTo(flaeche, QPoint(3, 3));
            QWidget* ziel = flaeche->childAt(ecke);
            QTest::mouseClick(ziel, Qt::LeftButton, {}, ziel->mapFrom(flaeche, ecke));
            QVERIFY(!f.ton.gespielt.isEmpty());
        }
    }

    void stapelordnung()
    {
        // Lower before upper, where the layout lays controls over one another.
        Fenster f;
        const QObjectList kinder = f.kb->centralWidget()->children();
        const auto platz = [&](const char* name) { return kinder.indexOf(el(f.kb, name)); };
        const QList<std::pair<const char*, const char*>> paare{
            {"Shape1", "T_Markierung(0)"},  {"Shape1", "TheKey(0)"},          {"Farbe(0)", "TheKey(0)"},
            {"TheKey(0)", "TheKey(1)"},     {"TheKey(38)", "TheKey(37)"},     {"NotenLinie(1)", "Note1"},
            {"NotenLinieBass(0)", "Note3"}, {"Funktion1(0)", "AbdeckFeld"},   {"Picture5(0)", "AbdeckFeld"},
            {"AbdeckFeld", "LernTaste"},    {"aufLinie_Taste(0)", "LernTaste"},
        };
        for (const auto& [unten, oben] : paare)
            QVERIFY2(platz(unten) >= 0 && platz(unten) < platz(oben), qPrintable(QString("%1 under %2").arg(unten, oben)));
    }

    void farbigeKnoepfeZeigenIhreFarbe_data()
    {
        QTest::addColumn<int>("satz");
        QTest::addColumn<quint32>("weiss");
        QTest::addColumn<quint32>("weissAus");
        QTest::newRow("Tastenfarbwahl 1") << 0 << 0xD5ECF2u << 0xFFCEC2u;
        QTest::newRow("Tastenfarbwahl 2") << 1 << 0xFFFFFFu << 0xD5ECF2u;
        QTest::newRow("Tastenfarbwahl 3") << 2 << 0x000000u << 0x404040u;
        QTest::newRow("Tastenfarbwahl 4") << 3 << 0xFF0000u << 0x70543Du;
    }
    void farbigeKnoepfeZeigenIhreFarbe()
    {
        QFETCH(int, satz);
        QFETCH(quint32, weiss);
        QFETCH(quint32, weissAus);
        Fenster f;
        f.menue(arrayName("mnu_Farbwahl", satz))->trigger();
        auto weisseTasten = [&] {
            QList<Knopf*> t;
            for (auto* k : alle<Knopf>(f.kb, "TheKey"))
                if (k->farbig())
                    t << k;
            return t;
        };
        QCOMPARE(weisseTasten().size(), 23);
        for (auto* k : weisseTasten())
            pruefeKnopf(k, weiss);
        // Every other coloured button of the window shows its own colour too.
        for (auto* k : f.kb->centralWidget()->findChildren<Knopf*>())
            if (k->farbig() && k->isVisibleTo(f.kb))
                pruefeKnopf(k, k->backColor());

        // D major leaves the c and f keys out: they show the set's colour for disabled keys.
        f.menue("mnu_EinzelneTonarten(1)")->trigger();
        int aus = 0;
        for (auto* k : weisseTasten()) {
            pruefeKnopf(k, k->isEnabled() ? weiss : weissAus);
            aus += !k->isEnabled();
        }
        QCOMPARE(aus, 7);
    }
};

QTEST_MAIN(TestOberflaeche)
#include "test_oberflaeche.moc"
