// Turns the bytes a MIDI source sends into the few events the program uses. One reader per
// source, since running status and an open System Exclusive message belong to one stream.
#pragma once

#include "input/MidiGeraete.h"

#include <cstddef>
#include <cstdint>
#include <functional>

class MidiLeser
{
public:
    using Ausgabe = std::function<void(const MidiEreignis&)>;

    // Reads `anzahl` bytes, which may hold several messages, part of one, or running status.
    void lies(const std::uint8_t* bytes, std::size_t anzahl, const Ausgabe& aus);

private:
    void nachricht(const Ausgabe& aus) const;

    std::uint8_t m_status = 0; // 0: no running status (after System Exclusive or common messages)
    std::uint8_t m_daten[2] = {};
    int m_anzahl = 0;
};
