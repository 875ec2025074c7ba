// Mixes the player's voices into one stereo stream: the click sound (a new click cuts the one
// before), and held voices at their own volume. Commands come from the user-interface thread and
// take effect where the stream next mixes; `mische` runs on the audio thread. Both hold the lock
// only for the moment they need.
//
// The stream can also go back over what it has mixed but not yet played and mix it again with
// the commands given since (`zurueck`): a new sound then starts within the buffer, not after it.
// Mixing is deterministic, so the samples up to that point come out exactly as before.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class Mischer
{
public:
    static constexpr int Rate = 44100;
    static constexpr int Kanaele = 2;
    static constexpr int Hoechste_Stimmen = 10;    // held at once; one more releases the oldest
    static constexpr double Schnitt_ms = 6;        // a cut click fades this long, so it does not click
    static constexpr double Loslassen_ms = 150;    // a released voice dies away this long

    // Samples at Rate, Kanaele interleaved, full scale = 1.
    using Klang = std::shared_ptr<const std::vector<float>>;

    Mischer();
    void klick(Klang klang);
    // Returns the voice's handle (> 0).
    int halte(Klang klang, double lautstaerke);
    void loese(int stimme);
    // Called after each command, on the caller's thread: the output may mix again at once.
    void setzeWecker(std::function<void()> wecker) { m_wecker = std::move(wecker); }

    // Fills `frames` frames of 16-bit stereo, from the position reached, after carrying out the
    // commands given since the last call.
    void mische(int16_t* aus, int frames);
    // Frames mixed so far.
    int64_t position() const;
    // Goes back to frame `ziel` (or the nearest point before the present that it still can) so
    // that the next `mische` mixes from there again; returns the new position.
    int64_t zurueck(int64_t ziel);
    // Whether the last mixed stretch held sound.
    bool klingt() const { return m_klingt.load(std::memory_order_relaxed); }

private:
    struct Stimme
    {
        Klang klang;
        size_t pos = 0;      // in samples
        float lautstaerke = 1;
        int rest = -1;       // frames left of the fade; -1 = not fading
        int gesamt = 1;      // frames of the whole fade
        int griff = 0;       // 0 = the click
        bool mischeIn(float* summe, int frames);
    };
    struct Befehl
    {
        Klang klang;         // to start; none = release `griff`
        float lautstaerke;
        int griff;           // 0 = a click
    };
    struct Stand
    {
        int64_t position;
        std::vector<Stimme> stimmen;
    };
    void befiehl(Befehl befehl);
    void fuehreAus(const Befehl& befehl);
    void mischeStimmen(int frames);

    mutable std::mutex m_sperre;
    std::vector<Stimme> m_stimmen;
    std::vector<Befehl> m_befehle;
    std::deque<Stand> m_staende; // where the stream may go back to
    std::vector<float> m_summe;
    int64_t m_position = 0;
    int m_naechster = 0;
    std::function<void()> m_wecker;
    std::atomic<bool> m_klingt{false};
};
