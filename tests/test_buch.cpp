// The help book and the two information windows: opening from the menu, turning pages, pointers,
// closing, the note staff of the note-lengths page and the banner link.
#include "widgets/Bilder.h"
#include "widgets/DickerWinRand.h"
#include "book/Buch.h"
#include "book/Infofenster.h"
#include "hilfen.h"
#include "web/Webadressen.h"

#include <QDesktopServices>
#include <QPointer>

namespace {

// Whether a widget shows the pointer drawn from the named picture.
bool zeigt(const QWidget* w, const char* bild)
{
    return w->cursor().pixmap().cacheKey() == bildCursor(bild).pixmap().cacheKey();
}

void klick(QWidget* w, Qt::MouseButton taste = Qt::LeftButton)
{
    QTest::mousePress(w, taste, {}, QPoint(10, 10));
    QTest::mouseRelease(w, taste, {}, QPoint(10, 10));
}

// Triggers a menu entry that opens a modal window and runs `tat` inside it while it is open;
// the window is closed afterwards if `tat` left it open, so a failed check cannot hang the test.
void imModalen(QAction* eintrag, const std::function<void(QDialog*)>& tat)
{
    QTimer::singleShot(0, qApp, [tat] {
        QPointer<QDialog> d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY2(d, "no modal window open");
        QVERIFY(QTest::qWaitForWindowActive(d));
        tat(d);
        if (d && d->isVisible())
            d->reject();
    });
    eintrag->trigger();
}

} // namespace

class TestBuch : public QObject
{
    Q_OBJECT

    Haupt haupt;
    Aufnahme ton;

    // A book on screen, so that mouse presses reach its pieces.
    std::unique_ptr<Buch> offenesBuch()
    {
        auto b = std::make_unique<Buch>(haupt, ton);
        b->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(b.get())); }();
        return b;
    }

private slots:
    void init()
    {
        haupt = Haupt{};
        haupt.Ton_Verzeichnis = "/klaenge/";
        ton.gespielt.clear();
    }

    // ---- The help book

    void oeffnetAufDoppelseiteEins()
    {
        Buch b(haupt, ton);
        QCOMPARE(b.Akt_Seite, 1);
        QCOMPARE(b.SeitenNummer->text(), QString("1"));
        QCOMPARE(b.Buchteil[9]->bild(), QString("buch14")); // flat: nothing to turn back to
        QCOMPARE(b.Buchteil[8]->bild(), QString("buch01")); // rolled
        QCOMPARE(ton.gespielt, QStringList{"/klaenge/Hallo.wav"});
        QVERIFY(hat_DickerRand(b));
        QVERIFY(!QApplication::overrideCursor());

        haupt.Ton_aus = true;
        Buch still(haupt, ton);
        QCOMPARE(ton.gespielt.size(), 1);
    }

    void rahmenIstEinStueck()
    {
        // Each edge, piece after tile after piece, follows on without gap or overlap, one template per edge.
        Buch b(haupt, ton);
        const auto& B = b.Buchteil;
        auto kante = [](std::initializer_list<Bild*> l) { return QList<Bild*>(l); };
        auto kacheln = [](const auto& a, int von, int bis) { return QList<Bild*>(a.begin() + von, a.begin() + bis); };
        const QList<std::tuple<QList<Bild*>, QPoint, int>> kanten{
            {kante({B[2], B[6]}) + kacheln(b.Image1, 0, 6) + kante({B[3], B[4]}) + kacheln(b.Image1, 6, 13) << B[5],
             {32, 0}, 6},
            {kante({B[9], B[12]}) + kacheln(b.Image3, 0, 6) + kante({B[10], B[11]}) + kacheln(b.Image3, 6, 13) << B[8],
             {32, 0}, 12},
            {kante({B[2], B[13]}) + kacheln(b.Image4, 0, 8) << B[9], {0, 32}, 13},
            {kante({B[3], B[16]}) + kacheln(b.Image5, 0, 8) << B[10], {0, 32}, 16},
            {kante({B[4], B[17]}) + kacheln(b.Image6, 0, 8) << B[11], {0, 32}, 17},
            {kante({B[5], B[7]}) + kacheln(b.Image2, 0, 8) << B[8], {0, 32}, 7},
        };
        for (const auto& [teile, schritt, vorlage] : kanten)
            for (int i = 1; i < teile.size(); ++i) {
                QCOMPARE(teile[i]->pos() - teile[i - 1]->pos(), schritt);
                if (teile[i]->objectName().startsWith("Image"))
                    QCOMPARE(teile[i]->bild(), B[vorlage]->bild());
            }
    }

    void blaetternBisZumEndeUndZurueck()
    {
        auto b = offenesBuch();
        QStringList seiten;
        for (int i = 0; i < 5; ++i) {
            klick(b->Buchteil[8]);
            seiten << b->SeitenNummer->text();
            if (b->Akt_Seite < 5)
                QCOMPARE(b->Buchteil[9]->bild() + b->Buchteil[8]->bild(), QString("buch00buch01"));
        }
        QCOMPARE(seiten, QStringList({"2", "3", "4", "5", "5"}));
        QCOMPARE(b->Buchteil[8]->bild(), QString("buch15")); // flat: no page to turn to
        QCOMPARE(b->Buchteil[9]->bild(), QString("buch00"));
        QCOMPARE(b->BuchZeilere->text(), QString("Schlusswort."));

        seiten.clear();
        for (int i = 0; i < 5; ++i) {
            klick(b->Buchteil[9]);
            seiten << b->SeitenNummer->text();
        }
        QCOMPARE(seiten, QStringList({"4", "3", "2", "1", "1"}));
        QCOMPARE(b->Buchteil[9]->bild(), QString("buch14"));
        // The first spread is written again, not left as it was; numbers outside the book change nothing.
        b->BuchTextLi->clear();
        klick(b->Buchteil[9]);
        QVERIFY(b->BuchTextLi->text().startsWith("Zuerst kann man"));
        b->Schreibe(0);
        b->Schreibe(6);
        QCOMPARE(b->SeitenNummer->text(), QString("1"));
    }

    void jedeMaustasteAberNurAnDenEcken_data()
    {
        QTest::addColumn<Qt::MouseButton>("taste");
        QTest::newRow("links") << Qt::LeftButton;
        QTest::newRow("rechts") << Qt::RightButton;
        QTest::newRow("Mitte") << Qt::MiddleButton;
    }
    void jedeMaustasteAberNurAnDenEcken()
    {
        QFETCH(Qt::MouseButton, taste);
        auto b = offenesBuch();
        klick(b->Buchteil[8], taste);
        klick(b->Buchteil[8], taste);
        klick(b->Buchteil[9], taste);
        QCOMPARE(b->Akt_Seite, 2);
        // Every other piece and tile, the open-hand binding pieces too, does nothing.
        for (int i : {2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 16, 17})
            klick(b->Buchteil[i], taste);
        klick(b->Image1[3], taste);
        klick(b->Image2[7], taste);
        QCOMPARE(b->SeitenNummer->text(), QString("2"));
    }

    void zeigerDerHand()
    {
        auto b = offenesBuch();
        QVERIFY(zeigt(b.get(), "greifhand0"));
        for (QWidget* w : std::initializer_list<QWidget*>{b->Buchteil[16], b->Buchteil[17], b->Verlassen})
            QVERIFY2(zeigt(w, "greifhand1"), qPrintable(w->objectName()));
        for (int ecke : {8, 9, 16}) {
            QVERIFY(zeigt(b->Buchteil[ecke], "greifhand1"));
            QTest::mousePress(b->Buchteil[ecke], Qt::LeftButton, {}, QPoint(5, 5));
            QVERIFY(zeigt(b->Buchteil[ecke], ecke == 16 ? "greifhand1" : "greifhand2"));
            QTest::mouseRelease(b->Buchteil[ecke], Qt::LeftButton, {}, QPoint(5, 5));
            QVERIFY(zeigt(b->Buchteil[ecke], "greifhand1"));
        }
    }

    void texteMitIhrenEigenheiten()
    {
        Buch b(haupt, ton);
        QVERIFY(b.BuchTextLi->text().endsWith("„Optionen“, „Anischt“, „bei Bass C-Linie ja/nein“ kann man das tun."));
        QVERIFY(b.BuchTextre->text().contains("ihren Namen ädert.\n\n\n\n\n\nUm zur nächsten Seite"));
        const std::array<const char*, 5> eigenart{"enfachen", "(außer im Lernmodus)", "mithlfe", "uner", "übern"};
        for (int s = 1; s <= 5; ++s) {
            b.Schreibe(s);
            QVERIFY2((b.BuchTextLi->text() + b.BuchTextre->text()).contains(eigenart[s - 1]), eigenart[s - 1]);
            for (QLabel* l : {b.BuchTextLi, b.BuchTextre}) // every page text fits its page
                QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(QString("Doppelseite %1").arg(s)));
        }
        QVERIFY(b.BuchTextLi->text().contains("www.klavidor.de"));
        QVERIFY(b.BuchTextLi->text().endsWith("\n\nIch wünsche viel Erfolg und Freude mit meinem Programm. Als "
                                              "Schlusswort nun nur noch ein paar Worte zu den Tonarten."));
    }

    void menueOeffnetJedesMalFrisch()
    {
        Fenster f;
        f.ton.gespielt.clear();
        QAction* hilfe = f.menue("mnu_HilfeBuch");
        QPointer<QDialog> erstes;
        imModalen(hilfe, [&](QDialog* d) {
            erstes = d;
            QCOMPARE(d->objectName(), QString("Buch"));
            QCOMPARE(d->windowModality(), Qt::ApplicationModal);
            QVERIFY(!QApplication::overrideCursor());
            auto* b = static_cast<Buch*>(d);
            for (int i = 0; i < 3; ++i)
                klick(b->Buchteil[8]);
            QCOMPARE(b->SeitenNummer->text(), QString("4"));
            QTest::keyClick(b, Qt::Key_Escape);
            QVERIFY(!b->isVisible());
            QVERIFY(QApplication::overrideCursor()); // busy until the opener lets go
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        });
        QVERIFY(erstes.isNull()); // unloaded once closed
        QVERIFY(!QApplication::overrideCursor());
        imModalen(hilfe, [&](QDialog* d) {
            QCOMPARE(static_cast<Buch*>(d)->SeitenNummer->text(), QString("1"));
            static_cast<Buch*>(d)->Verlassen->click();
        });
        QCOMPARE(f.ton.gespielt, QStringList({"/klaenge/Hallo.wav", "/klaenge/Hallo.wav"}));
        QVERIFY(!QApplication::overrideCursor());
    }

    // ---- The information windows

    void infofensterAusDemMenue_data()
    {
        QTest::addColumn<QString>("eintrag");
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<QString>("symbole");
        QTest::newRow("Pausen") << "mnu_Pausen" << "Pausenzeichen" << "pause";
        QTest::newRow("Längen") << "mnu_Längen" << "Notenlänge" << "note";
    }
    void infofensterAusDemMenue()
    {
        QFETCH(QString, eintrag);
        QFETCH(QString, fenster);
        QFETCH(QString, symbole);
        Fenster f;
        for (int mal = 0; mal < 2; ++mal) {
            QPointer<QDialog> offen;
            imModalen(f.menue(eintrag), [&](QDialog* d) {
                offen = d;
                QCOMPARE(d->objectName(), fenster);
                QCOMPARE(d->windowModality(), Qt::ApplicationModal);
                auto* w = static_cast<Infofenster*>(d);
                const std::array<Bild*, 5> bilder{w->Image3, w->Image4, w->Image5, w->Image6, w->Image7};
                const QStringList laengen{"ganz", "halb", "viertel", "achtel", "sechzehntel"};
                for (int i = 0; i < 5; ++i) {
                    QCOMPARE(bilder[i]->bild(), symbole + "_" + laengen[i]);
                    QVERIFY(i == 0 || bilder[i]->x() > bilder[i - 1]->x());
                }
                QVERIFY(zeigt(d, "greifhand2") && zeigt(w->Verlassen, "greifhand1") && zeigt(w->Image1, "haus"));
                QTest::keyClick(d, Qt::Key_Escape);
                QVERIFY(!d->isVisible());
            });
            QVERIFY(offen.isNull());
        }
        QVERIFY(!QApplication::overrideCursor());
    }

    void bannerUndTexte()
    {
        UrlFaenger faenger;
        Pausenzeichen p;
        Notenlaenge n;
        for (Infofenster* w : std::initializer_list<Infofenster*>{&p, &n}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QTest::mouseClick(w->Image1, Qt::LeftButton, {}, QPoint(20, 20));
            QVERIFY(w->isVisible());
            for (QLabel* l : w->findChildren<QLabel*>()) // every text fits its box
                QVERIFY2(!l->wordWrap() || l->heightForWidth(l->width()) <= l->height(), qPrintable(l->objectName()));
        }
        QCOMPARE(faenger.urls, QStringList({Web::Hauptseite, Web::Hauptseite}));
        QVERIFY(!QApplication::overrideCursor());

        QVERIFY(p.Label3[5]->text().endsWith("ein Pünkchen mehr - ähnlich den Fähnchen bei den Notenlängen."));
        QVERIFY(p.Label3[6]->text().contains("Es heißt: \"Kein Akkord\". Also, wo"));
        QCOMPARE(n.Label3[6]->text(),
                 QString("Die Namen der Noten gehen von C bis H. Von C bis C nennt man sie dann Oktav (8er)."));
        QCOMPARE(n.Label3[6]->palette().color(QPalette::WindowText), farbe(0xC000C0));
    }

    void notensystemDerLaengen()
    {
        Notenlaenge n;
        QString buchstaben;
        for (int k = 0; k < 15; ++k) {
            const Form* kopf = n.Shape4[k];
            QVERIFY(!kopf->gefuellt());
            QCOMPARE(kopf->size(), QSize(25, 17));
            if (k > 0) {
                QCOMPARE(kopf->y(), n.Shape4[k - 1]->y() - 8); // one note step higher
                QVERIFY(kopf->x() > n.Shape4[k - 1]->x());
            }
            // Its letter is the nearest one below it.
            const QLabel* unter = nullptr;
            for (const QLabel* l : n.Label2)
                if (kopf->geometry().contains(l->geometry().center().x(), kopf->y()) && l->y() > kopf->y() &&
                    (!unter || l->y() < unter->y()))
                    unter = l;
            QVERIFY2(unter, qPrintable(kopf->objectName()));
            buchstaben += unter->text();
            const quint32 farbeSoll = k < 2 ? 0x008000 : k < 9 ? 0x0000FF : 0xFF0000; // green, red, blue
            QCOMPARE(unter->palette().color(QPalette::WindowText), farbe(farbeSoll));
        }
        QCOMPARE(buchstaben, QString("ahcdefgahcdefga"));
        // The lowest a on the second ledger line below, middle c on the first, e on the lowest staff
        // line, the top a on the ledger line above.
        auto mitte = [](const QWidget* w) { return w->y() + w->height() / 2.0; };
        for (auto [k, linie] : {std::pair{0, 6}, {2, 11}, {4, 4}, {14, 8}})
            QVERIFY2(qAbs(mitte(n.Shape4[k]) - mitte(n.Line1[linie])) <= 1, qPrintable(n.Shape4[k]->objectName()));
    }
};

QTEST_MAIN(TestBuch)
#include "test_buch.moc"
