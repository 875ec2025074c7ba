// The player's own PulseAudio stream. Its buffer is long enough that a busy machine does not run
// it dry; a new sound does not wait behind it: the mixer goes back to just past the sample the
// server is about to take, and what follows is written again over the old. Used where a
// PulseAudio server (or PipeWire's pipewire-pulse) answers; SDL serves everywhere else. A server
// that goes ends the stream (`verloren`); the player then looks for the next one.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <pulse/mainloop-api.h>

class Mischer;
struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

class PulseStrom
{
public:
    // Connects to the server, without a stream yet; nullptr if no server answers in time.
    static std::unique_ptr<PulseStrom> verbinde(Mischer& mischer);
    // Starts the stream fed by `mischer`; call once no other output mixes.
    bool starte();
    // The server or the stream went away: this stream will never play again.
    bool verloren() const { return m_verloren.load(std::memory_order_relaxed); }
    ~PulseStrom();
    PulseStrom(const PulseStrom&) = delete;
    PulseStrom& operator=(const PulseStrom&) = delete;

private:
    explicit PulseStrom(Mischer& mischer) : m_mischer(mischer) {}
    bool verbindeKontext();
    bool starteStrom();
    bool stelleWeckerAuf();
    template <class Zustand> bool warte(Zustand zustand);
    void schreibe(size_t bytes, int64_t ab);
    void nachholen();
    void frageSenke();
    static void fuelle(pa_stream* strom, size_t bytes, void* selbst);
    static void geweckt(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* selbst);
    static void kontextMeldet(pa_context* kontext, void* selbst);
    static void stromMeldet(pa_stream* strom, void* selbst);

    Mischer& m_mischer;
    pa_threaded_mainloop* m_schleife = nullptr;
    pa_context* m_kontext = nullptr;
    pa_stream* m_strom = nullptr;
    pa_io_event* m_weckEreignis = nullptr;
    int m_wecker[2] = {-1, -1}; // a pipe: a command wakes the stream's thread without waiting
    uint64_t m_senkenLatenz = 0; // µs, as the server last reported; 0 = not known yet
    bool m_zuSpaet = false;      // the server did not answer in time
    std::atomic<bool> m_verloren{false};
};
