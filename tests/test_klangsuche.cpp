// Where the player finds a sound when the program was started from another folder.
#include "sound/Klangsuche.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <unistd.h>

class TestKlangsuche : public QObject
{
    Q_OBJECT
    QTemporaryDir m_wurzel; // <wurzel>/bin is the program folder, <wurzel>/start the start folder

    void lege(const QString& relativ)
    {
        const QString pfad = m_wurzel.filePath(relativ);
        QDir().mkpath(QFileInfo(pfad).absolutePath());
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_wurzel.isValid());
        lege("start/00-c.wav");
        lege("bin/klaenge/00-c.wav");
        lege("bin/klaenge/01-cis.wav");
        lege("share/klavidor/klaenge/01-cis.wav");
        lege("share/klavidor/klaenge/02-d.wav");
        QDir().mkpath(m_wurzel.filePath("start/02-d.wav")); // a folder is no sound
    }

    void gefunden_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("im Startordner") << "00-c.wav" << "start/00-c.wav";
        QTest::newRow("gebaut vor installiert") << "01-cis.wav" << "bin/klaenge/01-cis.wav";
        QTest::newRow("nur installiert, Ordner gleichen Namens") << "02-d.wav" << "share/klavidor/klaenge/02-d.wav";
        QTest::newRow("nirgends") << "03-dis.wav" << "";
    }
    void gefunden()
    {
        QFETCH(QString, name);
        QFETCH(QString, erwartet);
        const QString gefunden = Klangdatei(m_wurzel.filePath("start/" + name), m_wurzel.filePath("bin"));
        QCOMPARE(QDir::cleanPath(gefunden), erwartet.isEmpty() ? QString() : m_wurzel.filePath(erwartet));
    }

    // This test's own folder holds no sounds: one line, once, however often it is asked.
    void keineKlaengeEineZeile()
    {
        QTemporaryFile protokoll;
        QVERIFY(protokoll.open());
        std::fflush(stderr);
        const int alt = dup(STDERR_FILENO);
        dup2(protokoll.handle(), STDERR_FILENO);
        const QString leer = m_wurzel.filePath("leer/00-c.wav");
        QVERIFY(findeKlang(leer).isEmpty());
        QVERIFY(findeKlang(leer).isEmpty());
        std::fflush(stderr);
        dup2(alt, STDERR_FILENO);
        close(alt);
        protokoll.seek(0);
        const QByteArray text = protokoll.readAll();
        QCOMPARE(text.count('\n'), 1);
        QVERIFY2(text.contains("keine Klänge"), text.constData());
    }
};

QTEST_GUILESS_MAIN(TestKlangsuche)
#include "test_klangsuche.moc"
