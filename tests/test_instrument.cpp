// A MIDI keyboard plays the real main window: a JACK source of the test's own, on a jackd with the
// dummy driver, sends notes, velocities and the pedal; the window shows, names, sounds and judges
// them as clicks. Also: sources that come and go, and a server that dies under a held key.
#include "hilfen.h"

#include "../bench/midiquelle.h"
#include "input/MidiEingang.h"

#include <QActionGroup>
#include <QMessageBox>
#include <QTemporaryDir>

namespace {

constexpr std::uint8_t An = 0x90, Aus = 0x80, Regler = 0xB0;
constexpr int Mittleres_C = 60; // key 12

QStringList eintraege(QMenu* m)
{
    QStringList t;
    for (QAction* a : m->actions())
        t << a->text() + (a->isChecked() ? "*" : "") + (a->isEnabled() ? "" : "-");
    return t;
}

} // namespace

class TestInstrument : public QObject
{
    Q_OBJECT
    QTemporaryDir m_einstellungen;
    std::unique_ptr<JackServer> m_jack;
    std::unique_ptr<Fenster> m_f;
    std::unique_ptr<Testquelle> m_quelle;

    Keyboard* kb() const { return m_f->kb; }
    void spiele(std::vector<std::uint8_t> bytes) { m_quelle->sende(std::move(bytes)); }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_einstellungen.path().toUtf8());
        m_jack = std::make_unique<JackServer>();
    }

    void ohneMidiSystemUnveraendert()
    {
        // No ALSA sequencer here and no JACK server yet: one disabled entry, nothing else.
        Fenster f;
        f.kb->starteEingaenge(KLAVIDOR_MIDI_MODUL);
        QTest::qWait(1500);
        QCOMPARE(eintraege(el<QMenu>(f.kb, "mnu_MIDIEingang")), QStringList{"Kein MIDI-System gefunden-"});
        QVERIFY(el<Knopf>(f.kb, "TheKey", 12)->isEnabled());
    }

    void quelleNachDemStartGefunden()
    {
        QVERIFY(m_jack->starten());
        m_f = std::make_unique<Fenster>();
        kb()->starteEingaenge(KLAVIDOR_MIDI_MODUL);
        m_quelle = std::make_unique<Testquelle>("Klavier-Test");
        QVERIFY(m_quelle->da());
        QTRY_VERIFY_WITH_TIMEOUT(m_quelle->verbindungen() > 0, 3000);
        QTRY_VERIFY(eintraege(el<QMenu>(kb(), "mnu_MIDIEingang")).size() == 3);
        const QStringList menue = eintraege(el<QMenu>(kb(), "mnu_MIDIEingang"));
        QCOMPARE(menue.first(), QString("Alle Eingänge*"));
        QVERIFY2(menue[1].contains("Klavier-Test"), qPrintable(menue.join(", ")));
        QCOMPARE(menue.last(), QString("Kein MIDI-Eingang"));
        // Rebuilding the menu, as each change of the sources does, leaves one group of entries.
        for (int i = 0; i < 1000; ++i)
            emit kb()->midiEingang()->quellenGeaendert();
        QCOMPARE(el<QMenu>(kb(), "mnu_MIDIEingang")->findChildren<QActionGroup*>().size(), 1);
    }

    void betrachtenZeigtNenntUndKlingtGehalten()
    {
        auto& ton = m_f->ton;
        spiele({An, Mittleres_C, 127});
        QTRY_VERIFY(el<Knopf>(kb(), "TheKey", 12)->isDown());
        QCOMPARE(text(kb(), "NotenNamenTextFeld"), QString("Note: C"));
        QCOMPARE(ton.gehalten.size(), 1);
        QCOMPARE(ton.gehalten[0].first, QString("/klaenge/12-c.wav"));
        QCOMPARE(ton.gehalten[0].second, 1.0);
        QVERIFY(ton.gespielt.isEmpty()); // no click sound on top
        spiele({Aus, Mittleres_C, 0});
        QTRY_VERIFY(!el<Knopf>(kb(), "TheKey", 12)->isDown());
        QCOMPARE(ton.geloest, QList<int>{1});

        // A chord sounds whole; the staff shows the last note. Velocity 64 is soft; velocity 0 ends a note.
        spiele({An, 60, 64, An, 64, 64, An, 67, 64});
        QTRY_COMPARE(ton.gehalten.size(), 4);
        QCOMPARE(text(kb(), "NotenNamenTextFeld"), QString("Note: G"));
        QVERIFY(std::abs(ton.gehalten[3].second - std::pow(64 / 127.0, 1.5)) < 1e-9);
        QVERIFY(el<Knopf>(kb(), "TheKey", 12)->isDown() && el<Knopf>(kb(), "TheKey", 16)->isDown() && el<Knopf>(kb(), "TheKey", 19)->isDown());
        spiele({An, 60, 0, Aus, 64, 0, Aus, 67, 0});
        QTRY_COMPARE(ton.geloest.size(), 4);

        // The pedal holds a released note on until it rises.
        spiele({Regler, 64, 127, An, 62, 100, Aus, 62, 0});
        QTRY_VERIFY(ton.gehalten.size() == 5 && !el<Knopf>(kb(), "TheKey", 14)->isDown());
        QCOMPARE(ton.geloest.size(), 4);
        spiele({Regler, 64, 0});
        QTRY_COMPARE(ton.geloest.size(), 5);

        // Outside the 40 keys: a hint for a while, nothing drawn or played.
        spiele({An, 40, 100, Aus, 40, 0, An, 100, 90});
        QTRY_COMPARE(text(kb(), "TextFeld2"), QString("Die Note liegt außerhalb der 40 Tasten."));
        QCOMPARE(ton.gehalten.size(), 5);
        QTRY_VERIFY_WITH_TIMEOUT(text(kb(), "TextFeld2") != "Die Note liegt außerhalb der 40 Tasten.", 3000);

        // Channel 10 (drums) is not a keyboard; a key the signature leaves out is not pressed.
        loese(kb(), "mnu_EinzelneTonarten(1)"); // D-dur: no f, no c, no dis
        spiele({An | 9, 62, 100, An, 65, 100, An, 63, 100, An, 64, 100});
        QTRY_COMPARE(text(kb(), "NotenNamenTextFeld"), QString("Note: E"));
        QCOMPARE(ton.gehalten.size(), 6);
        spiele({Regler, 123, 0}); // all notes off
        QTRY_VERIFY(!el<Knopf>(kb(), "TheKey", 16)->isDown());
        loese(kb(), "mnu_EinzelneTonarten(14)");

        // The MIDI thread starts the voice itself: a window busy meanwhile does not hold it back.
        const int vorher = ton.geraeteStimmen;
        spiele({An, 62, 100});
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the window's thread, busy
        QCOMPARE(ton.geraeteStimmen.load(), vorher + 1);
        spiele({Aus, 62, 0});
        QTRY_COMPARE(ton.geloest.last(), vorher + 1);
    }

    void lernenUrteiltWieEinKlick()
    {
        auto& ton = m_f->ton;
        auto& h = m_f->haupt;
        loese(kb(), "mnu_Lernen_einschalten");
        klicke(kb(), "LernTasten", 1);
        const int richtig = h.Lernnote_Taste;
        spiele({An, std::uint8_t(48 + richtig), 90, Aus, std::uint8_t(48 + richtig), 0});
        QTRY_VERIFY(el<Bild>(kb(), "RichtigWort")->isVisible());
        QVERIFY(ton.gehalten.last().first.startsWith(QString("/klaenge/%1").arg(richtig, 2, 10, QChar('0'))));

        // The pedal asks for the next note, as the quick key does; a wrong answer is judged.
        const int gespielt = ton.gespielt.size();
        spiele({Regler, 64, 127, Regler, 64, 0});
        QTRY_COMPARE(ton.gespielt.size(), gespielt + 1); // the drawn note sounds
        QVERIFY(!h.Beantwortet);
        const int falsch = h.Lernnote_Taste == 12 ? 14 : 12;
        spiele({An, std::uint8_t(48 + falsch), 90, Aus, std::uint8_t(48 + falsch), 0});
        QTRY_VERIFY(el<Bild>(kb(), "FehlerWort")->isVisible());
        QCOMPARE(text(kb(), "NotenNamenTextFeld"), QString("Falsche Note!"));

        // The automatic next note: 1.5 s after an answer, a new draw of the same range.
        el<QAction>(kb(), "mnu_NaechsteNote")->trigger();
        klicke(kb(), "LernTasten", 1);
        spiele({An, std::uint8_t(48 + h.Lernnote_Taste), 90, Aus, std::uint8_t(48 + h.Lernnote_Taste), 0});
        QTRY_VERIFY(h.Beantwortet);
        QTest::qWait(1000);
        QVERIFY(h.Beantwortet);
        QTRY_VERIFY_WITH_TIMEOUT(!h.Beantwortet, 1500);
        el<QAction>(kb(), "mnu_NaechsteNote")->trigger();

        // A black key brings the message box; notes while it is open are ignored; Enter closes it.
        // (Watched from a timer: the box runs its own event loop, under which nothing may wait.)
        bool offen = false;
        QTimer wache;
        connect(&wache, &QTimer::timeout, this, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || offen)
                return;
            offen = true;
            spiele({An, 60, 90, Aus, 60, 0});
            QTimer::singleShot(300, box, [box] { QTest::keyClick(box, Qt::Key_Return); });
        });
        wache.start(20);
        const int vorher = ton.gehalten.size();
        spiele({An, 61, 90, Aus, 61, 0});
        QTRY_VERIFY(offen);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(ton.gehalten.size(), vorher + 1); // the black key sounded, the note during the box did not
        loese(kb(), "mnu_Lernen_abschalten");
    }

    // With the pedal down: the key rises and its sound ends, the pedal going with its keyboard.
    void quelleVerschwindetUnterGehaltenerTaste()
    {
        auto& ton = m_f->ton;
        spiele({Regler, 64, 127, An, 72, 100});
        QTRY_VERIFY(el<Knopf>(kb(), "TheKey", 24)->isDown());
        const int stimme = ton.gehalten.size();
        m_quelle->schliessen();
        QTRY_VERIFY_WITH_TIMEOUT(!el<Knopf>(kb(), "TheKey", 24)->isDown(), 3000);
        QTRY_VERIFY(ton.geloest.contains(stimme));
        QTRY_COMPARE_WITH_TIMEOUT(eintraege(el<QMenu>(kb(), "mnu_MIDIEingang")).size(), 2, 3000);
    }

    void gemerkteQuelleBleibtGewaehlt()
    {
        m_quelle = std::make_unique<Testquelle>("Klavier-Zwei");
        QTRY_VERIFY_WITH_TIMEOUT(eintraege(el<QMenu>(kb(), "mnu_MIDIEingang")).size() == 3, 3000);
        el<QMenu>(kb(), "mnu_MIDIEingang")->actions()[1]->trigger();
        const QString name = el<QMenu>(kb(), "mnu_MIDIEingang")->actions()[1]->text();
        m_quelle->schliessen();
        // A new window (the next start) keeps the choice though the source is gone.
        m_f = std::make_unique<Fenster>();
        kb()->starteEingaenge(KLAVIDOR_MIDI_MODUL);
        QTRY_VERIFY_WITH_TIMEOUT(eintraege(el<QMenu>(kb(), "mnu_MIDIEingang")).contains(name + "*"), 3000);
        // It is taken when it comes back.
        m_quelle = std::make_unique<Testquelle>("Klavier-Zwei");
        QTRY_VERIFY_WITH_TIMEOUT(m_quelle->verbindungen() > 0, 3000);
        spiele({An, 64, 100});
        QTRY_VERIFY(el<Knopf>(kb(), "TheKey", 16)->isDown());
    }

    void serverStirbtUnterGehaltenerTaste()
    {
        m_jack->toeten();
        m_quelle->vergessen();
        QTRY_VERIFY_WITH_TIMEOUT(!el<Knopf>(kb(), "TheKey", 16)->isDown(), 4000);
        QTRY_COMPARE_WITH_TIMEOUT(eintraege(el<QMenu>(kb(), "mnu_MIDIEingang")), QStringList{"Kein MIDI-System gefunden-"}, 4000);
        klicke(kb(), "TheKey", 12); // and the window still works
        QCOMPARE(text(kb(), "NotenNamenTextFeld"), QString("Note: C"));
    }

    void cleanupTestCase()
    {
        m_f.reset();
        m_quelle.reset();
        m_jack.reset();
    }
};

QTEST_MAIN(TestInstrument)
#include "test_instrument.moc"
