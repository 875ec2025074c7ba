// The door between the program and the MIDI module klavidor_midi.so: the module talks to the
// devices (RtMidi, ALSA, JACK) on threads of its own; the program only sees this interface.
#pragma once

#include <QStringList>
#include <cstdint>

// One event on its way from a MIDI source to the user-interface thread.
struct MidiEreignis
{
    enum class Art : std::uint8_t {
        NoteAn,    // nummer = note, wert = velocity 1..127
        NoteAus,   // nummer = note
        Pedal,     // wert = controller 64's value
        AllesAus,  // controller 120 or 123, or a reset
        QuelleWeg, // the source `quelle` is closed; nothing more comes from it
        ListeNeu,  // the list of sources or the system's presence changed
    };
    Art art = Art::ListeNeu;
    std::uint8_t nummer = 0;
    std::uint8_t wert = 0;
    std::uint32_t quelle = 0; // the opened port it came from; never reused within a run
};

class MidiGeraete
{
public:
    enum class Wahl { Alle, Keine, Eine };

    virtual ~MidiGeraete() = default;

    // Which sources to listen to; any thread. `name` counts only for Wahl::Eine.
    virtual void waehle(Wahl wahl, const QString& name) = 0;

    // Readable while events wait. The consumer calls geweckt() first, then takes every event.
    virtual int weckDeskriptor() const = 0;
    virtual void geweckt() = 0;
    // The next waiting event; one consumer thread only.
    virtual bool naechstes(MidiEreignis& ereignis) = 0;
    // True once after the queue was full and events were lost (maybe a note-off); any thread.
    virtual bool verloren() = 0;

    virtual QStringList quellen() const = 0;
    virtual bool systemDa() const = 0;
};

// The module's entry point, looked up by this name.
using MidiGeraeteErzeuger = MidiGeraete* (*)();
inline constexpr const char* MidiGeraeteEinstieg = "klavidor_midi_erzeugen";
