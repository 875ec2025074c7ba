// The key signatures as data: one row carries everything the program knows of a signature.
#pragma once

#include <array>
#include <span>

namespace Tonarten {

// A white note (lowest key index) that gives way to a black one (lowest key index), in every octave.
struct Ersatz
{
    int weiss, schwarz;
};
inline constexpr Ersatz Fis{5, 6}, Cis{0, 1}, Gis{7, 8}, Dis{2, 3}; // sharps: f, c, g, d
inline constexpr Ersatz B{11, 10}, Es{4, 3}, As{9, 8}, Des{2, 1};   // flats: h, e, a, d

enum class Schreibung { Kreuz, Be };

struct Tonart
{
    const char* name;    // value of Tonart
    const char* menue;   // caption of its menu entry
    const char* taste;   // the entry's shortcut
    const char* bild;    // picture in the store Ablage_Tonarten
    const char* info;    // information text
    Schreibung schreibung; // how the black keys are named under it
    std::array<Ersatz, 4> ersatz; // the keys it disables and enables, in this order
    int schritte;        // how many of them
    std::span<const Ersatz> schrittfolge() const { return {ersatz.data(), size_t(schritte)}; }
};

using enum Schreibung;

// Menu indexes 0..8.
inline constexpr std::array<Tonart, 9> Tabelle{{
    {"Cdur", "C-dur", "Ctrl+C", "Cdur", "Bei C-Dur werden nur die weißen Tasten gespielt. Keine schwarzen Tasten.",
     Kreuz, {}, 0},
    {"Ddur", "D-dur", "Ctrl+D", "DDur", "Bei D-Dur wird statt C und F die schwarze Taste (rechts) genommen.",
     Kreuz, {Fis, Cis}, 2},
    {"Edur", "E-dur", "Ctrl+E", "Edur", "Bei E-Dur wird statt C, D, F und G die schwarze Taste rechts davon genommen.",
     Kreuz, {Fis, Cis, Gis, Dis}, 4},
    {"Fdur", "F-dur", "Ctrl+F", "FDur", "Bei F-Dur wird die schwarze Taste links von H statt H genommen. Das ist dan B.",
     Be, {B}, 1},
    {"Gdur", "G-dur", "Ctrl+G", "GDur", "Bei G-Dur Wird statt F die schwarze Taste (rechts) genommen. Aus F wid fis.",
     Kreuz, {Fis}, 1},
    {"Adur", "A-dur", "Ctrl+A", "ADur", "Bei A-Dur wird statt C, F und G die schwarze Taste rechts davon genommen.",
     Kreuz, {Fis, Cis, Gis}, 3},
    {"Bdur", "B-dur", "Ctrl+B", "BDur", "Bei B-Dur wird die schwarze Taste links statt H und E genommen.",
     Be, {B, Es}, 2},
    {"Esdur", "Es-dur", "Ctrl+S", "EsDur", "Bei Es-Dur wird die schwarze Taste links statt H, E und A gespielt.",
     Be, {B, Es, As}, 3},
    {"Asdur", "As-dur", "Ctrl+I", "AsDur", "Bei As-Dur wird die schwarze Taste links statt H, E, A und D gespielt.",
     Be, {B, Es, As, Des}, 4},
}};

// The row of a signature by its name; nullptr for "keine Tonart".
inline const Tonart* finde(const auto& name)
{
    for (const Tonart& t : Tabelle)
        if (name == t.name)
            return &t;
    return nullptr;
}

// The menu's entries after the nine signatures: four it never offers (hidden and disabled), then
// the separator and "alle Tasten".
inline constexpr std::array<const char*, 4> NieAngeboten{"Des-dur", "Ges-dur", "H-dur", "Fis-dur"};
namespace Menue {
inline constexpr int CDur = 0;         // the first row: the start's signature
inline constexpr int Trennlinie = 13;  // its index also stands for "no signature" when clicked
inline constexpr int AlleTasten = 14;
inline constexpr int Anzahl = 15;
} // namespace Menue
inline constexpr const char* AlleTastenTaste = "Ctrl+T";
// The picture of the store that shows no signature.
inline constexpr const char* LeerBild = "leer";

inline constexpr const char* AlleTastenInfo =
    "Alle Tasten zeigen die Noten die auf ihr liegen können. Die schwarzen Tasten können mit # oder b verstellt "
    "werden.";

} // namespace Tonarten
