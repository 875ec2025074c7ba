// Finds piano notes in a mono sample stream: aubio's onset detector marks where a note starts,
// aubio's yinfft pitch of the frames after it names the key. Plain C++ with no device and no Qt,
// fed from the capture thread or from a file.
#pragma once

#include <algorithm>
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
        int cent = 0;             // how far from in tune, as a piano's pitch is read
    };
    using Meldung = std::function<void(const Note&)>;
    // Why an onset gave no note: it stayed under the silence level, or its pitch never settled on a key.
    enum class Grund { ZuLeise, KeinKlarerTon };
    using Verworfen = std::function<void(Grund, std::int64_t einsatz)>;

    static constexpr double Stille_Standard_dB = -50.0; // quieter frames carry no pitch
    static constexpr double Pegel_Boden_dB = -60.0;     // the level 0 of pegel()
    // The silence level a measured quiet gives: a quiet below the default keeps the default.
    static constexpr double wirksameStille(double ruhe_dB) { return std::clamp(ruhe_dB, Stille_Standard_dB, 0.0); }

    Notenerkennung(int abtastrate, Meldung meldung);
    ~Notenerkennung();
    Notenerkennung(const Notenerkennung&) = delete;
    Notenerkennung& operator=(const Notenerkennung&) = delete;

    // Any number of samples; each decided note is reported once, from inside this call.
    void verarbeite(const float* proben, std::size_t anzahl);

    // Told of onsets that gave no note (from inside verarbeite); none by default.
    void beiVerworfen(Verworfen verworfen);
    // The level a note must rise above: a room's quiet in dBFS, never below Stille_Standard_dB.
    // Sets a field only, so the capture thread may call it between blocks.
    void setzeStille(double dB);

    // The key the learner was asked for (MIDI number), or -1 for none: a pitch that settles on it is
    // taken at once; any other note still needs the full check. Sets a field only, like setzeStille.
    void erwarte(int midi);

    // The input level of the last frame, 0 (silence, -60 dBFS and below) .. 1 (full scale).
    double pegel() const;
    std::int64_t gelesen() const; // samples fed so far

private:
    struct Zustand;
    std::unique_ptr<Zustand> z;
};
