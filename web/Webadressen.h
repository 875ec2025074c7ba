// The fixed web addresses of the program.
#pragma once

#include <array>

namespace Web {

inline constexpr const char* Hauptseite = "https://www.klavidor.de/";

struct Eintrag
{
    const char* titel;
    const char* adresse;
};

// The entries of the menu "Webseiten".
inline constexpr std::array<Eintrag, 9> Seiten{{
    {"Klavidor Startseite", "https://www.klavidor.de/"},
    {"Neue Versionen", "https://www.klavidor.de/download/"},
    {"Klavidor in Bildern", "https://www.klavidor.de/anleitung/"},
    {"Noten lesen lernen", "https://www.klavidor.de/notenlesen/"},
    {"Tonarten und Vorzeichen", "https://www.klavidor.de/tonarten/"},
    {"Übungsblätter", "https://www.klavidor.de/uebungen/"},
    {"Musiklexikon", "https://www.klavidor.de/lexikon/"},
    {"Fragen und Antworten", "https://www.klavidor.de/fragen/"},
    {"Kontakt", "https://www.klavidor.de/kontakt/"},
}};

} // namespace Web
