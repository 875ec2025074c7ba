// The shared variables of one run. One instance, made by main and handed to the windows.
#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <optional>
#include <random>

struct Haupt
{
    bool Maus_Move_An = false;       // mouse-over display on
    bool C_Linie = true;             // middle-c ledger line under the low bass notes
    QString Tonart = "keine Tonart"; // chosen key signature ("Cdur", "Ddur", ...)
    QString Tonart_Info;             // its information text
    QString Noten_Name;              // name of the note last placed
    int Noten_Position = 0;          // its staff position code 0..22
    quint32 Farbe_Weiss = 0xD5ECF2;
    quint32 Farbe_Schwarz = 0x000000;
    quint32 Farbe_Weiss_aus = 0xFFCEC2;
    quint32 Farbe_Schwarz_aus = 0x404040;
    QString Ton_Verzeichnis;         // sound directory, with one trailing separator
    QString Akt_Verzeichnis;         // current directory at start-up
    bool Ton_aus = false;            // key sounds switched off
    bool Lern_Modus = false;         // learning mode: key clicks are answers
    int Lernbereich = 0;             // range button of the current draw
    int Lernnote_Weiss = 0;          // white-key number of the drawn note
    int Lernnote_Taste = 0;          // key index of the drawn note
    QString Lernnote_Name;           // display name of the drawn note
    std::optional<int> Antwort_Punkt; // white-key number of the answer, 255 for a black key
    std::optional<int> Antwort_Taste; // key index of the answer
    bool Beantwortet = true;         // no question open
    QString Vorzeichen = "#";        // "#", "b" or "X" while no key signature rules
    int Letzter_Bereich = 0;         // range the quick key repeats
    int Letzte_Zufallszahl = -1;     // place drawn last time

    // The run's one random generator; seeded once at start-up.
    std::mt19937 Zufall{0};
    void Randomize(std::uint32_t saat) { Zufall.seed(saat); }
    // Uniform on 0 <= Rnd < 1.
    double Rnd() { return Zufall() / 4294967296.0; }
};
