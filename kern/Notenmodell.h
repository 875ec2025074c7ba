// The note model: which key is which note, how it is named and where the staff writes it.
// Plain C++ with no widgets, so the tables can be tested on their own.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

struct Haupt;

namespace Noten {

constexpr int Tastenzahl = 40;
constexpr int Kein_Weiss = 255; // white-key number of a black key

constexpr bool istSchwarz(int k)
{
    const int m = k % 12;
    return m == 1 || m == 3 || m == 6 || m == 8 || m == 10;
}

// White-key number 0..22 of key k, 255 for a black key.
constexpr int Weisse_Nummer(int k)
{
    if (k < 0 || k >= Tastenzahl || istSchwarz(k))
        return Kein_Weiss;
    int n = 0;
    for (int i = 0; i < k; ++i)
        n += !istSchwarz(i);
    return n;
}

// Key index of white key w (0..22).
constexpr int Weisse_Taste(int w)
{
    for (int k = 0, n = 0; k < Tastenzahl; ++k)
        if (!istSchwarz(k) && n++ == w)
            return k;
    return -1;
}

// Octave colour of white key w: the marker dots and the note-name buttons share it.
constexpr quint32 Oktavfarbe(int weiss)
{
    return weiss < 7 ? 0x99CEC2 : weiss < 14 ? 0xC0C0FF : weiss < 21 ? 0xFFCEC2 : 0xFFC0FF;
}

// The letter of white key w: C D E F G A H, octave after octave.
constexpr char Buchstabe(int weiss) { return "CDEFGAH"[weiss % 7]; }

// White-key number of note-name button i: buttons 0..15 climb from the middle c, 16..22 go down
// from the h below it.
constexpr int Leiter_Weiss(int i) { return i <= 15 ? i + 7 : 22 - i; }

struct Benennung
{
    const char* name;
    int code; // staff position code 0..22
};

struct Eintrag
{
    Benennung kreuz; // sharp naming
    Benennung be;    // flat naming
};

// The key table. Key 39 has no flat spelling the staff can write above d''', so it keeps "dis".
constexpr std::array<Eintrag, Tastenzahl> Tasten{{
    {{"C", 22}, {"C", 22}},     {{"cis", 22}, {"des", 21}}, {{"D", 21}, {"D", 21}},
    {{"dis", 21}, {"es", 20}},  {{"E", 20}, {"E", 20}},     {{"F", 19}, {"F", 19}},
    {{"fis", 19}, {"ges", 18}}, {{"G", 18}, {"G", 18}},     {{"gis", 18}, {"as", 17}},
    {{"A", 17}, {"A", 17}},     {{"ais", 17}, {"b", 16}},   {{"H", 16}, {"H", 16}},
    {{"C", 0}, {"C", 0}},       {{"cis", 0}, {"des", 1}},   {{"D", 1}, {"D", 1}},
    {{"dis", 1}, {"es", 2}},    {{"E", 2}, {"E", 2}},       {{"F", 3}, {"F", 3}},
    {{"fis", 3}, {"ges", 4}},   {{"G", 4}, {"G", 4}},       {{"gis", 4}, {"as", 5}},
    {{"A", 5}, {"A", 5}},       {{"ais", 5}, {"b", 6}},     {{"H", 6}, {"H", 6}},
    {{"C", 7}, {"C", 7}},       {{"cis", 7}, {"des", 8}},   {{"D", 8}, {"D", 8}},
    {{"dis", 8}, {"es", 9}},    {{"E", 9}, {"E", 9}},       {{"F", 10}, {"F", 10}},
    {{"fis", 10}, {"ges", 11}}, {{"G", 11}, {"G", 11}},     {{"gis", 11}, {"as", 12}},
    {{"A", 12}, {"A", 12}},     {{"ais", 12}, {"b", 13}},   {{"H", 13}, {"H", 13}},
    {{"C", 14}, {"C", 14}},     {{"cis", 14}, {"des", 15}}, {{"D", 15}, {"D", 15}},
    {{"dis", 15}, {"dis", 15}},
}};

// The six ledger lines that a note may need.
enum Hilfslinie : std::uint8_t {
    L0 = 1,   // NotenLinie(0), middle c
    L6 = 2,   // NotenLinie(6), a''
    L7 = 4,   // NotenLinie(7), c'''
    U0 = 8,   // NotenLinie2(0), a
    U1 = 16,  // NotenLinie2(1), f
    U2 = 32,  // NotenLinie2(2), d
};

struct Notenstelle
{
    int bild;           // 1 = Note1 (stem up), 2 = Note2 (stem down)
    int top;            // its Top in twips
    int top3;           // Top of Note3 on the bass staff, -1 = hidden
    std::uint8_t linien; // ledger lines shown
    bool cLinieFrei;    // the middle-c line is dropped when C_Linie is off
};

// How each staff position code is drawn.
constexpr std::array<Notenstelle, 23> Stellen{{
    {1, 1560, -1, L0, false},             // 0 c'
    {1, 1440, -1, 0, false},              // 1 d'
    {1, 1200, -1, 0, false},              // 2 e'
    {1, 1080, -1, 0, false},              // 3 f'
    {1, 840, -1, 0, false},               // 4 g'
    {1, 720, -1, 0, false},               // 5 a'
    {2, 1560, -1, 0, false},              // 6 h'
    {2, 1440, -1, 0, false},              // 7 c''
    {2, 1200, -1, 0, false},              // 8 d''
    {2, 1080, -1, 0, false},              // 9 e''
    {2, 840, -1, 0, false},               // 10 f''
    {2, 720, -1, 0, false},               // 11 g''
    {2, 480, -1, L6, false},              // 12 a''
    {2, 360, -1, L6, false},              // 13 h''
    {2, 160, -1, L6 | L7, false},         // 14 c'''
    {2, 0, -1, L6 | L7, false},           // 15 d'''
    {1, 1800, 1320, L0 | U0, false},      // 16 h
    {1, 1920, 1440, L0 | U0, false},      // 17 a
    {1, 2160, 1680, L0 | U0, true},       // 18 g
    {1, 2280, 1800, L0 | U0 | U1, true},  // 19 f
    {1, 2520, 2040, L0 | U0 | U1, true},  // 20 e
    {1, 2640, 2160, L0 | U0 | U1 | U2, true}, // 21 d
    {1, 2880, 2400, L0 | U0 | U1 | U2, true}, // 22 c
}};

// Key k is MIDI note 48 + k: key 12, the middle c, is note 60. Outside the keys: -1.
constexpr int Midinote_Taste0 = 48;
constexpr int tasteFuerMidinote(int note)
{
    return note >= Midinote_Taste0 && note < Midinote_Taste0 + Tastenzahl ? note - Midinote_Taste0 : -1;
}

// Said of a note beyond the keys, whether a MIDI keyboard played it or the microphone heard it.
inline constexpr const char* Ausserhalb_Hinweis = "Die Note liegt außerhalb der 40 Tasten.";

// Sound name of a key: "13-cis"; empty outside 0..39.
QString Klangname(int k);

// The note with its octave marks, for screen readers: "cis'", "c", "d'''".
QString Tastenname(int k);

// How key k is named and placed under a key signature ("Cdur" ... "Asdur") or, where none rules,
// under the accidental buttons' choice ("#", "b", "X"; "X" names by sharps). Outside 0..39: Keine.
inline constexpr Benennung Keine{nullptr, -1};
Benennung benenne(int k, const QString& tonart, const QString& vorzeichen);

// Records a naming in Noten_Name and Noten_Position, the run's record of the note last placed.
void merke(Haupt& haupt, Benennung b);

} // namespace Noten
