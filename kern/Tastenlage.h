// "May this key sound now?" asked of a snapshot the window publishes, so that a device thread can
// ask it without touching a widget.
#pragma once

#include "kern/Notenmodell.h"
#include "kern/Tonartentabelle.h"

#include <atomic>
#include <bitset>
#include <cstdint>

namespace Eingang {

using Tasten = std::bitset<Noten::Tastenzahl>;

// The keys left on: all of them; the white ones only; those a key signature plays.
Tasten alleTasten();
Tasten weisseTasten();
Tasten tastenDer(const Tonarten::Tonart& tonart);

struct Tastenlage
{
    Tasten frei; // keys the signature and the accidental buttons leave on
    bool tonAus = false;                 // key sounds switched off
    bool modalOffen = false;             // a window of the program's own waits for the user
    bool lernen = false;                 // learning mode: the pedal holds no note
};

// An instrument presses key k as a click could, and nothing while a window waits.
bool darfDruecken(const Tastenlage& lage, int k);
// And it sounds unless sound is switched off.
bool darfKlingen(const Tastenlage& lage, int k);

// The published snapshot: one word, written by the window's thread, read from any thread.
class Tastenstand
{
public:
    Tastenlage lage() const;
    void setzeFreie(Tasten frei);
    void setzeTonAus(bool aus);
    void setzeModalOffen(bool offen);
    void setzeLernen(bool lernen);

private:
    static constexpr std::uint64_t TonAusBit = std::uint64_t(1) << Noten::Tastenzahl;
    static constexpr std::uint64_t ModalBit = TonAusBit << 1;
    static constexpr std::uint64_t LernBit = TonAusBit << 2;
    static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
    void setze(std::uint64_t bits, bool an);
    // Keys are built enabled: all free, sound on, no window open.
    std::atomic<std::uint64_t> m_wort{TonAusBit - 1};
};

} // namespace Eingang
