// The command buttons Funktion(0..10) as data: what each is called, where it sits, and what it says.
#pragma once

#include <array>
#include <cstdint>

// Command indexes: Funktion(i) runs command i through Funktion_Click.
namespace Befehl {
enum Nummer : int {
    PerKlick, Buchstaben, Bass, TNormal, TBetont, AlleTasten, Lernen, Betrachten, ZeigMeine, ZeigRichtige, Beenden,
    Anzahl
};
} // namespace Befehl

namespace Befehle {

struct Zeile
{
    const char* caption;
    int left, top, width, height;
    const char* tooltip;
    const char* befehlstext; // written into the information line when run; nullptr: nothing
    const char* hovertext;   // written into the hint line under the mouse; nullptr: nothing
};

inline constexpr std::uint32_t Farbe = 0xE0E0E0;

inline constexpr std::array<Zeile, Befehl::Anzahl> Tabelle{{
    {"Per Klick", 8640, 120, 1215, 405, "Maus über Tasten zeigt Noten",
     "Die Noten mit der Maus schneller zeigen kann man ab- und einschalten.",
     "Einstellung um die Noten schnell zu zeigen. Einfach indem man die Maus über die weißen Tasten bewegt."},
    {"Buchstaben", 8640, 600, 1215, 405, "Tasten zeigen",
     "Buchstaben können ausgeblendet werden um besser lernen zu können.",
     "Blendet die Buchstabenschalter aus oder ein. Das geschieht im Lernmodus automatisch."},
    {"Bass", 8640, 1080, 1215, 405, "Tasten zeigen",
     "Da eine zweite Note stören könnte muss man die Noten auf Bass geschrieben einschalten.",
     "Zusätzlich werden die Bässe (5 Notenlinien) gezeigt um auch die Bassnoten für die linke Hand lernen zu "
     "können."},
    {"T. normal", 10200, 1200, 1215, 405, "Tasten normal", "Die Tastenfarbe bleibt auch trotz Tonarten normal.",
     "Die Tasten werden normal gezeigt. Die Tonarten nicht betont."},
    {"T. betont", 10200, 1680, 1215, 405, "Tasten betont",
     "Die Tastenfarbe erscheint verändert. So kann man sich die Tonarten auf der Tastatur besser einprägen und "
     "auch besser üben.",
     "Die nicht gespielten Tasten werden in den Tonarten anders gezeigt um leichter üben zu könne. So sieht man "
     "welche Tasten nicht gespielt werden."},
    {"Alle Tasten", 8640, 1560, 1215, 405, "Alle Tasten einschalten.",
     "“Alle Tasten” bedeutet, dass man sich auch die schwarzen Tasten ansehen kann. Standardmäßig als #. Man "
     "kann aber auch zwischen # und b wählen, oder abschalten X.",
     "Alle Tasten werden zum drücken freigegeben."},
    {"Lernen", 6960, 120, 1575, 405, "Lernen von Noten.",
     "Lernen der Noten. Bereich wählen (Farbige Tasten) und nachher mit der Schnelltaste (groß) jeweils neue Note "
     "aufrufen.",
     "Die Lerntaste startet den Lernvorgang. Der Lernvorgang geht wie nicht in Lektionen, sondern nach "
     "gewünschten Tonbereichen."},
    {"Betrachten", 6960, 600, 1575, 405, "Betrachten der Noten.",
     "Lernen abschalten. Mit den Noten spielerisch umgehen um sie zu lernen, oder über Tonarten eine “Tonart” "
     "eingeben.",
     "Abschalten des Lernvorgangs. Die Noten können wieder normal betrachtet werden. Indem man entweder über die "
     "Buchstabentasten geht, oder aber über das Keyboard."},
    {"zeig meine", 1680, 4560, 2055, 405, "Gegebene Antwort.", nullptr,
     "Diese Taste zeigt die falsch eingeben Note um sie mit der richtigen Note vergleichen zu können."},
    {"zeig richtige", 3840, 4560, 1935, 405, "Die richtige Note.", nullptr,
     "Diese Taste zeigt die richtige Note um sie mit der falsch eingegebenen vergleichen zu können."},
    {"Beenden", 1560, 240, 1215, 525, "Ende.", nullptr, nullptr},
}};

} // namespace Befehle
