// The held voices of a MIDI keyboard and its sustain pedal, as on a piano: a key let go while the
// pedal is down sounds on until the pedal rises. Says which voices to release; the window has the
// player release them. No allocation, so a device thread may use it too.
#pragma once

#include <array>
#include <bitset>
#include <span>

namespace Eingang {

constexpr int Midinoten = 128;

// Voices to release now, in the order of their notes.
class Freigabe
{
public:
    void dazu(int stimme)
    {
        if (stimme)
            m_stimmen[m_anzahl++] = stimme;
    }
    std::span<const int> stimmen() const { return {m_stimmen.data(), size_t(m_anzahl)}; }

private:
    std::array<int, Midinoten> m_stimmen{};
    int m_anzahl = 0;
};

class Stimmenhalter
{
public:
    // The pedal counts as down past this value, and as up again once below the other: a
    // half-pedal stream between them changes nothing.
    static constexpr int Pedal_unten = 64, Pedal_oben = 40;

    // A note starts: the voice it still had (struck again) is released.
    Freigabe noteAn(int note);
    // The player's voice for the note (0: none, sound off).
    void halte(int note, int stimme);
    // A key let go: its voice ends, unless the pedal holds it (never in learning mode).
    Freigabe noteAus(int note, bool lernModus);
    // A pedal value. getreten: it went down just now (learning mode asks for the next note).
    struct Pedalschritt
    {
        bool getreten = false;
        Freigabe freigabe; // the voices it held, when it rises
    };
    Pedalschritt pedal(int wert);
    // All notes off, or the source gone: every voice ends.
    Freigabe allesAus();

private:
    Freigabe loese(int note);
    std::array<int, Midinoten> m_stimmen{}; // held voice per note, 0 = none
    std::bitset<Midinoten> m_nachPedal;     // released keys the pedal still holds
    bool m_pedalUnten = false;
};

} // namespace Eingang
