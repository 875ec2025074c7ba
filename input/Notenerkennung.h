// Finds piano notes in a mono sample stream: aubio's onset detector marks where a note starts,
// aubio's yinfft pitch of the frames after it names the key. Plain C++ with no device and no Qt,
// fed from the capture thread or from a file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class Notenerkennung
{
public:
    struct Note
    {
        int midi;                 // the nearest key's MIDI number (may lie outside the keyboard)
        std::int64_t einsatz;     // sample index of the note's onset
        std::int64_t entschieden; // sample index at which it was decided
    };
    using Meldung = std::function<void(const Note&)>;

    Notenerkennung(int abtastrate, Meldung meldung);
    ~Notenerkennung();
    Notenerkennung(const Notenerkennung&) = delete;
    Notenerkennung& operator=(const Notenerkennung&) = delete;

    // Any number of samples; each decided note is reported once, from inside this call.
    void verarbeite(const float* proben, std::size_t anzahl);

    // The input level of the last frame, 0 (silence, -60 dBFS and below) .. 1 (full scale).
    double pegel() const;
    std::int64_t gelesen() const; // samples fed so far

private:
    struct Zustand;
    std::unique_ptr<Zustand> z;
};
