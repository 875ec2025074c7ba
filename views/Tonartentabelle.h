// The key signatures as data: name, picture, text, and the keys each step exchanges.
#pragma once

#include <array>

namespace Tonarten {

// A white note (lowest key index) that gives way to a black one (lowest key index).
struct Ersatz
{
    int weiss, schwarz;
};
inline constexpr Ersatz Fis{5, 6}, Cis{0, 1}, Gis{7, 8}, Dis{2, 3}; // sharps: f, c, g, d
inline constexpr Ersatz B{11, 10}, Es{4, 3}, As{9, 8}, Des{2, 1};   // flats: h, e, a, d

struct Tonart
{
    const char* name; // value of Tonart
    const char* bild; // picture in the store Ablage_Tonarten
    const char* info; // information text
};

// Menu indexes 0..8.
inline constexpr std::array<Tonart, 9> Tabelle{{
    {"Cdur", "Cdur", "Bei C-Dur werden nur die weißen Tasten gespielt. Keine schwarzen Tasten."},
    {"Ddur", "DDur", "Bei D-Dur wird statt C und F die schwarze Taste (rechts) genommen."},
    {"Edur", "Edur", "Bei E-Dur wird statt C, D, F und G die schwarze Taste rechts davon genommen."},
    {"Fdur", "FDur", "Bei F-Dur wird die schwarze Taste links von H statt H genommen. Das ist dan B."},
    {"Gdur", "GDur", "Bei G-Dur Wird statt F die schwarze Taste (rechts) genommen. Aus F wid fis."},
    {"Adur", "ADur", "Bei A-Dur wird statt C, F und G die schwarze Taste rechts davon genommen."},
    {"Bdur", "BDur", "Bei B-Dur wird die schwarze Taste links statt H und E genommen."},
    {"Esdur", "EsDur", "Bei Es-Dur wird die schwarze Taste links statt H, E und A gespielt."},
    {"Asdur", "AsDur", "Bei As-Dur wird die schwarze Taste links statt H, E, A und D gespielt."},
}};

inline constexpr const char* AlleTastenInfo =
    "Alle Tasten zeigen die Noten die auf ihr liegen können. Die schwarzen Tasten können mit # oder b verstellt "
    "werden.";

} // namespace Tonarten
