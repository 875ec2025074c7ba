// Mixes the player's voices into one stereo stream: the click sound (a new click cuts the one
// before), and held voices at their own volume. Commands come from the user-interface thread,
// `mische` runs on the audio thread; both hold the lock only for the moment they need.
#pragma once

#include <atomic>
#include <cstdint>
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
    // Fills `frames` frames of 16-bit stereo.
    void mische(int16_t* aus, int frames);
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
    void blendeAus(Stimme& s, double ms);

    std::mutex m_sperre;
    std::vector<Stimme> m_stimmen;
    std::vector<float> m_summe;
    int m_naechster = 0;
    std::atomic<bool> m_klingt{false};
};
