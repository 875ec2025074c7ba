#include "sound/PwStrom.h"

#include "sound/Mischer.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// How long the server may take to answer before it counts as hung.
constexpr int Antwortfrist_s = 2;
// The rate when the server does not tell its own.
constexpr int Ersatzrate = 48000;
// The quantum asked for while the sound is on (frames at the graph's rate): a new sound is heard
// about one quantum after the next cycle starts. 128 frames were quicker still (median 2.3-2.6 ms
// against 3.8-3.9) but dropped a period in half the sounds on a busy machine, and wake the whole
// desktop twice as often. PIPEWIRE_LATENCY ("128/48000") overrides it.
constexpr int Quantum = 256;
constexpr uint32_t Bytes_je_Frame = Mischer::Kanaele * sizeof(int16_t);

class PwNativ final : public PwStrom
{
public:
    ~PwNativ() override;
    bool verbinde();
    bool starte(Mischquelle& quelle) override;
    bool verloren() const override { return m_verloren.load(std::memory_order_relaxed); }
    int rate() const override { return m_rate; }
    void setzeKlangAn(bool an) override;

private:
    bool warte(const bool& fertig);
    static void kernInfo(void* selbst, const pw_core_info* info);
    static void kernFertig(void* selbst, uint32_t id, int seq);
    static void kernFehler(void* selbst, uint32_t id, int seq, int res, const char* meldung);
    static void stromZustand(void* selbst, pw_stream_state alt, pw_stream_state neu, const char* fehler);
    static void fuelle(void* selbst);

    pw_thread_loop* m_schleife = nullptr;
    pw_context* m_kontext = nullptr;
    pw_core* m_kern = nullptr;
    pw_stream* m_strom = nullptr;
    spa_hook m_kernHorcher{}, m_stromHorcher{};
    Mischquelle* m_quelle = nullptr;
    int m_rate = Ersatzrate;
    int m_sync = -1;
    bool m_synchron = false, m_bereit = false;
    std::atomic<bool> m_verloren{false};
};

} // namespace

bool PwNativ::verbinde()
{
    static const pw_core_events ereignisse = [] {
        pw_core_events e{};
        e.version = PW_VERSION_CORE_EVENTS;
        e.info = kernInfo;
        e.done = kernFertig;
        e.error = kernFehler;
        return e;
    }();
    m_schleife = pw_thread_loop_new("klavidor-pw", nullptr);
    if (!m_schleife)
        return false;
    // The configuration for real-time clients: its module gives the thread that mixes real-time
    // priority (through rtkit where the user may not take it), as PipeWire's own ALSA and JACK
    // clients have it; a mixing thread kept waiting costs a whole period of silence.
    m_kontext = pw_context_new(pw_thread_loop_get_loop(m_schleife),
                               pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", nullptr), 0);
    if (!m_kontext || pw_thread_loop_start(m_schleife) < 0)
        return false;
    pw_thread_loop_lock(m_schleife);
    // Never starts a server: none means the next output plays.
    m_kern = pw_context_connect(m_kontext, nullptr, 0);
    bool ok = m_kern != nullptr;
    if (ok) {
        pw_core_add_listener(m_kern, &m_kernHorcher, &ereignisse, this);
        // The answer comes after the core's info, which carries the graph's rate.
        m_sync = pw_core_sync(m_kern, PW_ID_CORE, 0);
        ok = warte(m_synchron);
    }
    pw_thread_loop_unlock(m_schleife);
    return ok;
}

// Waits on the loop's thread (its lock held) until `fertig`, the stream fails, or time is up.
bool PwNativ::warte(const bool& fertig)
{
    while (!fertig && !verloren())
        if (pw_thread_loop_timed_wait(m_schleife, Antwortfrist_s) != 0)
            return false;
    return fertig && !verloren();
}

void PwNativ::kernInfo(void* selbst, const pw_core_info* info)
{
    const char* rate = info && info->props ? spa_dict_lookup(info->props, "default.clock.rate") : nullptr;
    if (rate && std::atoi(rate) > 0)
        static_cast<PwNativ*>(selbst)->m_rate = std::atoi(rate);
}

void PwNativ::kernFertig(void* selbst, uint32_t id, int seq)
{
    auto* s = static_cast<PwNativ*>(selbst);
    if (id == PW_ID_CORE && seq == s->m_sync) {
        s->m_synchron = true;
        pw_thread_loop_signal(s->m_schleife, false);
    }
}

void PwNativ::kernFehler(void* selbst, uint32_t id, int, int res, const char*)
{
    auto* s = static_cast<PwNativ*>(selbst);
    // The connection broke (the server went): everything of it is gone.
    if (id == PW_ID_CORE && res == -EPIPE) {
        s->m_verloren = true;
        pw_thread_loop_signal(s->m_schleife, false);
    }
}

void PwNativ::stromZustand(void* selbst, pw_stream_state, pw_stream_state neu, const char*)
{
    auto* s = static_cast<PwNativ*>(selbst);
    if (neu == PW_STREAM_STATE_ERROR || neu == PW_STREAM_STATE_UNCONNECTED)
        s->m_verloren = true;
    if (neu == PW_STREAM_STATE_PAUSED || neu == PW_STREAM_STATE_STREAMING)
        s->m_bereit = true;
    pw_thread_loop_signal(s->m_schleife, false);
}

bool PwNativ::starte(Mischquelle& quelle)
{
    static const pw_stream_events ereignisse = [] {
        pw_stream_events e{};
        e.version = PW_VERSION_STREAM_EVENTS;
        e.state_changed = stromZustand;
        e.process = fuelle;
        return e;
    }();
    m_quelle = &quelle;
    const char* gewuenscht = std::getenv("PIPEWIRE_LATENCY");
    const std::string latenz = gewuenscht && *gewuenscht ? gewuenscht : std::to_string(Quantum) + "/" + std::to_string(m_rate);
    pw_thread_loop_lock(m_schleife);
    pw_properties* eigenschaften = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback",
                                                     PW_KEY_MEDIA_ROLE, "Game", PW_KEY_APP_NAME, "Klavidor",
                                                     PW_KEY_NODE_NAME, "Klavidor", PW_KEY_NODE_LATENCY, latenz.c_str(), nullptr);
    m_strom = pw_stream_new(m_kern, "Klaviertasten", eigenschaften);
    bool ok = m_strom != nullptr;
    if (ok) {
        pw_stream_add_listener(m_strom, &m_stromHorcher, &ereignisse, this);
        uint8_t puffer[512];
        spa_pod_builder bauer = SPA_POD_BUILDER_INIT(puffer, sizeof puffer);
        spa_audio_info_raw format{};
        format.format = SPA_AUDIO_FORMAT_S16;
        format.rate = uint32_t(m_rate);
        format.channels = Mischer::Kanaele;
        format.position[0] = SPA_AUDIO_CHANNEL_FL;
        format.position[1] = SPA_AUDIO_CHANNEL_FR;
        const spa_pod* parameter[] = {spa_format_audio_raw_build(&bauer, SPA_PARAM_EnumFormat, &format)};
        const auto flags = pw_stream_flags(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS);
        ok = pw_stream_connect(m_strom, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, parameter, 1) == 0 && warte(m_bereit);
    }
    pw_thread_loop_unlock(m_schleife);
    return ok;
}

// On the graph's real-time thread, once per cycle: mixes exactly what the graph asks for.
void PwNativ::fuelle(void* selbst)
{
    auto* s = static_cast<PwNativ*>(selbst);
    pw_buffer* b = pw_stream_dequeue_buffer(s->m_strom);
    if (!b)
        return;
    spa_data& d = b->buffer->datas[0];
    if (d.data) {
        uint32_t frames = d.maxsize / Bytes_je_Frame;
        if (b->requested)
            frames = std::min(frames, uint32_t(b->requested));
        s->m_quelle->mische(static_cast<int16_t*>(d.data), int(frames));
        d.chunk->offset = 0;
        d.chunk->stride = Bytes_je_Frame;
        d.chunk->size = frames * Bytes_je_Frame;
    }
    pw_stream_queue_buffer(s->m_strom, b);
}

void PwNativ::setzeKlangAn(bool an)
{
    pw_thread_loop_lock(m_schleife);
    if (m_strom)
        pw_stream_set_active(m_strom, an);
    pw_thread_loop_unlock(m_schleife);
}

PwNativ::~PwNativ()
{
    if (m_schleife)
        pw_thread_loop_stop(m_schleife);
    if (m_strom)
        pw_stream_destroy(m_strom);
    if (m_kern)
        pw_core_disconnect(m_kern);
    if (m_kontext)
        pw_context_destroy(m_kontext);
    if (m_schleife)
        pw_thread_loop_destroy(m_schleife);
}

// Whether a server may be there at all: the watcher asks twice a second, and a context costs more
// than a look at its socket.
static bool serverMoeglich()
{
    if (std::getenv("PIPEWIRE_REMOTE"))
        return true;
    const char* ort = std::getenv("PIPEWIRE_RUNTIME_DIR");
    if (!ort)
        ort = std::getenv("XDG_RUNTIME_DIR");
    return ort && access((std::string(ort) + "/pipewire-0").c_str(), F_OK) == 0;
}

extern "C" __attribute__((visibility("default"))) PwStrom* klavidor_pw_verbinde()
{
    if (!serverMoeglich())
        return nullptr;
    pw_init(nullptr, nullptr);
    auto* strom = new PwNativ;
    if (strom->verbinde())
        return strom;
    delete strom;
    return nullptr;
}
