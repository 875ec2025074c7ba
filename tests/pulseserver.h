// A PulseAudio server of a test's own, in a folder of its own, with a null sink "klavidor_null"
// (48 kHz, mono, so a 44.1 kHz capture is converted on the way) as the default sink, and on demand
// a real source "mikro" that hears what is played into it. libpulse in the test and in the
// programs it starts finds the server through the environment. Stopped when the object goes.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// Where PipeWire serves sound, the pulseaudio daemon is not installed and the test cannot run.
#define KLAVIDOR_OHNE_PULSEAUDIO_UEBERSPRINGEN()                                                            \
    if (!PulseServer::vorhanden())                                                                         \
    QSKIP("no pulseaudio daemon here (where PipeWire serves sound it is not installed)")

class PulseServer
{
public:
    explicit PulseServer(const QString& ordner) : m_ordner(ordner) {}
    ~PulseServer() { stoppe(); }

    static bool vorhanden() { return !QStandardPaths::findExecutable("pulseaudio").isEmpty(); }

    // Starts the server unless it runs; true once it answers.
    bool starte()
    {
        if (m_server.state() == QProcess::Running)
            return true;
        QDir().mkpath(m_ordner);
        QFile::setPermissions(m_ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        schreibe("client.conf", "autospawn = no\n");
        schreibe("test.pa", QString("load-module module-null-sink sink_name=klavidor_null rate=48000 channels=1\n"
                                    "load-module module-native-protocol-unix auth-anonymous=1 socket=%1/native\n"
                                    "set-default-sink klavidor_null\n")
                                .arg(m_ordner));
        const QString d = m_ordner;
        for (const QString& e : {"PULSE_SERVER=unix:" + d + "/native", "PULSE_RUNTIME_PATH=" + d, "PULSE_STATE_PATH=" + d,
                                 "PULSE_CLIENTCONFIG=" + d + "/client.conf", "PULSE_COOKIE=" + d + "/cookie",
                                 "XDG_RUNTIME_DIR=" + d, "HOME=" + d})
            qputenv(e.section('=', 0, 0).toUtf8(), e.section('=', 1).toUtf8());
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setEnvironment(QProcess::systemEnvironment());
        // As root it runs in user mode all the same; it says so on stderr, which goes to the log.
        m_server.start("pulseaudio", {"-n", "-F", d + "/test.pa", "--daemonize=no", "--system=false", "--use-pid-file=no",
                                      "--exit-idle-time=-1", "--disallow-exit", "--log-target=file:" + d + "/log"});
        if (!m_server.waitForStarted(5000))
            return false;
        for (int i = 0; i < 50; ++i) {
            if (pactlGelingt({"info"}))
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    // Ends the server at once, as a crash would (SIGKILL): no goodbye to its clients.
    void toete()
    {
        m_server.kill();
        m_server.waitForFinished(5000);
    }

    void stoppe()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    // Loads the source "mikro" (a remap of the null sink's monitor, so not a monitor itself) and
    // makes it the default; returns the module's index, empty if that failed.
    static QString ladeMikrofon()
    {
        const QString modul = pactl({"load-module", "module-remap-source", "master=klavidor_null.monitor", "source_name=mikro"});
        return !modul.isEmpty() && pactlGelingt({"set-default-source", "mikro"}) ? modul : QString();
    }

    // What pactl prints, trimmed (a loaded module's index, for one).
    static QString pactl(const QStringList& argumente)
    {
        QProcess p;
        p.start("pactl", argumente);
        p.waitForFinished(10000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

    static bool pactlGelingt(const QStringList& argumente)
    {
        QProcess p;
        p.start("pactl", argumente);
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

private:
    void schreibe(const QString& name, const QString& inhalt)
    {
        QFile f(m_ordner + "/" + name);
        if (f.open(QIODevice::WriteOnly))
            f.write(inhalt.toUtf8());
    }

    QString m_ordner;
    QProcess m_server;
};
