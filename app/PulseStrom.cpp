#include "app/PulseStrom.h"

#include "app/Mischer.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <pulse/pulseaudio.h>

namespace {

// The buffer the server keeps for us, and the steps it asks for: small enough that a new sound is
// heard within a few milliseconds, large enough that a busy machine does not run it dry.
constexpr int Puffer_ms = 8;
constexpr int Schritt_ms = 2;
constexpr size_t Bytes_je_Frame = Mischer::Kanaele * sizeof(int16_t);

uint32_t bytes(int ms) { return uint32_t(Mischer::Rate * ms / 1000 * Bytes_je_Frame); }

void melde(pa_context*, void* schleife) { pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(schleife), 0); }
void meldeStrom(pa_stream*, void* schleife) { pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(schleife), 0); }

} // namespace

std::unique_ptr<PulseStrom> PulseStrom::oeffne(Mischer& mischer)
{
    std::unique_ptr<PulseStrom> strom(new PulseStrom(mischer));
    strom->m_schleife = pa_threaded_mainloop_new();
    if (!strom->m_schleife || pa_threaded_mainloop_start(strom->m_schleife) < 0)
        return nullptr;
    pa_threaded_mainloop_lock(strom->m_schleife);
    const bool ok = strom->verbinde() && strom->starteStrom();
    pa_threaded_mainloop_unlock(strom->m_schleife);
    return ok ? std::move(strom) : nullptr;
}

bool PulseStrom::verbinde()
{
    pa_proplist* eigenschaften = pa_proplist_new();
    pa_proplist_sets(eigenschaften, PA_PROP_APPLICATION_NAME, "Klavidor");
    pa_proplist_sets(eigenschaften, PA_PROP_APPLICATION_ID, "de.klavidor.Klavidor");
    m_kontext = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_schleife), "Klavidor", eigenschaften);
    pa_proplist_free(eigenschaften);
    if (!m_kontext)
        return false;
    pa_context_set_state_callback(m_kontext, melde, m_schleife);
    // Never starts a server of its own: no server means SDL plays.
    if (pa_context_connect(m_kontext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    for (;;) {
        const pa_context_state_t zustand = pa_context_get_state(m_kontext);
        if (zustand == PA_CONTEXT_READY)
            return true;
        if (!PA_CONTEXT_IS_GOOD(zustand))
            return false;
        pa_threaded_mainloop_wait(m_schleife);
    }
}

bool PulseStrom::starteStrom()
{
    const pa_sample_spec format{PA_SAMPLE_S16NE, Mischer::Rate, Mischer::Kanaele};
    m_strom = pa_stream_new(m_kontext, "Klaviertasten", &format, nullptr);
    if (!m_strom)
        return false;
    pa_stream_set_state_callback(m_strom, meldeStrom, m_schleife);
    pa_stream_set_write_callback(m_strom, fuelle, this);
    // The whole latency, server included, is the buffer; playing starts with the first step.
    const pa_buffer_attr puffer{uint32_t(-1), bytes(Puffer_ms), bytes(Schritt_ms), bytes(Schritt_ms), uint32_t(-1)};
    if (pa_stream_connect_playback(m_strom, nullptr, &puffer, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
        return false;
    for (;;) {
        const pa_stream_state_t zustand = pa_stream_get_state(m_strom);
        if (zustand == PA_STREAM_READY)
            return true;
        if (!PA_STREAM_IS_GOOD(zustand))
            return false;
        pa_threaded_mainloop_wait(m_schleife);
    }
}

// On the stream's thread, whenever the server has room: mixes exactly what it asks for.
void PulseStrom::fuelle(pa_stream* strom, size_t bytes, void* selbst)
{
    auto* s = static_cast<PulseStrom*>(selbst);
    if (!s->m_vorrang) {
        // A buffer this small runs dry if a busy machine keeps the thread waiting: it gets the
        // priority SDL gives its own audio threads (through rtkit where the user may not set it).
        SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
        s->m_vorrang = true;
    }
    auto& mischer = s->m_mischer;
    while (bytes >= Bytes_je_Frame) {
        void* daten = nullptr;
        size_t n = bytes;
        if (pa_stream_begin_write(strom, &daten, &n) < 0 || !daten)
            return;
        n -= n % Bytes_je_Frame;
        mischer.mische(static_cast<int16_t*>(daten), int(n / Bytes_je_Frame));
        pa_stream_write(strom, daten, n, nullptr, 0, PA_SEEK_RELATIVE);
        bytes -= n;
    }
}

PulseStrom::~PulseStrom()
{
    if (!m_schleife)
        return;
    pa_threaded_mainloop_lock(m_schleife);
    if (m_strom) {
        pa_stream_set_write_callback(m_strom, nullptr, nullptr);
        pa_stream_disconnect(m_strom);
        pa_stream_unref(m_strom);
    }
    if (m_kontext) {
        pa_context_disconnect(m_kontext);
        pa_context_unref(m_kontext);
    }
    pa_threaded_mainloop_unlock(m_schleife);
    pa_threaded_mainloop_stop(m_schleife);
    pa_threaded_mainloop_free(m_schleife);
}

