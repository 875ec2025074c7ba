// Between the window's side of the microphone (Mikrofon, Qt) and the capture module
// klavidor_mikro.so (SDL and aubio): plain C++, so neither side needs the other's libraries.
#pragma once

#include <chrono>

// Told from the module's threads (SDL's audio thread, its watcher); must not block.
class Mikrohoerer
{
public:
    virtual ~Mikrohoerer() = default;
    virtual void pegel(double wert) = 0; // 0..1, at most Pegel_pro_Sekunde times a second
    virtual void note(int midi, int cent, std::chrono::steady_clock::time_point einsatz) = 0;
    // An onset that named no key: too soft, or no clear pitch.
    virtual void verworfen(bool zuLeise, std::chrono::steady_clock::time_point einsatz) = 0;
    virtual void getrennt() = 0; // the device went away or now delivers an output's monitor
};

// An open capture; given back through the module's klavidor_mikro_schliessen.
class Mikroaufnahme
{
public:
    virtual ~Mikroaufnahme() = default;
    // The room's quiet in dBFS: a note must rise above it (never below the detection's default).
    // Any thread; taken by the capture thread with its next block.
    virtual void setzeStille(double dB) = 0;
    // The key the learner was asked for (MIDI number), -1 for none; like setzeStille.
    virtual void erwarte(int midi) = 0;
};

constexpr int Pegel_pro_Sekunde = 20;

// The module's entry points. klavidor_mikro_oeffnen opens the default capture device, or returns
// nullptr when there is no microphone (no device, only a monitor of an output, or SDL's dummy or
// disk driver); klavidor_mikro_schliessen closes it, waiting briefly for SDL's audio thread.
// Both are called on one and the same background thread, never the user-interface thread.
extern "C" {
using MikroOeffnen = Mikroaufnahme* (*)(Mikrohoerer* hoerer);
using MikroSchliessen = void (*)(Mikroaufnahme* aufnahme);
}
