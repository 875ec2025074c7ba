// The player's own PulseAudio stream. Its buffer is long enough that a busy machine does not run
// it dry; a new sound does not wait behind it: the mixer goes back to just past the sample the
// server is about to take, and what follows is written again over the old. Used where a
// PulseAudio server (or PipeWire's pipewire-pulse) answers; SDL serves everywhere else.
#pragma once

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
    // Connects to the server and starts a stream fed by `mischer`; nullptr if no server answers.
    static std::unique_ptr<PulseStrom> oeffne(Mischer& mischer);
    ~PulseStrom();
    PulseStrom(const PulseStrom&) = delete;
    PulseStrom& operator=(const PulseStrom&) = delete;

private:
    explicit PulseStrom(Mischer& mischer) : m_mischer(mischer) {}
    bool verbinde();
    bool starteStrom();
    bool stelleWeckerAuf();
    void schreibe(size_t bytes, int64_t ab);
    void nachholen();
    void frageSenke();
    static void fuelle(pa_stream* strom, size_t bytes, void* selbst);
    static void geweckt(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* selbst);

    Mischer& m_mischer;
    pa_threaded_mainloop* m_schleife = nullptr;
    pa_context* m_kontext = nullptr;
    pa_stream* m_strom = nullptr;
    pa_io_event* m_weckEreignis = nullptr;
    int m_wecker[2] = {-1, -1}; // a pipe: a command wakes the stream's thread without waiting
    bool m_vorrang = false;     // the stream's thread runs at audio priority
    uint64_t m_senkenLatenz = 0; // µs, as the server last reported; 0 = not known yet
};
