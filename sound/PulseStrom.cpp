#include "sound/PulseStrom.h"

#include "sound/Mischer.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The buffer the server keeps for us, and the steps it asks for: a busy machine may keep the
// stream's thread waiting for most of the buffer without a dropout.
constexpr int Puffer_ms = 24;
constexpr int Schritt_ms = 4;
// A new sound starts this far past the sample the server takes next: the time the server needs
// to see the rewritten data, and the drift of the clocks since the server last told its position.
constexpr double Vorlauf_ms = 2;
constexpr size_t Bytes_je_Frame = Mischer::Kanaele * sizeof(int16_t);
// A server that takes longer to answer is hung: the player goes on to the next output.
constexpr pa_usec_t Antwortfrist_us = 1500 * PA_USEC_PER_MSEC;

uint32_t bytes(int ms) { return uint32_t(Mischer::Rate * ms / 1000 * Bytes_je_Frame); }
int64_t frames(pa_usec_t usec) { return int64_t(usec * Mischer::Rate / PA_USEC_PER_SEC); }

// On the stream's thread before the stream starts: a thread kept waiting runs the buffer dry, so
// it gets the priority SDL gives its own audio threads (through rtkit where the user may not set
// it). That may be a D-Bus call, which must never come in the middle of a fill.
void hebeVorrang(pa_threaded_mainloop*, void*)
{
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
    SDL_TLSCleanup(); // SDL's error text for this thread, which SDL did not make
}

} // namespace

std::unique_ptr<PulseStrom> PulseStrom::verbinde(Mischer& mischer)
{
    std::unique_ptr<PulseStrom> strom(new PulseStrom(mischer));
    strom->m_schleife = pa_threaded_mainloop_new();
    if (!strom->m_schleife || pa_threaded_mainloop_start(strom->m_schleife) < 0)
        return nullptr;
    pa_threaded_mainloop_lock(strom->m_schleife);
    const bool ok = strom->verbindeKontext();
    pa_threaded_mainloop_unlock(strom->m_schleife);
    return ok ? std::move(strom) : nullptr;
}

bool PulseStrom::starte()
{
    pa_threaded_mainloop_lock(m_schleife);
    pa_threaded_mainloop_once_unlocked(m_schleife, hebeVorrang, nullptr); // runs before the stream's first fill
    const bool ok = starteStrom() && stelleWeckerAuf();
    pa_threaded_mainloop_unlock(m_schleife);
    return ok;
}

// Waits on the stream's thread (its lock held) until `zustand` says 1 (ready) or -1 (failed), or
// the server took too long.
template <class Zustand> bool PulseStrom::warte(Zustand zustand)
{
    m_zuSpaet = false;
    auto abgelaufen = [](pa_mainloop_api*, pa_time_event*, const timeval*, void* selbst) {
        auto* s = static_cast<PulseStrom*>(selbst);
        s->m_zuSpaet = true;
        pa_threaded_mainloop_signal(s->m_schleife, 0);
    };
    pa_time_event* frist = pa_context_rttime_new(m_kontext, pa_rtclock_now() + Antwortfrist_us, abgelaufen, this);
    int z = 0;
    while ((z = zustand()) == 0 && !m_zuSpaet)
        pa_threaded_mainloop_wait(m_schleife);
    if (frist)
        pa_threaded_mainloop_get_api(m_schleife)->time_free(frist);
    return z > 0;
}

void PulseStrom::kontextMeldet(pa_context* kontext, void* selbst)
{
    auto* s = static_cast<PulseStrom*>(selbst);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(kontext)))
        s->m_verloren = true;
    pa_threaded_mainloop_signal(s->m_schleife, 0);
}

void PulseStrom::stromMeldet(pa_stream* strom, void* selbst)
{
    auto* s = static_cast<PulseStrom*>(selbst);
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(strom)))
        s->m_verloren = true;
    pa_threaded_mainloop_signal(s->m_schleife, 0);
}

bool PulseStrom::verbindeKontext()
{
    pa_proplist* eigenschaften = pa_proplist_new();
    pa_proplist_sets(eigenschaften, PA_PROP_APPLICATION_NAME, "Klavidor");
    pa_proplist_sets(eigenschaften, PA_PROP_APPLICATION_ID, "de.klavidor.Klavidor");
    m_kontext = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_schleife), "Klavidor", eigenschaften);
    pa_proplist_free(eigenschaften);
    if (!m_kontext)
        return false;
    pa_context_set_state_callback(m_kontext, kontextMeldet, this);
    // Never starts a server of its own: no server means SDL plays.
    if (pa_context_connect(m_kontext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    return warte([this] {
        const pa_context_state_t zustand = pa_context_get_state(m_kontext);
        return zustand == PA_CONTEXT_READY ? 1 : PA_CONTEXT_IS_GOOD(zustand) ? 0 : -1;
    });
}

bool PulseStrom::starteStrom()
{
    const pa_sample_spec format{PA_SAMPLE_S16NE, Mischer::Rate, Mischer::Kanaele};
    m_strom = pa_stream_new(m_kontext, "Klaviertasten", &format, nullptr);
    if (!m_strom)
        return false;
    pa_stream_set_state_callback(m_strom, stromMeldet, this);
    pa_stream_set_write_callback(m_strom, fuelle, this);
    // The whole latency, server included, is the buffer; playing starts with the first step.
    const pa_buffer_attr puffer{uint32_t(-1), bytes(Puffer_ms), bytes(Schritt_ms), bytes(Schritt_ms), uint32_t(-1)};
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(m_strom, nullptr, &puffer, flags, nullptr, nullptr) < 0)
        return false;
    return warte([this] {
        const pa_stream_state_t zustand = pa_stream_get_state(m_strom);
        return zustand == PA_STREAM_READY ? 1 : PA_STREAM_IS_GOOD(zustand) ? 0 : -1;
    });
}

bool PulseStrom::stelleWeckerAuf()
{
    if (pipe2(m_wecker, O_NONBLOCK | O_CLOEXEC) < 0)
        return false;
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_schleife);
    m_weckEreignis = api->io_new(api, m_wecker[0], PA_IO_EVENT_INPUT, geweckt, this);
    const int fd = m_wecker[1];
    m_mischer.setzeWecker([fd] {
        const char c = 0;
        [[maybe_unused]] const auto n = write(fd, &c, 1); // a full pipe is a wake-up already pending
    });
    frageSenke();
    return m_weckEreignis != nullptr;
}

// Mixes `bytes` from frame `ab` on (-1 = where the stream stands) and hands them to the server.
void PulseStrom::schreibe(size_t bytes, int64_t ab)
{
    while (bytes >= Bytes_je_Frame) {
        void* daten = nullptr;
        size_t n = bytes;
        if (pa_stream_begin_write(m_strom, &daten, &n) < 0 || !daten)
            return;
        n = std::min(n, bytes);
        n -= n % Bytes_je_Frame;
        m_mischer.mische(static_cast<int16_t*>(daten), int(n / Bytes_je_Frame));
        const bool neu = ab >= 0;
        pa_stream_write(m_strom, daten, n, nullptr, neu ? ab * int64_t(Bytes_je_Frame) : 0,
                        neu ? PA_SEEK_ABSOLUTE : PA_SEEK_RELATIVE);
        ab = -1;
        bytes -= n;
    }
}

// On the stream's thread, whenever the server has room: mixes exactly what it asks for.
void PulseStrom::fuelle(pa_stream*, size_t bytes, void* selbst)
{
    static_cast<PulseStrom*>(selbst)->schreibe(bytes, -1);
}

// On the stream's thread, after a command: mixes again from just past what the server has taken,
// so the command is heard now and not after the buffer.
void PulseStrom::nachholen()
{
    pa_usec_t gespielt = 0;
    const pa_timing_info* zeit = pa_stream_get_timing_info(m_strom);
    if (!zeit || pa_stream_get_time(m_strom, &gespielt) < 0)
        return; // no timing yet: the next fill carries the command out
    // The sink may already hold up to its latency beyond the sample playing: as configured now
    // (other streams may have lowered it), or as first set up for this stream.
    const pa_usec_t senke = std::max(zeit->sink_usec, m_senkenLatenz ? m_senkenLatenz : zeit->configured_sink_usec);
    // And the server may have taken more from the stream than that: PipeWire's takes a whole
    // period at once and reports no sink latency. Data before its read index is never played.
    const int64_t gelesen = zeit->read_index / int64_t(Bytes_je_Frame) + frames(pa_timeval_age(&zeit->timestamp));
    const int64_t ziel = std::max(frames(gespielt) + frames(senke), gelesen) + int64_t(Mischer::Rate * Vorlauf_ms / 1000);
    const int64_t bis = m_mischer.position();
    const int64_t ab = m_mischer.zurueck(ziel);
    if (ab < bis)
        schreibe(size_t(bis - ab) * Bytes_je_Frame, ab);
    // Fresh figures for the next command.
    frageSenke();
    if (pa_operation* frage = pa_stream_update_timing_info(m_strom, nullptr, nullptr))
        pa_operation_unref(frage);
}

// Asks for the sink's latency as it is configured now; the answer serves the next command.
void PulseStrom::frageSenke()
{
    auto antwort = [](pa_context*, const pa_sink_info* senke, int, void* selbst) {
        if (senke && senke->configured_latency > 0)
            static_cast<PulseStrom*>(selbst)->m_senkenLatenz = senke->configured_latency;
    };
    if (pa_operation* frage = pa_context_get_sink_info_by_index(m_kontext, pa_stream_get_device_index(m_strom), antwort, this))
        pa_operation_unref(frage);
}

void PulseStrom::geweckt(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* selbst)
{
    char leer[64];
    while (read(fd, leer, sizeof leer) > 0) {
    }
    static_cast<PulseStrom*>(selbst)->nachholen();
}

PulseStrom::~PulseStrom()
{
    if (m_wecker[1] >= 0)
        m_mischer.setzeWecker({}); // waits for a command still ringing it
    if (!m_schleife)
        return;
    pa_threaded_mainloop_lock(m_schleife);
    if (m_weckEreignis)
        pa_threaded_mainloop_get_api(m_schleife)->io_free(m_weckEreignis);
    if (m_strom) {
        pa_stream_set_write_callback(m_strom, nullptr, nullptr);
        pa_stream_set_state_callback(m_strom, nullptr, nullptr);
        pa_stream_disconnect(m_strom);
        pa_stream_unref(m_strom);
    }
    if (m_kontext) {
        pa_context_set_state_callback(m_kontext, nullptr, nullptr);
        pa_context_disconnect(m_kontext);
        pa_context_unref(m_kontext);
    }
    pa_threaded_mainloop_unlock(m_schleife);
    pa_threaded_mainloop_stop(m_schleife);
    pa_threaded_mainloop_free(m_schleife);
    for (int fd : m_wecker)
        if (fd >= 0)
            close(fd);
}

