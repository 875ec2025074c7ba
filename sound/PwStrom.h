// The player's native PipeWire stream, in a module of its own (klavidor_pw.so, linked to
// libpipewire) that the player loads on its watcher thread: without libpipewire the module does
// not load and the player goes on to PulseAudio and SDL. The graph calls the stream once per
// quantum on its real-time thread, and the stream mixes exactly that quantum: a new sound is heard
// one quantum later, and the stream asks the graph for a small one while the sound is on.
#pragma once

#include <cstdint>

class Mischquelle;

class PwStrom
{
public:
    virtual ~PwStrom() = default;
    // Starts the stream fed by `quelle` at rate(); call once no other output mixes.
    virtual bool starte(Mischquelle& quelle) = 0;
    // The server or the stream went away: this stream will never play again.
    virtual bool verloren() const = 0;
    // The graph's rate, which the mix must have.
    virtual int rate() const = 0;
    // The program's sound switched off: the stream pauses, so the graph no longer runs at the
    // small quantum for it; on again: it plays again.
    virtual void setzeKlangAn(bool an) = 0;
};

// The module's entry: connects to the server (without a stream yet); nullptr if none answers.
extern "C" {
using PwVerbinder = PwStrom* (*)();
PwStrom* klavidor_pw_verbinde();
}
