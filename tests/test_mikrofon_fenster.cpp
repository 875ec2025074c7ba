// An acoustic piano plays the real main window through the microphone: a private PulseAudio server
// with a null sink and, as the default source, a remapped source of its monitor; the program's own
// key sounds are played into the sink while the window listens. Both modes, a click that makes the
// microphone deaf, the source going away while listening, and a machine with only a monitor.
#include "hilfen.h"

#include "input/Mikrofon.h"
#include "input/Mikrofonpruefung.h"
#include "tests/pulseserver.h"
#include "kern/Notenmodell.h"
#include "views/Befehlstabelle.h"

#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString Hoert_zu = "Das Mikrofon hört zu.";
// A key sound's length, and the room's ring after it.
constexpr int Taub_ms = int((Aufnahme::Klanglaenge + Mikrofon::Nachhall).count());

bool laeuft(const QString& programm, const QStringList& argumente)
{
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// What the staff and the name field show: the note pictures, the ledger lines, the name.
QStringList notenbild(Keyboard* kb)
{
    QStringList b;
    for (QWidget* n : {el<Bild>(kb, "Note1"), el<Bild>(kb, "Note2"), el<Bild>(kb, "Note3")})
        b << (n->isHidden() ? QString("-") : QString::number(n->y()));
    QString linien;
    for (QWidget* l : alle<Linie>(kb, "NotenLinie"))
        linien += l->isHidden() ? '-' : 'L';
    for (QWidget* l : alle<Linie>(kb, "NotenLinie2"))
        linien += l->isHidden() ? '-' : 'U';
    return b << linien << text(kb, "NotenNamenTextFeld");
}

} // namespace

class TestMikrofonFenster : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    PulseServer m_pulse{m_dir.filePath("pulse")};
    QString m_remapModul;
    std::unique_ptr<Fenster> m_f;
    QMap<int, QStringList> m_bild; // the staff after a click of key k
    QElapsedTimer m_uhr;

    Keyboard* kb() const { return m_f->kb; }
    Haupt& h() const { return m_f->haupt; }
    QString aufnahme(int k);
    void spiele(int k);
    void warte_bis_nicht_mehr_taub(qint64 klick_ms);
    void neuesFenster();
    void mikrofonAn();

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void betrachtenZeigtUndNenntOhneEigenenTon();
    void einKlangMachtTaub_data();
    void einKlangMachtTaub();
    void lernenUrteiltNachDerGespieltenNote();
    void vergleichsknopfKlingtUndNaechsteNoteKommtVonSelbst();
    void getrenntWennDieQuelleVerschwindet();
    void nurMonitorIstKeinMikrofon();
    void gemerktFuerDenNaechstenStart();
    void ausserhalbDerTastenEinHinweis();
    void pruefenHoertOhneDenEintrag();
};

void TestMikrofonFenster::initTestCase()
{
    m_uhr.start();
    QVERIFY(m_dir.isValid());
    qputenv("XDG_CONFIG_HOME", m_dir.filePath("einstellungen").toUtf8());
    KLAVIDOR_OHNE_PULSEAUDIO_UEBERSPRINGEN();
    QVERIFY2(!QStandardPaths::findExecutable("sox").isEmpty() && !QStandardPaths::findExecutable("paplay").isEmpty(),
             "sox and paplay are needed");
    QVERIFY2(m_pulse.starte(), "PulseAudio did not start");
    m_remapModul = PulseServer::ladeMikrofon();
    QVERIFY(!m_remapModul.isEmpty());
    qputenv("SDL_AUDIODRIVER", "pulseaudio");
    neuesFenster();
}

// Each test leaves the window in viewing mode, without the automatic next note.
void TestMikrofonFenster::cleanup()
{
    if (h().Lern_Modus)
        loese(kb(), "mnu_Lernen_abschalten");
    if (el<QAction>(kb(), "mnu_NaechsteNote")->isChecked())
        el<QAction>(kb(), "mnu_NaechsteNote")->trigger();
}

void TestMikrofonFenster::cleanupTestCase()
{
    m_f.reset();
    m_pulse.stoppe();
    qInfo("%.1f s in all", m_uhr.elapsed() / 1000.0);
}

// Key k's own sound, mono, after 0.3 s of silence, cut to 0.7 s: made on first use.
QString TestMikrofonFenster::aufnahme(int k)
{
    const QString ziel = m_dir.filePath(QString("taste%1.wav").arg(k));
    if (QFile::exists(ziel))
        return ziel;
    const QStringList klang =
        QDir(KLAVIDOR_KLAENGE_DIR).entryList({QString("%1-*.wav").arg(k, 2, 10, QChar('0'))}, QDir::Files);
    if (klang.size() != 1)
        return {};
    laeuft("sox", {QDir(KLAVIDOR_KLAENGE_DIR).filePath(klang[0]), "-c", "1", ziel, "silence", "1", "1", "0.2%", "trim",
                   "0", "0.7", "fade", "0", "0.7", "0.1", "gain", "-n", "-3", "pad", "0.3", "0"});
    return ziel;
}

// Plays key k's sound into the sink and waits (the window running) until it has been played.
void TestMikrofonFenster::spiele(int k)
{
    const QString datei = aufnahme(k);
    QVERIFY2(QFile::exists(datei), qPrintable(QString("no recording of key %1").arg(k)));
    QProcess p;
    p.start("paplay", {"-d", "klavidor_null", datei});
    QVERIFY(p.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, 5000);
    QCOMPARE(p.exitCode(), 0);
    QTest::qWait(150); // the capture's last blocks and the decision
}

void TestMikrofonFenster::warte_bis_nicht_mehr_taub(qint64 klick_ms)
{
    const qint64 rest = klick_ms + Taub_ms + 100 - m_uhr.elapsed();
    if (rest > 0)
        QTest::qWait(int(rest));
}

void TestMikrofonFenster::neuesFenster()
{
    m_f.reset();
    m_f = std::make_unique<Fenster>();
    // No MIDI module: this test is about the microphone alone.
    kb()->starteEingaenge(m_dir.filePath("kein_midi.so"), KLAVIDOR_MIKRO_MODUL);
}

void TestMikrofonFenster::mikrofonAn()
{
    QVERIFY(el<QAction>(kb(), "mnu_Mikrofon")->isEnabled());
    QVERIFY(!el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    QTest::keyClick(kb(), Qt::Key_F9);
    QVERIFY(el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(text(kb(), "TextFeld2"), Hoert_zu, 5000);
    QVERIFY(el<Form>(kb(), "Pegelbalken")->isVisible());
}

// A played note shows and names its key exactly as a click of it; the program sounds nothing of
// its own; the level bar follows the note.
void TestMikrofonFenster::betrachtenZeigtUndNenntOhneEigenenTon()
{
    // The clicks, before the microphone is on.
    for (int k : {12, 26, 0}) {
        klicke(kb(), "TheKey", k);
        m_bild[k] = notenbild(kb());
    }
    QCOMPARE(m_f->ton.gespielt.size(), 3);
    QVERIFY(m_bild[12] != m_bild[0] && m_bild[26] != m_bild[12]);
    m_f->ton.gespielt.clear();
    QTRY_VERIFY_WITH_TIMEOUT(!m_f->ton.klingt(), Taub_ms); // or the microphone would not listen yet

    mikrofonAn();
    int breitest = 0;
    QTimer messer;
    connect(&messer, &QTimer::timeout, this, [&] { breitest = std::max(breitest, el<Form>(kb(), "Pegelbalken")->width()); });
    messer.start(10);

    spiele(12);
    QTRY_COMPARE_WITH_TIMEOUT(notenbild(kb()), m_bild[12], 2000);
    spiele(26);
    QTRY_COMPARE_WITH_TIMEOUT(notenbild(kb()), m_bild[26], 2000);
    QCOMPARE(m_f->ton.gespielt, QStringList{});
    QCOMPARE(m_f->ton.gehalten.size(), 0);

    const int voll = twips(120, 450, 2895, 45).width();
    QVERIFY2(breitest > voll / 2, qPrintable(QString("the level bar reached %1 of %2 pixels").arg(breitest).arg(voll)));
    QTRY_VERIFY_WITH_TIMEOUT(el<Form>(kb(), "Pegelbalken")->width() < voll / 10, 2000); // silence again
    QCOMPARE(text(kb(), "TextFeld2"), Hoert_zu);
}

// A click sounds as always, and so does the help book's greeting; the microphone would hear
// them, so a note starting while they play is not taken. One after it is.
void TestMikrofonFenster::einKlangMachtTaub_data()
{
    QTest::addColumn<QString>("klang");
    QTest::addColumn<int>("taste"); // played into the room: not shown before, so its taking shows
    QTest::newRow("Klick") << "/klaenge/00-c.wav" << 26;
    QTest::newRow("Hilfebuch") << "/klaenge/Hallo.wav" << 12;
}

void TestMikrofonFenster::einKlangMachtTaub()
{
    QFETCH(QString, klang);
    QFETCH(int, taste);
    m_f->ton.gespielt.clear();
    if (klang.endsWith("Hallo.wav")) {
        // The book is modal: closed as soon as its own event loop runs.
        QTimer::singleShot(0, this, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "Buch" && w->isVisible())
                    w->close();
        });
        el<QAction>(kb(), "mnu_HilfeBuch")->trigger();
        kb()->activateWindow(); // the closed book leaves no active window behind offscreen
        QVERIFY(QTest::qWaitForWindowActive(kb()));
    } else {
        klicke(kb(), "TheKey", 0);
    }
    const qint64 klick = m_uhr.elapsed();
    QCOMPARE(m_f->ton.gespielt, QStringList{klang});
    const QStringList vorher = notenbild(kb());
    QVERIFY(vorher != m_bild[taste]);
    spiele(taste);
    QCOMPARE(notenbild(kb()), vorher);
    QVERIFY2(m_uhr.elapsed() - klick < Taub_ms, "the note came too late to test the deaf time");
    warte_bis_nicht_mehr_taub(klick);
    spiele(taste);
    QTRY_COMPARE_WITH_TIMEOUT(notenbild(kb()), m_bild[taste], 2000);
    QCOMPARE(m_f->ton.gespielt.size(), 1);
}

// The played note is the answer; the drawn note is not sounded.
void TestMikrofonFenster::lernenUrteiltNachDerGespieltenNote()
{
    auto& ton = m_f->ton;
    loese(kb(), "mnu_Lernen_einschalten");
    klicke(kb(), "LernTasten", 1);
    QVERIFY(!h().Beantwortet);
    const int richtig = h().Lernnote_Taste;
    spiele(richtig);
    QTRY_VERIFY_WITH_TIMEOUT(el<Bild>(kb(), "RichtigWort")->isVisible(), 2000);
    QCOMPARE(h().Antwort_Taste, std::optional<int>(richtig));
    QCOMPARE(text(kb(), "NotenNamenTextFeld"), "Note: " + h().Lernnote_Name);

    klicke(kb(), "LernTaste"); // the next note
    QVERIFY(!h().Beantwortet);
    const int falsch = h().Lernnote_Taste == 12 ? 14 : 12;
    spiele(falsch);
    QTRY_VERIFY_WITH_TIMEOUT(el<Bild>(kb(), "FehlerWort")->isVisible(), 2000);
    QVERIFY(!el<Bild>(kb(), "RichtigWort")->isVisible());
    QCOMPARE(h().Antwort_Taste, std::optional<int>(falsch));
    QCOMPARE(text(kb(), "NotenNamenTextFeld"), QString("Falsche Note!"));
    QCOMPARE(text(kb(), "TextFeld2"), QString("NICHT RICHTIG!"));
    QCOMPARE(ton.gespielt.size(), 1); // only the sound of the test before: no drawn note, no answer
}

// After a wrong answer the comparison button sounds the right note, and the microphone is deaf
// while it plays. With "Nächste Note automatisch" a heard answer brings the next note 1.5 s later.
void TestMikrofonFenster::vergleichsknopfKlingtUndNaechsteNoteKommtVonSelbst()
{
    auto& ton = m_f->ton;
    ton.gespielt.clear();
    loese(kb(), "mnu_Lernen_einschalten");
    klicke(kb(), "LernTasten", 2);
    spiele(h().Lernnote_Taste == 12 ? 14 : 12);
    QTRY_VERIFY_WITH_TIMEOUT(el<Knopf>(kb(), "Funktion", Befehl::ZeigRichtige)->isVisible(), 2000);
    klicke(kb(), "Funktion", Befehl::ZeigRichtige);
    const qint64 klick = m_uhr.elapsed();
    QCOMPARE(ton.gespielt, QStringList{m_f->haupt.Ton_Verzeichnis + Noten::Klangname(h().Lernnote_Taste) + ".wav"});

    el<QAction>(kb(), "mnu_NaechsteNote")->trigger();
    QVERIFY(el<QAction>(kb(), "mnu_NaechsteNote")->isChecked());
    klicke(kb(), "LernTaste");
    const int richtig = h().Lernnote_Taste;
    spiele(richtig); // while the comparison sound plays: not heard as an answer
    QVERIFY(!h().Beantwortet);
    QVERIFY2(m_uhr.elapsed() - klick < Taub_ms, "the note came too late to test the deaf time");

    warte_bis_nicht_mehr_taub(klick);
    // When the answer is judged and when the next note is drawn, watched while the note plays.
    qint64 beantwortet = -1, gezogen = -1;
    QTimer wache;
    connect(&wache, &QTimer::timeout, this, [&] {
        if (beantwortet < 0 && h().Beantwortet)
            beantwortet = m_uhr.elapsed();
        if (beantwortet >= 0 && gezogen < 0 && !h().Beantwortet)
            gezogen = m_uhr.elapsed();
    });
    wache.start(5);
    spiele(richtig);
    QTRY_VERIFY_WITH_TIMEOUT(beantwortet >= 0, 2000);
    QVERIFY(el<Bild>(kb(), "RichtigWort")->isVisible() || gezogen >= 0);
    QTRY_VERIFY_WITH_TIMEOUT(gezogen >= 0, 3000);
    const qint64 ms = gezogen - beantwortet;
    QVERIFY2(ms > 1300 && ms < 1700, qPrintable(QString("the next note came after %1 ms").arg(ms)));
    QVERIFY(!el<Bild>(kb(), "RichtigWort")->isVisible());
    QCOMPARE(ton.gespielt.size(), 1); // the note drawn by itself is not sounded either

    // And is answered from the piano as well.
    el<QAction>(kb(), "mnu_NaechsteNote")->trigger();
    spiele(h().Lernnote_Taste);
    QTRY_VERIFY_WITH_TIMEOUT(el<Bild>(kb(), "RichtigWort")->isVisible(), 2000);
}

// The source unloaded while listening: the stream moves to the monitor; the entry switches off.
void TestMikrofonFenster::getrenntWennDieQuelleVerschwindet()
{
    QVERIFY(el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    const QStringList vorher = notenbild(kb());
    QVERIFY(PulseServer::pactlGelingt({"unload-module", m_remapModul}));
    QTRY_VERIFY_WITH_TIMEOUT(!el<QAction>(kb(), "mnu_Mikrofon")->isChecked(), 3000);
    QCOMPARE(text(kb(), "TextFeld2"), QString("Das Mikrofon wurde getrennt."));
    QVERIFY(!el<Form>(kb(), "Pegelbalken")->isVisible());
    QVERIFY(!kb()->mikrofon()->an());
    spiele(vorher == m_bild[26] ? 12 : 26);
    QCOMPARE(notenbild(kb()), vorher);
    klicke(kb(), "TheKey", 12); // the window goes on as before
    QCOMPARE(notenbild(kb()), m_bild[12]);
}

// What a machine without a microphone offers: the monitor of its output as the default source.
void TestMikrofonFenster::nurMonitorIstKeinMikrofon()
{
    QVERIFY(PulseServer::pactlGelingt({"set-default-source", "klavidor_null.monitor"}));
    QStringList hinweise;
    QObject wache;
    connect(kb()->mikrofon(), &Mikrofon::hoertZu, &wache, [&] { hinweise << "hört zu"; });
    QTest::keyClick(kb(), Qt::Key_F9);
    QVERIFY(el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(!el<QAction>(kb(), "mnu_Mikrofon")->isChecked(), 5000);
    QCOMPARE(text(kb(), "TextFeld2"), QString("Kein Mikrofon gefunden."));
    QVERIFY(!el<Form>(kb(), "Pegelbalken")->isVisible());
    QCOMPARE(hinweise, QStringList{});
    spiele(26);
    QCOMPARE(notenbild(kb()), m_bild[12]);

    // With a microphone again, the same entry works.
    m_remapModul = PulseServer::ladeMikrofon();
    QVERIFY(!m_remapModul.isEmpty());
    mikrofonAn();
    spiele(26);
    QTRY_COMPARE_WITH_TIMEOUT(notenbild(kb()), m_bild[26], 2000);
}

// Switched off by hand, the next start leaves it off; switched on, the next start listens at once.
void TestMikrofonFenster::gemerktFuerDenNaechstenStart()
{
    QTest::keyClick(kb(), Qt::Key_F9);
    QVERIFY(!el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    QVERIFY(!el<Form>(kb(), "Pegelbalken")->isVisible());
    neuesFenster();
    QTest::qWait(500);
    QVERIFY(!el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    QVERIFY(!kb()->mikrofon()->an());

    mikrofonAn();
    neuesFenster();
    QVERIFY(el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(text(kb(), "TextFeld2"), Hoert_zu, 5000);
    spiele(12);
    QTRY_COMPARE_WITH_TIMEOUT(notenbild(kb()), m_bild[12], 2000);
}

// A note above the keys shows the same hint as one from a MIDI keyboard.
void TestMikrofonFenster::ausserhalbDerTastenEinHinweis()
{
    if (!el<QAction>(kb(), "mnu_Mikrofon")->isChecked())
        mikrofonAn();
    const QString hoch = m_dir.filePath("hoch.wav"); // MIDI 90, plucked
    QVERIFY(laeuft("sox", {"-n", "-r", "44100", "-c", "1", hoch, "synth", "1", "pluck", "1479.98", "pad", "0.3", "0",
                           "gain", "-n", "-3"}));
    const QStringList vorher = notenbild(kb());
    QVERIFY(laeuft("paplay", {"-d", "klavidor_null", hoch}));
    QTRY_COMPARE_WITH_TIMEOUT(text(kb(), "TextFeld2"), QString("Die Note liegt außerhalb der 40 Tasten."), 2000);
    QCOMPARE(notenbild(kb()), vorher);
}

// "Mikrofon prüfen …" listens with the entry off: it measures the quiet, then names a played key
// with its cents, presses no key behind it, remembers the quiet, and closes with Esc.
void TestMikrofonFenster::pruefenHoertOhneDenEintrag()
{
    QTest::keyClick(kb(), Qt::Key_F9);
    QVERIFY(!el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    auto* pruefen = kb()->findChild<QAction*>("mnu_MikrofonPruefen");
    QVERIFY(pruefen && pruefen->isEnabled());
    QCOMPARE(pruefen->text(), QString("Mikrofon prüfen …"));
    auto* optionen = qobject_cast<QMenu*>(el<QAction>(kb(), "mnu_Mikrofon")->parent());
    QVERIFY(optionen);
    QCOMPARE(optionen->actions().indexOf(pruefen), optionen->actions().indexOf(el<QAction>(kb(), "mnu_Mikrofon")) + 1);
    const QStringList vorher = notenbild(kb());

    bool gesehen = false;
    QTimer::singleShot(0, this, [&] {
        auto* f = qobject_cast<Mikrofonpruefung*>(QApplication::activeModalWidget());
        QVERIFY(f);
        [&] {
            QTRY_COMPARE_WITH_TIMEOUT(f->Hinweis->text(), QString("Bitte einen Moment Ruhe …"), 5000);
            QTRY_COMPARE_WITH_TIMEOUT(f->Hinweis->text(), QString("Bitte ein paar Tasten spielen."), 3000);
            QCOMPARE(f->Schwelle->text(), QString("Ruhe: -60 dB. Eine Note muss über -50 dB kommen."));
            spiele(26);
            QTRY_COMPARE_WITH_TIMEOUT(f->Gehoert->count(), 1, 2000);
            const auto zeile = QRegularExpression("^d''   ([+-]\\d+) Cent$").match(f->Gehoert->item(0)->text());
            QVERIFY2(zeile.hasMatch(), qPrintable(f->Gehoert->item(0)->text()));
            QVERIFY(std::abs(zeile.captured(1).toInt()) <= 40);
            QCOMPARE(notenbild(kb()), vorher);
            gesehen = true;
        }();
        QTest::keyClick(f, Qt::Key_Escape);
    });
    pruefen->trigger();
    QVERIFY(gesehen);
    QVERIFY(!el<QAction>(kb(), "mnu_Mikrofon")->isChecked());
    QVERIFY(!kb()->mikrofon()->hoert());
    QCOMPARE(QSettings("Klavidor", "Klavidor").value("Mikrofon/Ruhe").toDouble(), -60.0);
}

QTEST_MAIN(TestMikrofonFenster)
#include "test_mikrofon_fenster.moc"
