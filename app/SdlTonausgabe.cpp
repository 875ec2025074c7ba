#include "app/SdlTonausgabe.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Ausblenden_ms = 6;    // long enough that a cut does not click
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

// Fades a cut-off channel sample by sample in the mixer's thread, then keeps it silent until it
// expires. The mixer's own fade only steps once per device buffer, which clicks.
void ausblenden(int, void* strom, int laenge, void* zustand)
{
    auto& z = *static_cast<SdlTonausgabe::Ausblendung*>(zustand);
    auto* s = static_cast<Sint16*>(strom);
    for (int i = 0; i < laenge / int(sizeof(Sint16) * 2); ++i) {
        const float faktor = z.rest > 0 ? float(z.rest--) / float(z.gesamt) : 0.0f;
        s[2 * i] = Sint16(s[2 * i] * faktor);
        s[2 * i + 1] = Sint16(s[2 * i + 1] * faktor);
    }
}

bool oeffne()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
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

SdlTonausgabe::SdlTonausgabe()
{
    SDL_SetMainReady();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    StderrStill still;
    m_offen = oeffne();
    if (!m_offen) {
        // No device: the dummy driver keeps every call valid and silent.
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        m_offen = oeffne();
    }
    if (m_offen)
        Mix_AllocateChannels(Kanaele);
}

SdlTonausgabe::~SdlTonausgabe()
{
    if (m_offen) {
        Mix_HaltChannel(-1);
        for (const Klang& k : std::as_const(m_klaenge))
            Mix_FreeChunk(k.chunk);
        Mix_CloseAudio();
    }
    // Audio is all this program uses of SDL; quitting it whole also frees the hints set above.
    SDL_Quit();
}

Mix_Chunk* SdlTonausgabe::lade(const QString& pfad)
{
    const QFileInfo info(pfad);
    if (!info.isFile())
        return nullptr;
    auto it = m_klaenge.find(pfad);
    if (it != m_klaenge.end()) {
        if (it->groesse == info.size() && it->geaendert == info.lastModified())
            return it->chunk;
        Mix_FreeChunk(it->chunk);
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
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(daten.constData(), int(daten.size())), 1);
    if (chunk)
        m_klaenge.insert(pfad, {info.size(), info.lastModified(), chunk});
    return chunk;
}

void SdlTonausgabe::spiele(const QString& pfad)
{
    if (!m_offen)
        return;
    if (Mix_Playing(m_kanal) && !Mix_Paused(m_kanal)) {
        Ausblendung& z = m_ausblendung[m_kanal];
        z.gesamt = z.rest = 44100 * Ausblenden_ms / 1000;
        Mix_RegisterEffect(m_kanal, ausblenden, nullptr, &z);
        Mix_ExpireChannel(m_kanal, Ausblenden_ms + 40); // halting also removes the effect
    }
    Mix_Chunk* chunk = lade(pfad);
    if (!chunk)
        return;
    m_kanal = (m_kanal + 1) % Kanaele;
    Mix_HaltChannel(m_kanal); // whatever still fades there is silent by now
    Mix_PlayChannel(m_kanal, chunk, 0);
}
