// The notes learning mode can draw, the ten ranges, and the draw itself. No widgets.
#pragma once

#include <array>

struct Haupt;

namespace Lernen {

// Row = white-key number; the key index follows from it.
inline constexpr std::array<const char*, 23> Lernnoten{
    "Tiefes C",      "Tiefes D",      "Tiefes E",      "Tiefes F",        "Tiefes G",
    "Tiefes A",      "Tiefes H",      "Mittleres C",   "Mittleres D",     "Mittleres E",
    "Mittleres F",   "Mittleres G",   "Mittleres A",   "Mittleres H",     "Hohes C",
    "Hohes D",       "Hohes  E",      "Hohes  F",      "Hohes  G",        "Hohes  A",
    "Hohes  H",      "Doppelt hohes C", "Doppelt hohes D",
};

struct Bereich
{
    int anzahl; // notes in the range
    int erste;  // first row of Lernnoten
};

// Range buttons LernTasten(0..9).
inline constexpr std::array<Bereich, 10> Bereiche{{
    {4, 0}, {4, 4}, {4, 8}, {4, 12}, {4, 16}, {3, 20}, {12, 4}, {8, 0}, {16, 4}, {23, 0},
}};

// Draws a note of range `bereich` into Lernnote_Weiss, _Taste and _Name, never at the same place
// as the number drawn last time; records and returns that place (1..n).
int Ziehe(Haupt& haupt, int bereich);

// The judgement of an answer: a black key is no answer in learning mode; otherwise the key is
// right exactly when it is the drawn note's key, in its octave.
struct Urteil
{
    enum Art { Schwarz, Richtig, Falsch } art;
    int antwortPunkt; // white-key number of the answer, 255 for a black key
    int notenPunkt;   // white-key number of the drawn note
};

// Judges key k against the drawn note and records the answer in Antwort_Punkt and Antwort_Taste.
Urteil beurteile(Haupt& haupt, int k);

} // namespace Lernen
