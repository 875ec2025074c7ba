// The real sound output: bad files stay silent and never hold up a click, good files really sound,
// a new sound cuts the old one, files changed on disk are heard in their new form, and the
// generated key sounds are clean and in tune.
#include "sound/LadendeTonausgabe.h"
#include "sound/Mischer.h"
#include "sound/SdlTonausgabe.h"
#include "sound/Modulorte.h"
#include "kern/Notenmodell.h"
#include "tests/pulseserver.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <thread>
#include <random>
#include <unistd.h>
#include <vector>

// Counts what the thread that asks for it allocates and frees: the audio thread may do neither.
namespace {
thread_local bool t_zaehlen = false;
std::atomic<int> g_speicherzugriffe{0};
void* hole(std::size_t n)
{
    if (t_zaehlen)
        g_speicherzugriffe.fetch_add(1);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void gib(void* p) noexcept
{
    if (t_zaehlen && p)
        g_speicherzugriffe.fetch_add(1);
    std::free(p);
}
} // namespace
void* operator new(std::size_t n) { return hole(n); }
void* operator new[](std::size_t n) { return hole(n); }
void operator delete(void* p) noexcept { gib(p); }
void operator delete[](void* p) noexcept { gib(p); }
void operator delete(void* p, std::size_t) noexcept { gib(p); }
void operator delete[](void* p, std::size_t) noexcept { gib(p); }

namespace {

const QString Klaenge = QStringLiteral(KLAVIDOR_KLAENGE_DIR);
constexpr double Grenze_ms = 50; // a click may not wait longer than this for its sound
constexpr float Hoechste_Spitze = 0.8913f; // -1 dBFS

QString klang(int k) { return Klaenge + "/" + Noten::Klangname(k) + ".wav"; }

double tonhoehe(int k) { return 440.0 * std::pow(2.0, (k - 21) / 12.0); }

QByteArray lies(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void schreibe(const QString& pfad, const QByteArray& daten)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(daten), daten.size());
}

quint32 le32(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return u[0] | u[1] << 8 | u[2] << 16 | quint32(u[3]) << 24;
}

// A WAV file as far as we need it: its format and its first channel scaled to -1..1.
struct Wav
{
    bool gueltig = false;
    int format = 0, kanaele = 0, rate = 0, bits = 0;
    std::vector<float> pcm;
    double sekunden() const { return rate ? double(pcm.size()) / rate : 0; }
};

Wav parseWav(const QByteArray& d)
{
    Wav w;
    if (d.size() < 12 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE")
        return w;
    bool fmt = false;
    for (qsizetype pos = 12; pos + 8 <= d.size();) {
        const QByteArray id = d.mid(pos, 4);
        const qsizetype laenge = le32(d.constData() + pos + 4);
        const char* inhalt = d.constData() + pos + 8;
        if (pos + 8 + laenge > d.size())
            return w;
        if (id == "fmt " && laenge >= 16) {
            w.format = quint16(le32(inhalt));
            w.kanaele = quint16(le32(inhalt + 2));
            w.rate = int(le32(inhalt + 4));
            w.bits = quint16(le32(inhalt + 14));
            fmt = true;
        } else if (id == "data" && fmt && w.format == 1 && w.bits == 16 && w.kanaele > 0) {
            const auto* s = reinterpret_cast<const qint16*>(inhalt);
            for (qsizetype i = 0; i + 1 < laenge / (2 * w.kanaele) * w.kanaele; i += w.kanaele)
                w.pcm.push_back(s[i] / 32768.0f);
            w.gueltig = true;
        }
        pos += 8 + laenge + (laenge & 1);
    }
    return w;
}

// ---- Measuring sound

double rms(const std::vector<float>& x, qsizetype von, qsizetype n)
{
    double s = 0;
    for (qsizetype i = von; i < von + n; ++i)
        s += double(x[i]) * x[i];
    return std::sqrt(s / n);
}

// Amplitude of one frequency in a Hann-windowed stretch.
double pegel(const std::vector<float>& x, qsizetype von, qsizetype n, double f, double rate)
{
    double re = 0, im = 0, summe = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * M_PI * i / (n - 1));
        const double p = 2 * M_PI * f * i / rate;
        re += w * x[von + i] * std::cos(p);
        im += w * x[von + i] * std::sin(p);
        summe += w;
    }
    return 2 * std::hypot(re, im) / summe;
}

// Fundamental frequency by the normalised square difference function: the first lag whose
// correlation peak comes close to the highest one is the period, so a strong second or third
// partial does not pass for the fundamental; parabolic interpolation gives the fraction of a lag.
double grundfrequenz(const std::vector<float>& x, qsizetype von, qsizetype n, double rate)
{
    const int tmax = int(std::min<qsizetype>(qsizetype(rate / 50.0) + 2, n / 2));
    const float* s = x.data() + von;
    std::vector<double> quadrate(n + 1, 0.0);
    for (qsizetype i = 0; i < n; ++i)
        quadrate[i + 1] = quadrate[i] + double(s[i]) * s[i];
    std::vector<double> nsdf(tmax + 1, 0.0);
    for (int t = 1; t <= tmax; ++t) {
        double r0 = 0, r1 = 0, r2 = 0, r3 = 0;
        qsizetype i = 0;
        for (; i + 3 < n - t; i += 4) {
            r0 += s[i] * s[i + t];
            r1 += s[i + 1] * s[i + 1 + t];
            r2 += s[i + 2] * s[i + 2 + t];
            r3 += s[i + 3] * s[i + 3 + t];
        }
        for (; i < n - t; ++i)
            r0 += s[i] * s[i + t];
        const double m = quadrate[n - t] + (quadrate[n] - quadrate[t]);
        nsdf[t] = m > 0 ? 2 * (r0 + r1 + r2 + r3) / m : 0;
    }
    // The highest point of each positive lobe after the first negative one.
    std::vector<int> spitzen;
    int t = 1;
    while (t < tmax && nsdf[t] > 0)
        ++t;
    while (t < tmax) {
        while (t < tmax && nsdf[t] <= 0)
            ++t;
        int beste = t;
        while (t < tmax && nsdf[t] > 0) {
            if (nsdf[t] > nsdf[beste])
                beste = t;
            ++t;
        }
        if (t < tmax && beste > 1)
            spitzen.push_back(beste);
    }
    double hoechste = 0;
    for (int p : spitzen)
        hoechste = std::max(hoechste, nsdf[p]);
    for (int p : spitzen) {
        if (nsdf[p] < 0.9 * hoechste)
            continue;
        const double a = nsdf[p - 1], b = nsdf[p], c = nsdf[p + 1];
        const double nenner = a - 2 * b + c;
        return rate / (p + (nenner != 0 ? 0.5 * (a - c) / nenner : 0));
    }
    return 0;
}

// Where the strongest partial within a semitone of `f` lies, in cents from `f`: a sampled piano's
// partials are slightly stretched, so the period of the whole waveform is not its fundamental.
double abweichungCent(const std::vector<float>& x, qsizetype von, qsizetype n, double rate, double f)
{
    auto staerkste = [&](double mitte, double weite, double schritt) {
        double beste = mitte, hoechster = -1;
        for (double c = mitte - weite; c <= mitte + weite; c += schritt) {
            const double p = pegel(x, von, n, f * std::pow(2.0, c / 1200), rate);
            if (p > hoechster)
                hoechster = p, beste = c;
        }
        return beste;
    };
    return staerkste(staerkste(0, 100, 10), 10, 1);
}

qsizetype einsatz(const std::vector<float>& x, qsizetype ab = 0)
{
    for (qsizetype i = ab; i < qsizetype(x.size()); ++i)
        if (std::abs(x[i]) > 0.003f)
            return i;
    return -1;
}

// The tones heard one after another: each 20 ms stretch is given to the loudest of `toene`;
// silent stretches and single-stretch blips at a cut are left out.
QList<double> tonfolge(const std::vector<float>& x, double rate, const QList<double>& toene)
{
    const qsizetype n = qsizetype(0.02 * rate);
    QList<double> roh;
    for (qsizetype von = 0; von + n <= qsizetype(x.size()); von += n) {
        if (rms(x, von, n) < 0.01) {
            roh.append(0);
            continue;
        }
        double bester = 0, hoechster = 0;
        for (double f : toene) {
            const double p = pegel(x, von, n, f, rate);
            if (p > hoechster)
                hoechster = p, bester = f;
        }
        roh.append(bester);
    }
    QList<double> folge;
    for (qsizetype i = 0; i < roh.size(); ++i) {
        const bool gehalten = i + 1 < roh.size() && roh[i + 1] == roh[i];
        if (roh[i] != 0 && gehalten && (folge.isEmpty() || folge.last() != roh[i]))
            folge.append(roh[i]);
    }
    return folge;
}

// ---- Running the real output

// Collects what is written to stderr while it lives.
class StderrFang
{
public:
    StderrFang()
    {
        m_datei.open();
        std::fflush(stderr);
        m_alt = dup(STDERR_FILENO);
        dup2(m_datei.handle(), STDERR_FILENO);
    }
    ~StderrFang() { zurueck(); }
    QByteArray text()
    {
        zurueck();
        return lies(m_datei.fileName());
    }

private:
    void zurueck()
    {
        if (m_alt < 0)
            return;
        std::fflush(stderr);
        dup2(m_alt, STDERR_FILENO);
        close(m_alt);
        m_alt = -1;
    }
    QTemporaryFile m_datei;
    int m_alt = -1;
};

// The real output on SDL's disk driver: what would reach the speakers lands in a file.
struct Aufzeichnung
{
    double rate = 0;
    std::vector<float> links, rechts;
};

class Plattenlauf
{
public:
    Plattenlauf() : m_alt(qgetenv("SDL_AUDIODRIVER"))
    {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", m_ordner.filePath("aus.raw").toLocal8Bit());
        ton = std::make_unique<SdlTonausgabe>();
        m_treiber = ton->treiber();
    }
    ~Plattenlauf()
    {
        ton.reset();
        qputenv("SDL_AUDIODRIVER", m_alt);
    }

    // Closes the output and reads what it wrote.
    Aufzeichnung ende()
    {
        [&] {
            QVERIFY(ton->geraetOffen());
            QCOMPARE(m_treiber, QByteArray("disk"));
        }();
        if (QTest::currentTestFailed())
            return {};
        ton.reset();
        const QByteArray roh = lies(m_ordner.filePath("aus.raw"));
        const auto* s = reinterpret_cast<const qint16*>(roh.constData());
        for (qsizetype i = 0; i + m_kanaele <= roh.size() / 2; i += m_kanaele) {
            m_aufz.links.push_back(s[i] / 32768.0f);
            m_aufz.rechts.push_back(s[i + m_kanaele - 1] / 32768.0f);
        }
        return m_aufz;
    }

    std::unique_ptr<SdlTonausgabe> ton;

private:
    QTemporaryDir m_ordner;
    QByteArray m_alt, m_treiber;
    Aufzeichnung m_aufz{Mischer::Rate, {}, {}}; // 16-bit stereo, converted by SDL as the device needs
    int m_kanaele = Mischer::Kanaele;
};

void warte(int ms) { QThread::msleep(ms); }

double zeitSpiele(SdlTonausgabe& ton, const QString& pfad)
{
    QElapsedTimer uhr;
    uhr.start();
    ton.spiele(pfad);
    return uhr.nsecsElapsed() / 1e6;
}

void setzeZeit(const QString& pfad, const QDateTime& zeit)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(zeit, QFileDevice::FileModificationTime));
}

enum Erwartung { Still, Egal, Hoerbar };

// A PulseAudio server of the test's own, with a null sink whose monitor `parec` records; the
// player connects to it as to a desktop's server.
class PulseLauf
{
public:
    PulseLauf() : m_altTreiber(qgetenv("SDL_AUDIODRIVER")), m_altServer(qgetenv("PULSE_SERVER"))
    {
        const QString d = m_ordner.path();
        QFile pa(d + "/test.pa");
        if (!pa.open(QIODevice::WriteOnly))
            return;
        pa.write("load-module module-null-sink sink_name=klavidor_test rate=44100 channels=2 format=s16le\n"
                 "load-module module-native-protocol-unix auth-anonymous=1 socket=" + d.toUtf8() + "/native\n"
                 "set-default-sink klavidor_test\n");
        pa.close();
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "XDG_RUNTIME_DIR", "HOME"})
            umgebung.insert(name, d);
        m_server.setProcessEnvironment(umgebung);
        m_server.start("pulseaudio", {"-n", "-F", d + "/test.pa", "--daemonize=no", "--system=false", "--use-pid-file=no",
                                      "--exit-idle-time=-1", "--disallow-exit", "--log-target=stderr"});
        if (!m_server.waitForStarted(5000))
            return;
        qputenv("PULSE_SERVER", ("unix:" + d + "/native").toUtf8());
        qunsetenv("SDL_AUDIODRIVER");
        for (int i = 0; i < 100 && !QFile::exists(d + "/native"); ++i)
            warte(50);
        m_bereit = QFile::exists(d + "/native");
    }
    ~PulseLauf()
    {
        m_aufnahme.kill();
        m_aufnahme.waitForFinished();
        m_server.terminate();
        m_server.waitForFinished(3000);
        qputenv("SDL_AUDIODRIVER", m_altTreiber);
        if (m_altServer.isEmpty())
            qunsetenv("PULSE_SERVER");
        else
            qputenv("PULSE_SERVER", m_altServer);
    }
    bool bereit() const { return m_bereit; }
    void nimmAuf()
    {
        m_aufnahme.setStandardOutputFile(m_ordner.filePath("aufnahme.raw"));
        m_aufnahme.start("parec", {"--device=klavidor_test.monitor", "--raw", "--format=s16le", "--rate=44100",
                                   "--channels=2", "--latency-msec=10"});
        m_aufnahme.waitForStarted(5000);
        // The first samples take a second or so to come.
        for (int i = 0; i < 100 && QFileInfo(m_ordner.filePath("aufnahme.raw")).size() == 0; ++i)
            warte(50);
        warte(100);
    }
    // The left channel recorded so far.
    std::vector<float> links()
    {
        warte(200);
        m_aufnahme.terminate();
        m_aufnahme.waitForFinished(3000);
        const QByteArray roh = lies(m_ordner.filePath("aufnahme.raw"));
        const auto* s = reinterpret_cast<const qint16*>(roh.constData());
        std::vector<float> l;
        for (qsizetype i = 0; i + 1 < roh.size() / 2; i += 2)
            l.push_back(s[i] / 32768.0f);
        return l;
    }

private:
    QTemporaryDir m_ordner;
    QProcess m_server, m_aufnahme;
    QByteArray m_altTreiber, m_altServer;
    bool m_bereit = false;
};

// A player that remembers what it was asked to do.
class Zuhoerer : public Tonausgabe
{
public:
    ~Zuhoerer() override
    {
        if (weg)
            *weg = true;
    }
    void spiele(const QString& pfad) override { gespielt.append(pfad); }
    int halteStimme(const QString&, double lautstaerke) override { return lautstaerke == 0.5 ? 7 : -1; }
    void loeseStimme(int stimme) override { geloest.append(stimme); }
    bool klingt() const override { return laut; }
    void vorladen(const QStringList& pfade) override { vorgeladen = pfade; }
    QStringList gespielt, vorgeladen;
    QList<int> geloest;
    bool laut = false;
    std::atomic<bool>* weg = nullptr;
};

} // namespace

class TestTon : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        QVERIFY2(QFile::exists(klang(21)), "the key sounds are built into the klaenge folder");
    }

    // ---- Bad files: silent, quick, quiet

    void schlechteDateien_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<int>("erwartung");
        QTest::addColumn<double>("ton"); // the pitch to hear, if any

        const QByteArray gut = lies(klang(21));
        QVERIFY(gut.size() > 1000);
        auto datei = [&](const QString& name, const QByteArray& inhalt) {
            const QString pfad = m_tmp.filePath(name);
            schreibe(pfad, inhalt);
            return pfad;
        };
        std::mt19937 zufall(7);
        QByteArray rauschen(64 * 1024, 0);
        for (char& c : rauschen)
            c = char(zufall());
        QByteArray riesig = gut;
        const char vier_gb[4] = {'\xf0', '\xff', '\xff', '\xff'};
        riesig.replace(4, 4, vier_gb, 4);
        riesig.replace(40, 4, vier_gb, 4);
        QVERIFY(riesig.mid(36, 4) == "data");
        QByteArray nurKopf = gut.left(44);
        nurKopf.replace(40, 4, QByteArray(4, '\0'));
        const QString ordner = m_tmp.filePath("Übung mit Lücke");
        QVERIFY(QDir().mkpath(ordner));
        QVERIFY(QFile::copy(klang(21), ordner + "/21-a.wav"));
        QVERIFY(QDir().mkpath(m_tmp.filePath("ordner.wav")));

        QTest::newRow("missing") << m_tmp.filePath("fehlt.wav") << int(Still) << 0.0;
        QTest::newRow("empty") << datei("leer.wav", {}) << int(Still) << 0.0;
        QTest::newRow("cut in the header") << datei("kopf.wav", gut.left(22)) << int(Still) << 0.0;
        QTest::newRow("header, no samples") << datei("nurkopf.wav", nurKopf) << int(Still) << 0.0;
        // What a cut-off file still holds may be played; it must not hang or crash.
        QTest::newRow("cut in the data") << datei("halb.wav", gut.left(44 + (gut.size() - 44) / 2)) << int(Egal) << 0.0;
        QTest::newRow("random bytes") << datei("zufall.wav", rauschen) << int(Still) << 0.0;
        QTest::newRow("sizes of 4 GB") << datei("riesig.wav", riesig) << int(Egal) << 0.0;
        QTest::newRow("directory") << m_tmp.filePath("ordner.wav") << int(Still) << 0.0;
        QTest::newRow("umlauts and blanks") << ordner + "/21-a.wav" << int(Hoerbar) << 440.0;
    }

    void schlechteDateien()
    {
        QFETCH(QString, pfad);
        QFETCH(int, erwartung);
        QFETCH(double, ton);

        Aufzeichnung a;
        QByteArray fehler;
        {
            StderrFang fang;
            Plattenlauf lauf;
            // Twice: the second play finds whatever the first one left behind.
            for (int i = 0; i < 2; ++i) {
                const double ms = zeitSpiele(*lauf.ton, pfad);
                QVERIFY2(ms < Grenze_ms, qPrintable(QString("spiele() took %1 ms").arg(ms)));
                warte(60);
            }
            warte(100);
            a = lauf.ende();
            fehler = fang.text();
        }
        QCOMPARE(fehler, QByteArray());
        QVERIFY2(a.links.size() > a.rate * 0.05, "the disk driver ran");
        const qsizetype start = einsatz(a.links);
        if (erwartung == Still)
            QCOMPARE(start, qsizetype(-1));
        if (erwartung == Hoerbar) {
            QVERIFY(start >= 0);
            QVERIFY(qsizetype(a.links.size()) - start > a.rate * 0.1);
            QCOMPARE(tonfolge(a.links, a.rate, {ton / 2, ton, ton * 2}), QList<double>{ton});
        }
    }

    // ---- Good files really sound

    void klingtWieDieDatei()
    {
        Plattenlauf lauf;
        lauf.ton->spiele(klang(21));
        warte(250);
        const Aufzeichnung a = lauf.ende();
        const qsizetype start = einsatz(a.links);
        QVERIFY(start >= 0);
        const qsizetype n = qsizetype(0.1 * a.rate);
        QVERIFY(qsizetype(a.links.size()) >= start + n);
        QVERIFY2(rms(a.links, start, n) > 0.1, "loud enough");
        QVERIFY(a.rate > 8000);
        const double f = grundfrequenz(a.links, start, n, a.rate);
        QVERIFY2(std::abs(f / 440.0 - 1) < 0.02, qPrintable(QString("heard %1 Hz").arg(f)));
        QVERIFY(a.links == a.rechts);

        // At the file's own rate the samples come out as they are in the file.
        const Wav wav = parseWav(lies(klang(21)));
        if (int(a.rate) == wav.rate) {
            const qsizetype w0 = einsatz(wav.pcm);
            for (qsizetype i = 0; i < n; ++i)
                QVERIFY(std::abs(a.links[start + i] - wav.pcm[w0 + i]) <= 2 / 32768.0f);
        }
    }

    void neuerKlangSchneidetAlten()
    {
        Plattenlauf lauf;
        lauf.ton->spiele(klang(9)); // a, 220 Hz
        warte(300);
        lauf.ton->spiele(klang(33)); // a'', 880 Hz
        warte(300);
        const Aufzeichnung a = lauf.ende();
        const double r = a.rate;
        QCOMPARE(tonfolge(a.links, r, {220, 880}), (QList<double>{220, 880}));

        // Where the high sound sets in: its level in 10 ms stretches, 1 ms apart.
        const qsizetype kurz = qsizetype(0.01 * r), schritt = qsizetype(0.001 * r);
        double hoechster = 0;
        for (qsizetype v = 0; v + kurz <= qsizetype(a.links.size()); v += schritt)
            hoechster = std::max(hoechster, pegel(a.links, v, kurz, 880, r));
        qsizetype schnitt = -1;
        for (qsizetype v = 0; v + kurz <= qsizetype(a.links.size()) && schnitt < 0; v += schritt)
            if (pegel(a.links, v, kurz, 880, r) > 0.5 * hoechster)
                schnitt = v;
        const qsizetype start = einsatz(a.links);
        QVERIFY(start >= 0 && schnitt > start);
        QVERIFY2(schnitt - start > 0.1 * r, "the low sound played until the high one came");

        const qsizetype n = qsizetype(0.02 * r);
        QVERIFY(pegel(a.links, schnitt - 2 * n, n, 220, r) > 0.05);

        // How the low sound goes: take away the high one where it sounds alone, sample for sample,
        // and follow the gain of what is left against the low sound's own samples.
        const Wav w9 = parseWav(lies(klang(9))), w33 = parseWav(lies(klang(33)));
        if (int(r) != w9.rate)
            QSKIP("the output rate differs from the files' rate");
        auto hochAllein = [&](qsizetype d) {
            for (qsizetype i = qsizetype(0.03 * r); i < qsizetype(0.06 * r); ++i)
                if (std::abs(a.links[d + i] - w33.pcm[i]) > 2 / 32768.0f)
                    return false;
            return true;
        };
        qsizetype d = schnitt - qsizetype(0.01 * r);
        while (d < schnitt + qsizetype(0.015 * r) && !hochAllein(d))
            ++d;
        QVERIFY2(hochAllein(d), "the high sound comes out as it is in its file");
        // From 15 ms after the cut on, nothing of the low sound is left under the high one (whose
        // hammer has some 220 Hz of its own).
        std::vector<float> rest(a.links.begin() + d, a.links.end());
        for (qsizetype i = 0; i < qsizetype(rest.size()) && i < qsizetype(w33.pcm.size()); ++i)
            rest[i] -= w33.pcm[i];
        int geprueft = 0;
        for (qsizetype v = qsizetype(0.015 * r); v + n <= qsizetype(rest.size()) && geprueft < 10; v += n, ++geprueft) {
            const double tief = pegel(rest, v, n, 220, r), hoch = pegel(a.links, d + v, n, 880, r);
            QVERIFY2(tief < 0.01 * hoch, qPrintable(QString("220 Hz at %1, 880 Hz at %2, %3 ms after the cut")
                                                        .arg(tief).arg(hoch).arg(v * 1000 / r)));
        }
        QVERIFY(geprueft >= 5);
        const qsizetype ms = qsizetype(0.001 * r), w0 = einsatz(w9.pcm) - start;
        auto gewinn = [&](qsizetype v) {
            double rest = 0, eigen = 0;
            for (qsizetype i = v; i < v + ms / 2; ++i) {
                const double alt = w9.pcm[w0 + i], neu = i >= d ? w33.pcm[i - d] : 0;
                rest += (a.links[i] - neu) * alt;
                eigen += alt * alt;
            }
            return rest / eigen;
        };
        // The fade may begin a buffer before the new sound when loading it takes a while.
        QVERIFY(std::abs(gewinn(d - 30 * ms) - 1) < 0.01);
        QVERIFY(std::abs(gewinn(d + 30 * ms)) < 0.01);
        double sturz = 0;
        for (qsizetype v = d - 30 * ms; v < d + 30 * ms; ++v)
            sturz = std::max(sturz, gewinn(v) - gewinn(v + ms / 2));
        // A fade over a few milliseconds loses well under a third of the gain in any half
        // millisecond; a cut that clicks loses half or all of it at once.
        QVERIFY2(sturz < 0.3, qPrintable(QString("the low sound lost %1 of its gain within 0.5 ms").arg(sturz, 0, 'f', 2)));
    }

    // ---- Held voices, as a MIDI keyboard plays them

    void gehalteneStimmen()
    {
        Plattenlauf lauf;
        const int tief = lauf.ton->halteStimme(klang(9), 1.0);  // a, 220 Hz
        const int hoch = lauf.ton->halteStimme(klang(30), 0.5); // fis'', 740 Hz, at half the volume
        QVERIFY(tief > 0 && hoch > 0 && tief != hoch);
        QCOMPARE(lauf.ton->halteStimme(m_tmp.filePath("fehlt.wav"), 1.0), 0);
        warte(300);
        lauf.ton->spiele(klang(21)); // a click does not cut the held voices
        warte(200);
        lauf.ton->loeseStimme(tief);
        warte(400);
        const Aufzeichnung a = lauf.ende();
        const double r = a.rate;
        const qsizetype start = einsatz(a.links), n = qsizetype(0.05 * r);
        QVERIFY(start >= 0);
        // Both sound together, each as loud as its file at its volume.
        const Wav w9 = parseWav(lies(klang(9))), w30 = parseWav(lies(klang(30)));
        const qsizetype v = start + qsizetype(0.1 * r);
        const double p220 = pegel(a.links, v, n, 220, r), p740 = pegel(a.links, v, n, 740, r);
        QVERIFY2(std::abs(p220 / pegel(w9.pcm, v - start, n, 220, r) - 1) < 0.05, qPrintable(QString::number(p220)));
        // (It may start a mixing period after the first.)
        QVERIFY2(std::abs(p740 / pegel(w30.pcm, v - start, n, 740, r) - 0.5) < 0.1, qPrintable(QString::number(p740)));
        // The click joins them; the released voice has gone 200 ms after its release, the other stays.
        const qsizetype klick = start + qsizetype(0.35 * r), los = start + qsizetype(0.55 * r);
        QVERIFY(pegel(a.links, klick, n, 440, r) > 0.05);
        QVERIFY(pegel(a.links, klick, n, 220, r) > 0.2 * p220);
        QVERIFY(pegel(a.links, los + qsizetype(0.2 * r), n, 220, r) < 0.01 * p220);
        const qsizetype spaet = los + qsizetype(0.2 * r);
        QVERIFY(std::abs(pegel(a.links, spaet, n, 740, r) / pegel(w30.pcm, spaet - start, n, 740, r) - 0.5) < 0.1);
    }

    // The mixer itself, sample for sample, with flat test sounds.
    void mischer()
    {
        const int ms = Mischer::Rate / 1000;
        const int loslassen = int(Mischer::Rate * Mischer::Loslassen_ms / 1000);
        auto flach = [](float wert, int frames) {
            return std::make_shared<const std::vector<float>>(size_t(frames) * Mischer::Kanaele, wert);
        };
        Mischer m;
        std::vector<int16_t> aus;
        auto mischeMit = [&](Mischer& mit, int frames) {
            aus.assign(size_t(frames) * Mischer::Kanaele, 0);
            mit.mische(aus.data(), frames);
            return aus[aus.size() - 1]; // the right channel of the last frame
        };
        auto mische = [&](int frames) { return mischeMit(m, frames); };
        mische(10);
        QVERIFY(!m.klingt());

        // Held voices add up at their volumes; volumes beyond 0..1 are held to it.
        const int a = m.halte(flach(0.25f, 2 * Mischer::Rate), 1.0);
        const int b = m.halte(flach(0.125f, 2 * Mischer::Rate), 0.5);
        m.halte(flach(0.5f, 2 * Mischer::Rate), -3);
        QCOMPARE(mische(10), int16_t(0.3125 * 32768));
        QVERIFY(m.klingt());
        // A click adds to them; the next click fades the first out over 6 ms, without a step.
        m.klick(flach(0.0625f, 2 * Mischer::Rate));
        QCOMPARE(mische(10), int16_t(0.375 * 32768));
        m.klick(flach(0.03125f, 2 * Mischer::Rate));
        mische(int(Mischer::Schnitt_ms) * ms);
        int16_t vorher = aus[1];
        for (size_t i = 3; i < aus.size(); i += 2) {
            QVERIFY(aus[i] <= vorher && vorher - aus[i] < 10);
            vorher = aus[i];
        }
        QCOMPARE(mische(10), int16_t(0.34375 * 32768));
        // A released voice dies away over 150 ms, halfway at 75 ms.
        m.loese(a);
        m.loese(a); // twice is once
        QVERIFY(std::abs(mische(loslassen / 2) - (0.125 + 0.0625 + 0.03125) * 32768) < 20);
        mische(loslassen - loslassen / 2);
        QCOMPARE(mische(10), int16_t((0.0625 + 0.03125) * 32768));
        m.loese(b);
        mische(loslassen);
        QCOMPARE(mische(10), int16_t(0.03125 * 32768));

        // An eleventh held voice lets the oldest go; a sound that ends leaves silence.
        Mischer elf;
        QList<int> griffe;
        for (int i = 0; i < Mischer::Hoechste_Stimmen + 1; ++i)
            griffe.append(elf.halte(flach(0.0625f, Mischer::Rate), 1.0));
        QCOMPARE(QSet<int>(griffe.begin(), griffe.end()).size(), griffe.size());
        mischeMit(elf, loslassen);
        QCOMPARE(mischeMit(elf, 10), int16_t(0.0625 * Mischer::Hoechste_Stimmen * 32768));
        elf.loese(griffe.first()); // already gone
        QCOMPARE(mischeMit(elf, 10), int16_t(0.0625 * Mischer::Hoechste_Stimmen * 32768));
        mischeMit(elf, Mischer::Rate);
        QCOMPARE(mischeMit(elf, 10), int16_t(0));
        QVERIFY(!elf.klingt());
    }

    // Voices a device thread starts and releases by number, beside the window's commands, at the
    // output's rate: without allocating, and the release fades over its time at that rate.
    void geraeteStimmen_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("nummer");
        QTest::addColumn<bool>("klingt");
        QTest::newRow("first key, 44.1 kHz") << 44100 << 0 << true;
        QTest::newRow("last key, 48 kHz") << 48000 << 39 << true;
        QTest::newRow("nothing registered") << 48000 << 40 << false;
        QTest::newRow("beyond the numbers") << 44100 << Mischer::Gemerkte << false;
        QTest::newRow("negative") << 44100 << -1 << false;
    }

    void geraeteStimmen()
    {
        QFETCH(int, rate);
        QFETCH(int, nummer);
        QFETCH(bool, klingt);
        auto flach = [](float wert) { return std::make_shared<const std::vector<float>>(size_t(Mischer::Rate) * Mischer::Kanaele, wert); };
        Mischer m;
        m.setzeRate(rate);
        for (int k = 0; k < 40; ++k)
            m.merke(k, flach(0.25f));
        std::vector<int16_t> aus(size_t(rate) * Mischer::Kanaele);
        auto mische = [&](int frames) {
            m.mische(aus.data(), frames);
            return aus[size_t(frames - 1) * Mischer::Kanaele];
        };
        auto vomGeraet = [&](auto befehl) {
            std::thread([&] {
                t_zaehlen = true;
                befehl();
                t_zaehlen = false;
            }).join();
        };
        const int vorher = g_speicherzugriffe;
        int griff = -1;
        vomGeraet([&] { griff = m.halteGemerkt(nummer, 1.0); });
        m.klick(flach(0.0625f)); // the window's click sounds beside it
        QCOMPARE(griff > 0, klingt);
        const int16_t klick = int16_t(0.0625 * 32768);
        QCOMPARE(mische(10), int16_t(klick + (klingt ? 0.25 * 32768 : 0)));
        vomGeraet([&] { m.loeseGemerkt(griff); });
        const int loslassen = int(rate * Mischer::Loslassen_ms / 1000);
        if (klingt)
            QVERIFY(std::abs(mische(loslassen / 2) - (klick + 0.125 * 32768)) < 20);
        mische(loslassen - loslassen / 2);
        QCOMPARE(mische(10), klick);
        QCOMPARE(g_speicherzugriffe.load(), vorher);
    }

    // Going back over what is mixed but not yet played: the held voice comes out as before, the
    // new click starts at the point gone back to.
    void mischerGehtZurueck()
    {
        auto rampe = [](int frames, float schritt) {
            auto k = std::make_shared<std::vector<float>>();
            for (int i = 0; i < frames; ++i)
                k->insert(k->end(), Mischer::Kanaele, schritt * float(i % 1000));
            return std::shared_ptr<const std::vector<float>>(k);
        };
        const float s = 1.0f / 32768;
        Mischer m;
        std::vector<int16_t> aus(2000 * Mischer::Kanaele);
        m.halte(rampe(Mischer::Rate, 8 * s), 1.0);
        m.mische(aus.data(), 1000);
        QCOMPARE(m.position(), int64_t(1000));
        QCOMPARE(m.zurueck(1200), int64_t(1000)); // the future is not there yet
        m.klick(rampe(Mischer::Rate, 16 * s));
        QCOMPARE(m.zurueck(600), int64_t(600));
        m.mische(aus.data(), 400);
        for (int i = 0; i < 400; ++i)
            QCOMPARE(aus[size_t(2 * i)], int16_t(8 * ((600 + i) % 1000) + 16 * i));
        // Not further back than it keeps.
        for (int i = 0; i < 20; ++i)
            m.mische(aus.data(), Mischer::Rate / 100);
        const int64_t jetzt = m.position();
        QVERIFY(m.zurueck(0) > jetzt - Mischer::Rate / 5);
    }

    // However often the stream goes back, every command takes effect once: where it was carried
    // out, or where the stream goes on if that lies beyond.
    void mischerVerliertKeinenBefehl()
    {
        const float s = 1.0f / 32768;
        auto flach = [](float wert) { return std::make_shared<const std::vector<float>>(size_t(Mischer::Rate) * Mischer::Kanaele, wert); };
        const int loslassen = int(Mischer::Rate * Mischer::Loslassen_ms / 1000);
        std::vector<int16_t> aus(size_t(2 * Mischer::Rate) * Mischer::Kanaele);
        auto wert = [&](int frame) { return aus[size_t(Mischer::Kanaele * frame)]; };

        // A voice carried out at frame 441 by a fill ahead, the stream then back at 300.
        Mischer start;
        start.mische(aus.data(), 441);
        start.halte(flach(1024 * s), 1.0);
        start.mische(aus.data(), 100);
        QCOMPARE(start.zurueck(300), int64_t(300));
        start.mische(aus.data(), 600);
        QCOMPARE(wert(0), int16_t(1024));
        QCOMPARE(wert(599), int16_t(1024));

        // Its release, the same way: it dies away from frame 300 on.
        Mischer los;
        const int griff = los.halte(flach(1024 * s), 1.0);
        los.mische(aus.data(), 441);
        los.loese(griff);
        los.mische(aus.data(), 100);
        QCOMPARE(los.zurueck(300), int64_t(300));
        los.mische(aus.data(), loslassen + 10);
        QVERIFY(wert(loslassen / 2) < 600 && wert(loslassen / 2) > 400);
        QCOMPARE(wert(loslassen + 5), int16_t(0));

        // A read position that jumps forward and back, as PipeWire's estimate does: each of the
        // three commands sounds once, never twice (a second click would cut and restart the first).
        Mischer hin;
        hin.halte(flach(1024 * s), 1.0);
        hin.mische(aus.data(), 200);
        hin.halte(flach(512 * s), 1.0);
        hin.mische(aus.data(), 241);
        hin.klick(flach(256 * s));
        hin.mische(aus.data(), 100);
        for (const int64_t ziel : {300, 350, 320, 1000, 310, 100}) {
            hin.zurueck(ziel);
            hin.mische(aus.data(), 50);
            QCOMPARE(wert(0), int16_t(1024 + 512 + 256));
            QCOMPARE(wert(49), int16_t(1024 + 512 + 256));
        }
    }

    // The audio thread never allocates or frees, whatever the callers do meanwhile; a chord of ten
    // voices at full volume never clips, and a single one keeps its loudness.
    void mischerEchtzeitfest()
    {
        const Wav w = parseWav(lies(klang(12)));
        QVERIFY(w.gueltig);
        std::vector<float> stereo;
        for (float v : w.pcm)
            stereo.insert(stereo.end(), Mischer::Kanaele, v);
        auto m = std::make_unique<Mischer>();
        std::atomic<bool> fertig{false};
        std::atomic<int> spitze{0};
        std::thread audio([&] {
            std::vector<int16_t> aus(size_t(256) * Mischer::Kanaele);
            t_zaehlen = true;
            for (int i = 0; i < 10000; ++i) {
                m->mische(aus.data(), 64 + i % 193);
                if (i % 7 == 0)
                    m->zurueck(m->position() - 50 - i % 200);
                for (int16_t v : aus)
                    spitze = std::max<int>(spitze, std::abs(int(v)));
            }
            t_zaehlen = false;
            fertig = true;
        });
        QList<int> griffe;
        for (int runde = 0; !fertig; ++runde) {
            // Each time a new copy, dropped at once by the caller: the mixer keeps it.
            auto k = std::make_shared<const std::vector<float>>(stereo.begin(), stereo.begin() + Mischer::Rate / 5 * Mischer::Kanaele);
            if (runde % 3 == 0)
                m->klick(k);
            griffe.append(m->halte(k, 1.0));
            if (griffe.size() > 12)
                m->loese(griffe.takeFirst());
            QThread::usleep(500);
        }
        audio.join();
        QCOMPARE(g_speicherzugriffe.load(), 0);
        QVERIFY2(spitze <= std::lrint(32768 * Mischer::Grenze), qPrintable(QString::number(spitze)));

        // One key alone comes out as loud as its file.
        Mischer eine;
        eine.halte(std::make_shared<const std::vector<float>>(stereo), 1.0);
        std::vector<int16_t> aus(stereo.size());
        eine.mische(aus.data(), int(stereo.size() / Mischer::Kanaele));
        const float datei = *std::max_element(w.pcm.begin(), w.pcm.end(), [](float a, float b) { return std::abs(a) < std::abs(b); });
        const int hoechster = std::abs(*std::max_element(aus.begin(), aus.end(), [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); }));
        QVERIFY(std::abs(20 * std::log10(hoechster / 32768.0 / std::abs(datei))) < 0.1);
    }

    // ---- The player's own PulseAudio stream, against a real server

    // A held voice, and a click that starts inside the stream's buffer while it sounds: both come
    // out sample for sample as in their files, without a gap or a jump where the stream was
    // written again.
    void pulseStrom()
    {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() || QStandardPaths::findExecutable("parec").isEmpty())
            QSKIP("no PulseAudio server here (pulseaudio and parec are needed)");
        // A busy machine can starve the stream for a moment, and a dropout breaks the sample-for-
        // sample comparison; that is the machine, not the player, so a run may be tried again.
        QStringList fehler;
        for (int versuch = 0; versuch < 3; ++versuch) {
            const QString f = pulseStromLauf();
            if (f.isEmpty())
                return;
            fehler << f;
        }
        QFAIL(qPrintable(fehler.join("; ")));
    }

private:
    // One run of the player's own stream into a null sink; empty when it came out exactly.
    QString pulseStromLauf()
    {
        // Held at half volume, so that voice and click together stay below the mixer's limiter.
        constexpr float Gehalten = 0.5f;
        PulseLauf pulse;
        if (!pulse.bereit())
            return "the PulseAudio server did not start";
        pulse.nimmAuf();
        std::vector<float> l;
        {
            SdlTonausgabe ton;
            if (ton.treiber() != "pulseaudio-direkt")
                return "not playing through its own stream: " + ton.treiber();
            if (ton.klingt())
                return "sounding before anything was played";
            ton.halteStimme(klang(9), Gehalten);
            warte(150);
            if (!ton.klingt())
                return "not sounding while a voice is held";
            ton.spiele(klang(30));
            warte(450);
            l = pulse.links();
        }
        const Wav w9 = parseWav(lies(klang(9))), w30 = parseWav(lies(klang(30)));
        const qsizetype start = einsatz(l), n = qsizetype(0.5 * w9.rate);
        if (start < 0 || qsizetype(l.size()) < start + n)
            return "too little was recorded";
        // Where the click came in: the first sample that the held voice alone does not explain.
        std::vector<float> gehalten = w9.pcm;
        for (float& v : gehalten)
            v *= Gehalten;
        const qsizetype w0 = einsatz(gehalten);
        qsizetype d = start;
        while (d < start + n && std::abs(l[d] - gehalten[w0 + d - start]) <= 2 / 32768.0f)
            ++d;
        if (d - start <= 0.1 * w9.rate)
            return QString("the held voice alone for %1 ms").arg((d - start) * 1000.0 / w9.rate);
        // The click's file begins softly, so it may have begun a few samples before that.
        auto abweichungen = [&](qsizetype ab, qsizetype bis) {
            int zahl = 0;
            for (qsizetype i = ab; i < bis; ++i)
                zahl += std::abs(l[i] - (gehalten[w0 + i - start] + w30.pcm[i - ab])) > 2 / 32768.0f;
            return zahl;
        };
        qsizetype klick = d;
        for (qsizetype c = d - 1; c > d - 32; --c)
            if (abweichungen(c, c + 2000) < abweichungen(klick, klick + 2000))
                klick = c;
        const int falsch = abweichungen(klick, start + n);
        if (falsch != 0)
            return QString("%1 of %2 samples differ from the two files").arg(falsch).arg(start + n - klick);
        return {};
    }

private slots:

    // ---- Files that change while the program runs

    void geaenderteDateiKlingtNeu()
    {
        const QString pfad = m_tmp.filePath("wechsel.wav");
        const QDateTime zeit = QDateTime::currentDateTime().addSecs(-100);
        // Cut to one length, so the second file can have the same size (the header's sizes are
        // trimmed to what is there).
        const qsizetype laenge = 44 + 2 * 44100;
        schreibe(pfad, lies(klang(9)).left(laenge));
        setzeZeit(pfad, zeit);

        Plattenlauf lauf;
        lauf.ton->spiele(pfad);
        warte(250);
        // Same size, new content, later time.
        schreibe(pfad, lies(klang(33)).left(laenge));
        QCOMPARE(QFileInfo(pfad).size(), laenge);
        setzeZeit(pfad, zeit.addSecs(10));
        lauf.ton->spiele(pfad);
        warte(250);
        // New size, the time set back to where it was.
        schreibe(pfad, lies(klang(21)).left(44 + 2 * 22050));
        setzeZeit(pfad, zeit.addSecs(10));
        lauf.ton->spiele(pfad);
        warte(250);
        const Aufzeichnung a = lauf.ende();
        QCOMPARE(tonfolge(a.links, a.rate, {220, 440, 880}), (QList<double>{220, 880, 440}));
    }

    void dateiErscheintNachFehlschlag()
    {
        const QString pfad = m_tmp.filePath("spaeter.wav");
        QFile::remove(pfad);
        Plattenlauf lauf;
        lauf.ton->spiele(pfad);
        warte(100);
        QVERIFY(QFile::copy(klang(21), pfad));
        lauf.ton->spiele(pfad);
        warte(200);
        const Aufzeichnung a = lauf.ende();
        QCOMPARE(tonfolge(a.links, a.rate, {220, 440, 880}), QList<double>{440});
    }

    // ---- The player module that the program loads when the main window opens

    void modulWirdGeladen()
    {
        LadendeTonausgabe ton(KLAVIDOR_TON_MODUL);
        QElapsedTimer uhr;
        uhr.start();
        ton.vorbereiten();
        QVERIFY(uhr.elapsed() < 20); // loads in the background
        QVERIFY(ton.ladenUndAbwarten());
        ton.spiele(klang(21));
        // A module that is not there leaves the program silent, without waiting or failing.
        LadendeTonausgabe ohne(m_tmp.filePath("fehlt.so"));
        ohne.spiele(klang(21));
        QVERIFY(!ohne.ladenUndAbwarten());
        // Without a path it looks beside the program and in its library folder.
        QVERIFY(Modulorte("klavidor_ton.so").size() == 2);
        QVERIFY(Modulorte("klavidor_ton.so").at(1).contains("/klavidor/klavidor_ton.so"));
    }

    // A click while the player still loads (a slow disk, a stalled sound server) shows its note at
    // once: it never waits, and its sound comes late only if the player is ready soon.
    void ersterKlickWartetNie_data()
    {
        QTest::addColumn<int>("ladezeit");
        QTest::addColumn<bool>("nachgeholt");
        QTest::newRow("ready after 30 ms") << 30 << true;
        QTest::newRow("ready after 400 ms") << 400 << false;
    }

    void ersterKlickWartetNie()
    {
        QFETCH(int, ladezeit);
        QFETCH(bool, nachgeholt);
        auto* spieler = new Zuhoerer;
        LadendeTonausgabe ton([=] {
            warte(ladezeit);
            return spieler;
        });
        QElapsedTimer uhr;
        uhr.start();
        ton.spiele(klang(21)); // starts the loading itself
        QVERIFY(ton.halteStimme(klang(9), 0.5) == 0); // nothing to hold yet, and no waiting
        QVERIFY(!ton.klingt());
        QVERIFY2(uhr.elapsed() < 10, qPrintable(QString("the click waited %1 ms").arg(uhr.elapsed())));
        QVERIFY(ton.ladenUndAbwarten());
        QCOMPARE(spieler->vorgeladen, QStringList{}); // nothing was named to read ahead
        QCOMPARE(spieler->gespielt, nachgeholt ? QStringList{klang(21)} : QStringList{});
        // Once loaded, everything goes straight through.
        ton.spiele(klang(22));
        QCOMPARE(spieler->gespielt.last(), klang(22));
        QCOMPARE(ton.halteStimme(klang(9), 0.5), 7);
        ton.loeseStimme(7);
        QCOMPARE(spieler->geloest, QList<int>{7});
        spieler->laut = true;
        QVERIFY(ton.klingt());
    }

    // Sounds registered for the device thread before the player is loaded reach it; before that,
    // and for a file that cannot be played, the device thread starts nothing.
    void gemerktVorDemLaden()
    {
        // As the module does: SDL's data of the loading thread, which SDL did not make, is given back.
        LadendeTonausgabe ton(LadendeTonausgabe::Erzeuger([] {
            auto* spieler = new SdlTonausgabe;
            SDL_TLSCleanup();
            return spieler;
        }));
        ton.merkeKlaenge({klang(12), m_tmp.filePath("fehlt.wav")});
        QCOMPARE(ton.halteGemerkt(0, 1.0), 0);
        QVERIFY(ton.ladenUndAbwarten());
        const int stimme = ton.halteGemerkt(0, 1.0);
        QVERIFY(stimme > 0);
        QTRY_VERIFY(ton.klingt());
        ton.loeseGemerkt(stimme);
        QCOMPARE(ton.halteGemerkt(1, 1.0), 0);
    }

    void vorgeladenBevorErKlingt()
    {
        // The files named before loading are read by the loading thread before the player is
        // handed out: no first click decodes its file.
        auto* spieler = new Zuhoerer;
        LadendeTonausgabe ton([=] { return spieler; });
        ton.vorladen({klang(0), klang(39)});
        ton.vorbereiten();
        QVERIFY(ton.ladenUndAbwarten());
        QCOMPARE(spieler->vorgeladen, (QStringList{klang(0), klang(39)}));
        // The real player decodes them into the cache its plays use.
        SdlTonausgabe echt;
        QElapsedTimer uhr;
        uhr.start();
        echt.vorladen({klang(12)});
        uhr.restart();
        echt.spiele(klang(12));
        QVERIFY2(uhr.elapsed() < 2, qPrintable(QString("a read-ahead sound took %1 ms").arg(uhr.elapsed())));
    }

    void endeWartetNichtAufsLaden()
    {
        std::atomic<bool> weg{false};
        QElapsedTimer uhr;
        uhr.start();
        {
            LadendeTonausgabe ton([&] {
                warte(300);
                auto* spieler = new Zuhoerer;
                spieler->weg = &weg;
                return spieler;
            });
            ton.vorbereiten();
            ton.spiele(klang(21));
        }
        QVERIFY2(uhr.elapsed() < 50, qPrintable(QString("ending waited %1 ms").arg(uhr.elapsed())));
        // The player that comes after the end is thrown away by the loading thread.
        QTRY_VERIFY_WITH_TIMEOUT(weg, 2000);
    }

    // A sound server that goes (PipeWire restarts on suspend, on a device change, on a crash) is
    // found again: the player's own stream is back within 2 s of a new server answering, and with
    // no server left SDL plays. No click waits for any of it.
    void serverKommtWieder()
    {
        KLAVIDOR_OHNE_PULSEAUDIO_UEBERSPRINGEN();
        PulseServer server(m_tmp.filePath("wechselserver"));
        QVERIFY(server.starte());
        const int laenge = 2 * Mischer::Rate; // 1 s: long enough to be seen sounding
        QByteArray kurz = lies(klang(21)).left(44 + laenge), still = kurz;
        still.replace(44, laenge, QByteArray(laenge, 0));
        schreibe(m_tmp.filePath("kurz.wav"), kurz);
        schreibe(m_tmp.filePath("still.wav"), still);
        const QByteArray sdlTreiber = qgetenv("SDL_AUDIODRIVER"); // the tests' own: dummy
        qunsetenv("SDL_AUDIODRIVER");
        SdlTonausgabe ton;
        qputenv("SDL_AUDIODRIVER", sdlTreiber);
        QCOMPARE(ton.treiber(), QByteArray("pulseaudio-direkt"));
        double laengsterKlick = 0;
        auto klicke = [&](const QString& name) { laengsterKlick = std::max(laengsterKlick, zeitSpiele(ton, m_tmp.filePath(name))); };
        for (int runde = 1; runde <= 10; ++runde) {
            QTRY_VERIFY(!ton.klingt());
            server.toete();
            QVERIFY(server.starte());
            QElapsedTimer uhr;
            uhr.start();
            while (ton.treiber() != "pulseaudio-direkt") {
                klicke("still.wav");
                QVERIFY2(uhr.elapsed() < 2000, qPrintable(QString("round %1: %2").arg(runde).arg(ton.treiber())));
                warte(20);
            }
            // Only the stream that took over mixes now: its sound is this click.
            klicke("kurz.wav");
            // A fresh null sink sleeps through its first 2 s before it takes our lower latency.
            QTRY_VERIFY2_WITH_TIMEOUT(ton.klingt(), qPrintable(QString("round %1: silent").arg(runde)), 3000);
        }
        server.toete();
        QTRY_COMPARE_WITH_TIMEOUT(ton.treiber(), QByteArray("dummy"), 2000);
        klicke("kurz.wav");
        QTRY_VERIFY(ton.klingt());
        QVERIFY2(laengsterKlick < 5, qPrintable(QString("a click waited %1 ms").arg(laengsterKlick)));
    }

    // ---- The generated sounds

    void klangOrdnerVollstaendig()
    {
        QStringList soll{"Hallo.wav"};
        for (int k = 0; k < 40; ++k)
            soll.append(QFileInfo(klang(k)).fileName());
        soll.sort();
        QCOMPARE(QDir(Klaenge).entryList(QDir::Files, QDir::Name), soll);
    }

    void erzeugteKlaenge_data()
    {
        QTest::addColumn<int>("k");
        for (int k = 0; k < 40; ++k)
            QTest::newRow(qPrintable(QFileInfo(klang(k)).fileName())) << k;
    }

    void erzeugteKlaenge()
    {
        QFETCH(int, k);
        const Wav w = parseWav(lies(klang(k)));
        QVERIFY(w.gueltig);
        QCOMPARE(w.format, 1);
        QCOMPARE(w.rate, 44100);
        QCOMPARE(w.bits, 16);
        QCOMPARE(w.kanaele, 1);
        // Released at 1.6 s and ended at 2.0 s, less the silence trimmed off the front.
        QVERIFY2(w.sekunden() > 1.95 && w.sekunden() <= 2.0, qPrintable(QString::number(w.sekunden())));
        float spitze = 0;
        for (float s : w.pcm)
            spitze = std::max(spitze, std::abs(s));
        QVERIFY2(spitze > 0.2f && spitze <= Hoechste_Spitze, qPrintable(QString("peak %1").arg(spitze)));
        // The attack comes at once, from rest.
        QVERIFY(std::abs(w.pcm.front()) < 0.001f);
        const qsizetype start = einsatz(w.pcm);
        QVERIFY2(start >= 0 && start < w.rate * 0.002, qPrintable(QString("audible from sample %1").arg(start)));
        // Still sounding until the key is let go at 1.6 s, dying away after it, at rest at the end.
        const qsizetype ende = qsizetype(w.pcm.size()), schluss = qsizetype(0.05 * w.rate);
        const double gehalten = rms(w.pcm, qsizetype(1.5 * w.rate), schluss);
        QVERIFY(gehalten > 0.0005);
        QVERIFY(rms(w.pcm, qsizetype(1.8 * w.rate), schluss) < 0.5 * gehalten);
        QVERIFY(rms(w.pcm, ende - schluss / 10, schluss / 10) < 0.1 * rms(w.pcm, ende - 2 * schluss, schluss));
        QVERIFY(std::abs(w.pcm.back()) < 0.0002f);
        // In tune: the fundamental once the hammer's noise has gone.
        const double cent = abweichungCent(w.pcm, qsizetype(0.1 * w.rate), w.rate / 2, w.rate, tonhoehe(k));
        QVERIFY2(std::abs(cent) < 10, qPrintable(QString("%1 cents off %2 Hz").arg(cent).arg(tonhoehe(k))));
    }

    void gleichLaut()
    {
        QList<double> db;
        for (int k = 0; k < 40; ++k) {
            const Wav w = parseWav(lies(klang(k)));
            QVERIFY(w.gueltig);
            db.append(20 * std::log10(rms(w.pcm, 0, qsizetype(0.3 * w.rate))));
        }
        QList<double> sortiert = db;
        std::sort(sortiert.begin(), sortiert.end());
        const double mitte = sortiert[20];
        QVERIFY2(mitte > -30, qPrintable(QString("%1 dB").arg(mitte)));
        for (int k = 0; k < 40; ++k)
            QVERIFY2(std::abs(db[k] - mitte) <= 2, qPrintable(QString("key %1: %2 dB, the keys' median %3 dB").arg(k).arg(db[k]).arg(mitte)));
    }

    void hallo()
    {
        const Wav w = parseWav(lies(Klaenge + "/Hallo.wav"));
        QVERIFY(w.gueltig);
        QCOMPARE(w.format, 1);
        QCOMPARE(w.bits, 16);
        QVERIFY(w.sekunden() > 0.2 && w.sekunden() < 3);
        QVERIFY(rms(w.pcm, 0, qsizetype(w.pcm.size())) > 0.01);
    }
};

QTEST_GUILESS_MAIN(TestTon)
#include "test_ton.moc"
