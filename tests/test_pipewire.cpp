// The player's native PipeWire output against a real PipeWire server with WirePlumber, started
// around this program by bench/pipewire.sh: what the null sink played holds each sound sample for
// sample at the graph's rate, and the stream pauses while the program's sound is off.
#include "kern/Notenmodell.h"
#include "sound/SdlTonausgabe.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <cstring>
#include <pulse/simple.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <thread>
#include <vector>

namespace {

constexpr int Hoerbar = 100; // -50 dB of full scale
constexpr int Fragment = 1024; // so the recording does not ask the graph for a smaller quantum

QString klang(int k) { return QStringLiteral(KLAVIDOR_KLAENGE_DIR "/") + Noten::Klangname(k) + ".wav"; }

// Records the left channel of the null sink's monitor while it lives.
class Mitschnitt
{
public:
    explicit Mitschnitt(int rate)
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(rate), 2};
        const pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1), Fragment * 4};
        m_quelle = pa_simple_new(nullptr, "test_pipewire", PA_STREAM_RECORD, "klavidor_null.monitor", "Mitschnitt",
                                 &format, nullptr, &attr, nullptr);
        if (m_quelle)
            m_faden = std::thread([this] { nimmAuf(); });
    }
    ~Mitschnitt() { halte(); }
    bool laeuft() const { return m_quelle != nullptr; }
    std::vector<int16_t> halte()
    {
        m_halt = true;
        if (m_faden.joinable())
            m_faden.join();
        if (m_quelle)
            pa_simple_free(m_quelle);
        m_quelle = nullptr;
        return m_links;
    }

private:
    void nimmAuf()
    {
        std::vector<int16_t> puffer(Fragment * 2);
        while (!m_halt && pa_simple_read(m_quelle, puffer.data(), puffer.size() * sizeof(int16_t), nullptr) >= 0)
            for (int i = 0; i < Fragment; ++i)
                m_links.push_back(puffer[2 * i]);
    }
    pa_simple* m_quelle = nullptr;
    std::thread m_faden;
    std::atomic<bool> m_halt{false};
    std::vector<int16_t> m_links;
};

// The state PipeWire reports for the player's node ("running", "idle", ...).
QString knotenZustand()
{
    QProcess dump;
    dump.start(qEnvironmentVariable("PIPEWIRE_BIN") + "/pw-dump", {});
    dump.waitForFinished(5000);
    for (const QJsonValue& o : QJsonDocument::fromJson(dump.readAllStandardOutput()).array()) {
        const QJsonObject info = o.toObject()["info"].toObject();
        if (info["props"].toObject()["node.name"].toString() == "Klavidor")
            return info["state"].toString();
    }
    return "none";
}

// The server behind a socket, as the kernel names it: 0 if none answers.
pid_t serverProzess(const QByteArray& pfad)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    std::strncpy(adresse.sun_path, pfad.constData(), sizeof adresse.sun_path - 1);
    ucred wer{};
    socklen_t n = sizeof wer;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) == 0
                    && getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &wer, &n) == 0;
    close(fd);
    return ok ? wer.pid : 0;
}

} // namespace

class TestPipewire : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("PIPEWIRE_BIN"))
            QFAIL("no PipeWire server: run through bench/pipewire.sh (it fetches PipeWire's packages)");
        m_ton = std::make_unique<SdlTonausgabe>();
        QCOMPARE(m_ton->treiber(), QByteArray("pipewire"));
        QCOMPARE(m_ton->rate(), 48000); // the graph's default rate, not the files' 44.1 kHz
    }

    void klingtSampleGenau_data()
    {
        QTest::addColumn<bool>("gehalten");
        QTest::addColumn<int>("taste");
        QTest::newRow("held voice") << true << 21;
        QTest::newRow("click") << false << 12;
    }

    void klingtSampleGenau()
    {
        QFETCH(bool, gehalten);
        QFETCH(int, taste);
        Mitschnitt mitschnitt(m_ton->rate());
        QVERIFY(mitschnitt.laeuft());
        QTest::qWait(300);
        const int stimme = gehalten ? m_ton->halteStimme(klang(taste), 1.0) : 0;
        if (!gehalten)
            m_ton->spiele(klang(taste));
        QTest::qWait(500);
        m_ton->loeseStimme(stimme);
        m_ton->spiele(klang(99)); // no such file: only cuts the click
        QTest::qWait(200);
        const std::vector<int16_t> gehoert = mitschnitt.halte();

        // The file as the player resampled it, in the 16 bits the stream carries.
        const Mischer::Klang datei = m_ton->lade(klang(taste));
        QVERIFY(datei);
        // Brought from the file's 44.1 kHz (mono, 16 bits, behind a 44-byte header) to the graph's.
        const double dateiFrames = double(QFileInfo(klang(taste)).size() - 44) / 2;
        QVERIFY(std::abs(double(datei->size() / Mischer::Kanaele) - dateiFrames * m_ton->rate() / Mischer::Rate) <= 2);
        std::vector<int16_t> soll;
        for (size_t i = 0; i < datei->size(); i += Mischer::Kanaele)
            soll.push_back(int16_t(std::lrint(std::clamp((*datei)[i] * 32768.0f, -32768.0f, 32767.0f))));
        const auto laut = [](int16_t s) { return std::abs(s) > Hoerbar; };
        const auto anfang = std::find_if(gehoert.begin(), gehoert.end(), laut);
        const auto sollAnfang = std::find_if(soll.begin(), soll.end(), laut);
        QVERIFY2(anfang != gehoert.end(), "nothing was heard");
        // A cycle the loaded machine missed puts silence in between and plays on later: the
        // samples must still all come, unchanged and in order.
        const size_t n = size_t(m_ton->rate()) * 4 / 10; // before the release or the cut
        size_t i = 0, j = 0, luecken = 0;
        for (; i < n && anfang + j < gehoert.end() && sollAnfang + i < soll.end(); ++i, ++j) {
            if (anfang[j] == sollAnfang[i])
                continue;
            const size_t still = size_t(std::find_if(anfang + j, gehoert.end(), [](int16_t s) { return s != 0; }) - (anfang + j));
            ++luecken;
            QVERIFY2(still > 0,
                     qPrintable(QString("sample %1 is %2, the file has %3").arg(i).arg(anfang[j]).arg(sollAnfang[i])));
            j += still - 1;
            --i;
        }
        QCOMPARE(i, n);
        if (luecken)
            qInfo("%zu missed cycles of the loaded machine put silence in between", luecken);
    }

    void klangAusGibtDenGraphenFrei()
    {
        m_ton->setzeKlangAn(false);
        QTRY_COMPARE_WITH_TIMEOUT(knotenZustand(), QString("idle"), 3000);
        m_ton->setzeKlangAn(true);
        QTRY_COMPARE_WITH_TIMEOUT(knotenZustand(), QString("running"), 3000);
    }

    // Last, since it ends the servers (PipeWire and its PulseAudio server, as a crash of the
    // sound service would): the player goes on without them and comes back to PipeWire.
    void serverKommtWieder()
    {
        for (const QByteArray& socket : {qgetenv("XDG_RUNTIME_DIR") + "/pipewire-0", qgetenv("PULSE_SERVER").mid(5)}) {
            const pid_t server = serverProzess(socket);
            QVERIFY(server > 0);
            QCOMPARE(kill(server, SIGKILL), 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_ton->treiber() != "pipewire", 3000);
        m_ton->spiele(klang(12)); // plays on whatever is left, without waiting
        QProcess neu;
        neu.start(qEnvironmentVariable("PIPEWIRE_BIN") + "/pipewire", {});
        QVERIFY(neu.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(m_ton->treiber(), QByteArray("pipewire"), 5000);
        neu.kill();
        neu.waitForFinished();
    }

private:
    std::unique_ptr<SdlTonausgabe> m_ton;
};

QTEST_GUILESS_MAIN(TestPipewire)
#include "test_pipewire.moc"
