#include "sound/SdlTonausgabe.h"

#include "sound/Klangsuche.h"
#include "sound/PulseStrom.h"
#include "sound/PwStrom.h"
#include "sound/SdlAudio.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <samplerate.h>
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
constexpr const char* Nativ = "pipewire";
constexpr const char* Pw_Modul = "klavidor_pw.so";

// The outputs in the order they are tried; KLAVIDOR_AUSGABE names the first one to try.
enum class Ausgabe { PipeWire, Pulse, Sdl };
Ausgabe ersteAusgabe()
{
    const QByteArray name = qgetenv("KLAVIDOR_AUSGABE");
    return name == "sdl" ? Ausgabe::Sdl : name == "pulse" ? Ausgabe::Pulse : Ausgabe::PipeWire;
}

// Our own PulseAudio stream unless SDL was told which driver to use.
bool pulseDirekt()
{
#ifdef KLAVIDOR_MIT_PULSE
    return qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER") && ersteAusgabe() != Ausgabe::Sdl;
#else
    return false;
#endif
}

bool pwErlaubt() { return qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER") && ersteAusgabe() == Ausgabe::PipeWire; }

// The PipeWire module lies beside the player's (KLAVIDOR_PW_MODUL names another); it is loaded
// once and kept, since libpipewire runs threads of its own. Missing or failing: no PipeWire.
PwVerbinder pwVerbinder()
{
    static const PwVerbinder verbinder = [] {
        QByteArray ort = qgetenv("KLAVIDOR_PW_MODUL");
        Dl_info info{};
        if (ort.isEmpty() && dladdr(reinterpret_cast<void*>(&pwErlaubt), &info) && info.dli_fname)
            ort = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath().toLocal8Bit() + "/" + Pw_Modul;
        void* modul = dlopen(ort.constData(), RTLD_NOW | RTLD_LOCAL);
        return modul ? reinterpret_cast<PwVerbinder>(dlsym(modul, "klavidor_pw_verbinde")) : nullptr;
    }();
    return verbinder;
}

std::unique_ptr<PwStrom> suchePw()
{
    const PwVerbinder verbinde = pwVerbinder();
    return std::unique_ptr<PwStrom>(verbinde ? verbinde() : nullptr);
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

SdlTonausgabe::SdlTonausgabe() : m_pwErlaubt(pwErlaubt()), m_direktErlaubt(pulseDirekt())
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
    const auto gerufen = [this] { return m_ende || m_klangAn != m_klangGemeldet; };
    while (!m_ende) {
        if (m_klangAn != m_klangGemeldet) {
            m_klangGemeldet = m_klangAn;
            const bool an = m_klangAn;
            sperre.unlock();
            if (m_pw)
                m_pw->setzeKlangAn(an);
            sperre.lock();
        } else if (!m_wachRuf.wait_for(sperre, Pruefabstand, gerufen)) {
            sperre.unlock();
            pruefe();
            sperre.lock();
        }
    }
    sperre.unlock();
    SDL_TLSCleanup(); // SDL's per-thread data of this thread, which SDL did not make
}

// Told to the stream by the watcher, so the caller never waits for the server.
void SdlTonausgabe::setzeKlangAn(bool an)
{
    {
        std::lock_guard sperre(m_wachSperre);
        m_klangAn = an;
    }
    m_wachRuf.notify_all();
}

// Replaces an output that went away, and goes back to the best one as soon as it answers.
void SdlTonausgabe::pruefe()
{
    const bool weg = m_pw ? m_pw->verloren() : m_pulse ? m_pulse->verloren() : m_geraet && SdlAudio::weg(m_geraet);
    if (weg) {
        m_geraetVerloren = !m_pw && !m_pulse && !m_notbehelf;
        schliesse();
        oeffneAusgabe();
        return;
    }
    const auto jetzt = std::chrono::steady_clock::now();
    if (m_pw || jetzt < m_naechsteSuche)
        return;
    m_naechsteSuche = jetzt + Suchabstand;
    if (m_pwErlaubt) {
        if (auto strom = suchePw()) {
            schliesse();
            if (!uebernimmPw(std::move(strom)))
                oeffneAusgabe();
            return;
        }
    }
    if (m_pulse)
        return;
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

// Opens the best output that answers: our own streams, SDL's device, or else SDL's silent dummy,
// which keeps every call valid.
void SdlTonausgabe::oeffneAusgabe()
{
    if (oeffneNativ())
        return;
    StderrStill still; // the audio libraries underneath complain about missing devices
    wechsleRate(Mischer::Rate);
    m_notbehelf = !oeffneSdl(nullptr) && oeffneSdl("dummy");
}

bool SdlTonausgabe::oeffneNativ()
{
    if (m_pwErlaubt && uebernimmPw(suchePw()))
        return true;
    return m_direktErlaubt && uebernimm(suchePulse(m_mischer));
}

// The mix goes on at `rate`: the sounds follow, off the audio thread (no output mixes now).
void SdlTonausgabe::wechsleRate(int rate)
{
    if (rate == m_mischer.rate())
        return;
    m_mischer.setzeRate(rate);
    passeKlaengeAn();
}

bool SdlTonausgabe::uebernimmPw(std::unique_ptr<PwStrom> strom)
{
    if (!strom)
        return false;
    wechsleRate(strom->rate());
    m_mischer.neuerStrom();
    if (!strom->starte(m_mischer))
        return false;
    m_pw = std::move(strom);
    {
        std::lock_guard sperre(m_wachSperre);
        m_klangGemeldet = m_klangAn;
    }
    if (!m_klangGemeldet)
        m_pw->setzeKlangAn(false);
    setzeTreiber(Nativ);
    return true;
}

// Starts `strom` in place of the output before, which no longer mixes.
bool SdlTonausgabe::uebernimm(std::unique_ptr<PulseStrom> strom)
{
    if (!strom)
        return false;
    wechsleRate(Mischer::Rate);
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
    wunsch.freq = m_mischer.rate();
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
    m_pw.reset();
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

namespace {

struct Dekodiert
{
    Mischer::Klang samples; // Mischer::Kanaele interleaved
    int rate = 0;
};

// Decodes any wave file SDL reads, at its own rate, with the mixer's channels.
Dekodiert dekodiere(const QByteArray& daten)
{
    SDL_AudioSpec format;
    Uint8* roh = nullptr;
    Uint32 laenge = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(daten.constData(), int(daten.size())), 1, &format, &roh, &laenge))
        return {};
    if (format.format == AUDIO_S16SYS && (format.channels == 1 || format.channels == 2)) {
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
        return {frames ? samples : nullptr, format.freq};
    }
    SDL_AudioCVT cvt;
    if (laenge == 0
        || SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_F32SYS, Mischer::Kanaele, format.freq) < 0) {
        SDL_FreeWAV(roh);
        return {};
    }
    std::vector<Uint8> arbeit(size_t(laenge) * size_t(std::max(cvt.len_mult, 1)));
    std::memcpy(arbeit.data(), roh, laenge);
    SDL_FreeWAV(roh);
    cvt.buf = arbeit.data();
    cvt.len = int(laenge);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0)
        return {};
    const size_t werte = size_t(cvt.needed ? cvt.len_cvt : cvt.len) / sizeof(float) / Mischer::Kanaele * Mischer::Kanaele;
    auto samples = std::make_shared<std::vector<float>>(werte);
    std::memcpy(samples->data(), arbeit.data(), werte * sizeof(float));
    return {samples, format.freq};
}

// `frames` frames of `kanaele` interleaved channels from `von` to `verhaeltnis` times as many in
// `nach`, by libsamplerate; the number of frames made, 0 on failure.
long wandle(const float* von, long frames, int kanaele, double verhaeltnis, std::vector<float>& nach)
{
    nach.resize(size_t(double(frames) * verhaeltnis + 1) * size_t(kanaele));
    SRC_DATA auftrag{};
    auftrag.data_in = von;
    auftrag.input_frames = frames;
    auftrag.data_out = nach.data();
    auftrag.output_frames = long(nach.size()) / kanaele;
    auftrag.src_ratio = verhaeltnis;
    return src_simple(&auftrag, SRC_SINC_FASTEST, kanaele) == 0 ? auftrag.output_frames_gen : 0;
}

// The sound at `rate`; the same sound where the rates agree. A mono file (both channels alike, as
// the key sounds are) is resampled once, not twice.
Mischer::Klang passeAn(const Mischer::Klang& klang, int vonRate, int rate)
{
    if (!klang || vonRate == rate || vonRate <= 0)
        return klang;
    static_assert(Mischer::Kanaele == 2);
    const std::vector<float>& k = *klang;
    const long frames = long(k.size() / Mischer::Kanaele);
    bool mono = true;
    for (size_t i = 0; mono && i < k.size(); i += Mischer::Kanaele)
        mono = k[i] == k[i + 1];
    std::vector<float> quelle, ziel;
    if (mono) {
        quelle.resize(size_t(frames));
        for (long i = 0; i < frames; ++i)
            quelle[size_t(i)] = k[size_t(i) * Mischer::Kanaele];
    }
    const int kanaele = mono ? 1 : Mischer::Kanaele;
    const long n = wandle(mono ? quelle.data() : k.data(), frames, kanaele, double(rate) / vonRate, ziel);
    if (n == 0)
        return nullptr;
    auto aus = std::make_shared<std::vector<float>>(size_t(n) * Mischer::Kanaele);
    for (size_t i = 0; i < aus->size(); ++i)
        (*aus)[i] = ziel[mono ? i / Mischer::Kanaele : i];
    return aus;
}

} // namespace

// A sound decoded before, brought to the mix's rate if it is not at it yet; nullptr if there is
// none or the file changed since.
Mischer::Klang SdlTonausgabe::gespeichert(const QString& pfad, const QFileInfo& info)
{
    std::unique_lock sperre(m_klangSperre);
    auto it = m_klaenge.find(pfad);
    if (it == m_klaenge.end())
        return nullptr;
    if (it->groesse != info.size() || it->geaendert != info.lastModified()) {
        m_klaenge.erase(it);
        return nullptr;
    }
    const int rate = m_mischer.rate();
    if (it->rate == rate)
        return it->samples;
    if (!it->datei) { // not kept: read again
        m_klaenge.erase(it);
        return nullptr;
    }
    Klang k = *it;
    sperre.unlock();
    k.samples = passeAn(k.datei, k.dateiRate, rate);
    k.rate = rate;
    sperre.lock();
    m_klaenge.insert(pfad, k);
    return k.samples;
}

Mischer::Klang SdlTonausgabe::lade(const QString& gefragt)
{
    // Not where the program was started: beside the program, or where it is installed.
    const QString pfad = findeKlang(gefragt);
    const QFileInfo info(pfad);
    if (pfad.isEmpty() || !info.isFile())
        return nullptr;
    if (Mischer::Klang samples = gespeichert(pfad, info))
        return samples;
    if (info.size() <= 0 || info.size() > Groesste_Datei)
        return nullptr;
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return nullptr;
    QByteArray daten = f.readAll();
    begrenzeWav(daten);
    // Decoded from memory: the declared sizes inside the file cannot reach past what was read.
    const Dekodiert d = dekodiere(daten);
    const int rate = m_mischer.rate();
    Mischer::Klang samples = passeAn(d.samples, d.rate, rate);
    if (samples) {
        std::lock_guard sperre(m_klangSperre);
        // The decoded file is kept only where it costs nothing (no resampling); a change of rate
        // reads the file again.
        m_klaenge.insert(pfad, {info.size(), info.lastModified(), samples == d.samples ? d.samples : nullptr, d.rate, samples, rate});
    }
    return samples;
}

// On the watcher, after the mix's rate changed: every sound loaded so far follows it, so no
// click resamples its file; the registered ones are registered anew.
void SdlTonausgabe::passeKlaengeAn()
{
    QStringList pfade, gemerkt;
    {
        std::lock_guard sperre(m_klangSperre);
        pfade = m_klaenge.keys();
        gemerkt = m_gemerkt;
    }
    for (const QString& pfad : pfade)
        lade(pfad);
    for (qsizetype i = 0; i < gemerkt.size(); ++i)
        m_mischer.merke(int(i), lade(gemerkt[i]));
}

void SdlTonausgabe::merkeKlaenge(const QStringList& pfade)
{
    {
        std::lock_guard sperre(m_klangSperre);
        m_gemerkt = pfade;
    }
    for (qsizetype i = 0; i < pfade.size(); ++i)
        m_mischer.merke(int(i), lade(pfade[i]));
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
