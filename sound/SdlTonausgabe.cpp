#include "sound/SdlTonausgabe.h"

#include "sound/Klangsuche.h"
#include "sound/PulseStrom.h"
#include "sound/SdlAudio.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 Groesste_Datei = 32 * 1024 * 1024;

// The audio libraries underneath write their complaints about missing devices to stderr;
// a machine without sound is not an error for us.
class StderrStill
{
public:
    StderrStill() : m_alt(dup(STDERR_FILENO))
    {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~StderrStill()
    {
        if (m_alt >= 0) {
            dup2(m_alt, STDERR_FILENO);
            close(m_alt);
        }
    }

private:
    int m_alt;
};

constexpr int Sdl_Periode = 512; // frames SDL mixes at a time: its driver's buffer is one period
// How often the watcher looks at the output, and how often it looks for a better one.
constexpr auto Pruefabstand = std::chrono::milliseconds(100);
constexpr auto Suchabstand = std::chrono::milliseconds(500);
constexpr const char* Direkt = "pulseaudio-direkt";

// Our own PulseAudio stream unless SDL was told which driver to use.
bool pulseDirekt()
{
#ifdef KLAVIDOR_MIT_PULSE
    return qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER");
#else
    return false;
#endif
}

void sdlFuelle(void* mischer, Uint8* strom, int laenge)
{
    static_cast<Mischer*>(mischer)->mische(reinterpret_cast<int16_t*>(strom), laenge / int(sizeof(int16_t) * Mischer::Kanaele));
}

quint32 le32(const QByteArray& d, qsizetype i)
{
    return quint32(uchar(d[i])) | quint32(uchar(d[i + 1])) << 8 | quint32(uchar(d[i + 2])) << 16
           | quint32(uchar(d[i + 3])) << 24;
}

void setzeLe32(QByteArray& d, qsizetype i, quint32 v)
{
    for (int b = 0; b < 4; ++b)
        d[i + b] = char((v >> (8 * b)) & 0xFF);
}

// Sizes declared inside a wave file are trimmed to the bytes that are really there, so that a
// damaged or hostile header cannot make the decoder reach for gigabytes.
void begrenzeWav(QByteArray& d)
{
    if (d.size() < 12 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE")
        return;
    setzeLe32(d, 4, quint32(d.size() - 8));
    for (qsizetype i = 12; i + 8 <= d.size();) {
        const qsizetype rest = d.size() - (i + 8);
        const quint32 laenge = le32(d, i + 4);
        if (laenge > rest) {
            setzeLe32(d, i + 4, quint32(rest));
            return;
        }
        i += 8 + laenge + (laenge & 1);
    }
}

} // namespace

#ifdef KLAVIDOR_MIT_PULSE
static std::unique_ptr<PulseStrom> suchePulse(Mischer& mischer) { return PulseStrom::verbinde(mischer); }
#else
// Built without libpulse: there is never a stream.
PulseStrom::~PulseStrom() = default;
bool PulseStrom::starte() { return false; }
static std::unique_ptr<PulseStrom> suchePulse(Mischer&) { return nullptr; }
#endif

SdlTonausgabe::SdlTonausgabe() : m_direktErlaubt(pulseDirekt())
{
    oeffneAusgabe();
    m_naechsteSuche = std::chrono::steady_clock::now() + Suchabstand;
    m_waechter = std::thread([this] { wache(); });
}

SdlTonausgabe::~SdlTonausgabe()
{
    {
        std::lock_guard sperre(m_wachSperre);
        m_ende = true;
    }
    m_wachRuf.notify_all();
    m_waechter.join();
    schliesse();
}

void SdlTonausgabe::wache()
{
    std::unique_lock sperre(m_wachSperre);
    while (!m_wachRuf.wait_for(sperre, Pruefabstand, [this] { return m_ende; })) {
        sperre.unlock();
        pruefe();
        sperre.lock();
    }
    sperre.unlock();
    SDL_TLSCleanup(); // SDL's per-thread data of this thread, which SDL did not make
}

// Replaces an output that went away, and goes back to the best one as soon as it answers.
void SdlTonausgabe::pruefe()
{
    if (m_pulse ? m_pulse->verloren() : m_geraet && SdlAudio::weg(m_geraet)) {
        m_geraetVerloren = !m_pulse && !m_notbehelf;
        schliesse();
        oeffneAusgabe();
        return;
    }
    const auto jetzt = std::chrono::steady_clock::now();
    if (m_pulse || jetzt < m_naechsteSuche)
        return;
    m_naechsteSuche = jetzt + Suchabstand;
    if (m_direktErlaubt) {
        if (auto strom = suchePulse(m_mischer)) {
            schliesse();
            if (!uebernimm(std::move(strom)))
                oeffneAusgabe();
            return;
        }
    }
    // On SDL's dummy after a device went: the device may be back.
    if (!m_geraet || (m_notbehelf && m_geraetVerloren)) {
        schliesse();
        oeffneAusgabe();
    }
}

// Opens the best output that answers: our own stream, SDL's device, or else SDL's silent dummy,
// which keeps every call valid.
void SdlTonausgabe::oeffneAusgabe()
{
    if (m_direktErlaubt && uebernimm(suchePulse(m_mischer)))
        return;
    StderrStill still; // the audio libraries underneath complain about missing devices
    m_notbehelf = !oeffneSdl(nullptr) && oeffneSdl("dummy");
}

// Starts `strom` in place of the output before, which no longer mixes.
bool SdlTonausgabe::uebernimm(std::unique_ptr<PulseStrom> strom)
{
    if (!strom)
        return false;
    m_mischer.neuerStrom();
    if (!strom->starte())
        return false;
    m_pulse = std::move(strom);
    setzeTreiber(Direkt);
    return true;
}

bool SdlTonausgabe::oeffneSdl(const char* treiber)
{
    if (!SdlAudio::starte(treiber))
        return false;
    SDL_AudioSpec wunsch{};
    wunsch.freq = Mischer::Rate;
    wunsch.format = AUDIO_S16SYS;
    wunsch.channels = Mischer::Kanaele;
    wunsch.samples = Sdl_Periode;
    wunsch.callback = sdlFuelle;
    wunsch.userdata = &m_mischer;
    m_mischer.neuerStrom();
    // SDL converts to whatever the device wants.
    m_geraet = SdlAudio::oeffne(false, wunsch);
    if (m_geraet == 0) {
        SdlAudio::beende();
        return false;
    }
    SDL_PauseAudioDevice(m_geraet, 0);
    setzeTreiber(SDL_GetCurrentAudioDriver());
    return true;
}

// Ends the output fully: afterwards nothing mixes.
void SdlTonausgabe::schliesse()
{
    setzeTreiber({});
    m_pulse.reset();
    if (m_geraet) {
        SdlAudio::schliesse(m_geraet);
        m_geraet = 0;
        SdlAudio::beende();
    }
}

void SdlTonausgabe::setzeTreiber(const QByteArray& treiber)
{
    std::lock_guard sperre(m_treiberSperre);
    m_treiber = treiber;
}

QByteArray SdlTonausgabe::treiber() const
{
    std::lock_guard sperre(m_treiberSperre);
    return m_treiber;
}

// Decodes any wave file SDL reads and brings it to the mixer's rate and channels.
static Mischer::Klang dekodiere(const QByteArray& daten)
{
    SDL_AudioSpec format;
    Uint8* roh = nullptr;
    Uint32 laenge = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(daten.constData(), int(daten.size())), 1, &format, &roh, &laenge))
        return nullptr;
    if (format.format == AUDIO_S16SYS && format.freq == Mischer::Rate && (format.channels == 1 || format.channels == 2)) {
        // The key sounds' own format: converted in one pass, a click's cost on first use.
        static_assert(Mischer::Kanaele == 2);
        const auto* q = reinterpret_cast<const int16_t*>(roh);
        const size_t frames = laenge / sizeof(int16_t) / format.channels;
        auto samples = std::make_shared<std::vector<float>>(frames * Mischer::Kanaele);
        float* z = samples->data();
        for (size_t i = 0; i < frames; ++i, q += format.channels) {
            *z++ = q[0] * (1.0f / 32768);
            *z++ = q[format.channels - 1] * (1.0f / 32768);
        }
        SDL_FreeWAV(roh);
        return frames ? samples : nullptr;
    }
    SDL_AudioCVT cvt;
    if (laenge == 0
        || SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_F32SYS, Mischer::Kanaele, Mischer::Rate) < 0) {
        SDL_FreeWAV(roh);
        return nullptr;
    }
    std::vector<Uint8> arbeit(size_t(laenge) * size_t(std::max(cvt.len_mult, 1)));
    std::memcpy(arbeit.data(), roh, laenge);
    SDL_FreeWAV(roh);
    cvt.buf = arbeit.data();
    cvt.len = int(laenge);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0)
        return nullptr;
    const size_t werte = size_t(cvt.needed ? cvt.len_cvt : cvt.len) / sizeof(float) / Mischer::Kanaele * Mischer::Kanaele;
    auto samples = std::make_shared<std::vector<float>>(werte);
    std::memcpy(samples->data(), arbeit.data(), werte * sizeof(float));
    return samples;
}

Mischer::Klang SdlTonausgabe::lade(const QString& gefragt)
{
    // Not where the program was started: beside the program, or where it is installed.
    const QString pfad = findeKlang(gefragt);
    const QFileInfo info(pfad);
    if (pfad.isEmpty() || !info.isFile())
        return nullptr;
    auto it = m_klaenge.find(pfad);
    if (it != m_klaenge.end()) {
        if (it->groesse == info.size() && it->geaendert == info.lastModified())
            return it->samples;
        m_klaenge.erase(it);
    }
    if (info.size() <= 0 || info.size() > Groesste_Datei)
        return nullptr;
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return nullptr;
    QByteArray daten = f.readAll();
    begrenzeWav(daten);
    // Decoded from memory: the declared sizes inside the file cannot reach past what was read.
    Mischer::Klang samples = dekodiere(daten);
    if (samples)
        m_klaenge.insert(pfad, {info.size(), info.lastModified(), samples});
    return samples;
}

void SdlTonausgabe::vorladen(const QStringList& pfade)
{
    for (const QString& pfad : pfade)
        lade(pfad);
}

void SdlTonausgabe::spiele(const QString& pfad)
{
    m_mischer.klick(lade(pfad)); // a missing file still cuts the sound before it
}

int SdlTonausgabe::halteStimme(const QString& pfad, double lautstaerke)
{
    Mischer::Klang samples = lade(pfad);
    return samples ? m_mischer.halte(std::move(samples), lautstaerke) : 0;
}

void SdlTonausgabe::loeseStimme(int stimme)
{
    m_mischer.loese(stimme);
}
