// The player's own PulseAudio stream: a small buffer that is refilled in small steps, so a sound
// set going is heard within a few milliseconds. Used where a PulseAudio server (or PipeWire's
// pipewire-pulse) answers; SDL serves everywhere else.
#pragma once

#include <memory>

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
    static void fuelle(pa_stream* strom, size_t bytes, void* selbst);

    Mischer& m_mischer;
    pa_threaded_mainloop* m_schleife = nullptr;
    pa_context* m_kontext = nullptr;
    pa_stream* m_strom = nullptr;
    bool m_vorrang = false; // the stream's thread runs at audio priority
};
