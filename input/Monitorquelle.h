// Whether the sound server hands us an output's monitor instead of a microphone. PulseAudio
// (and PipeWire's PulseAudio service) offers the monitor of the default sink as the default source
// on machines without a microphone; elsewhere the answers are false.
#pragma once

#include <memory>

namespace Monitorquelle {

bool standardIstMonitor(); // the default source is a monitor of a sink

// Watches this process's capture streams on one connection to the server, kept open (and made
// anew if the server goes): the server tells of changes, and only then is it asked again.
class Wache
{
public:
    Wache();
    ~Wache();
    Wache(const Wache&) = delete;
    Wache& operator=(const Wache&) = delete;

    // A capture stream of this process now reads a monitor. Takes the server's news so far
    // without waiting for more; asks the server (briefly) only after a change.
    bool eigeneAufnahmeAmMonitor();

private:
    struct Zustand;
    std::unique_ptr<Zustand> z;
};

} // namespace Monitorquelle
