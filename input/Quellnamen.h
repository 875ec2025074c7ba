// From the ports the MIDI back ends list to the sources the user chooses from: names without the
// ALSA client:port numbers (they change on replugging), each keyboard once even when a bridge
// (a2jmidid, PipeWire) also shows it in JACK, and no "Midi Through" or the program's own ports.
#pragma once

#include <QString>
#include <vector>

enum class MidiSystem { Alsa, Jack };

struct MidiPort
{
    MidiSystem system;
    QString roh; // the back end's own port name, which opens it
};

struct MidiQuelle
{
    QString name; // what the user sees and what is remembered
    MidiPort port;
};

// The name a port is shown and remembered by; empty when it is no source.
QString Quellname(const MidiPort& port);

// The sources among `ports`, in their order, bridged duplicates of ALSA ports left out.
std::vector<MidiQuelle> Quellen(const std::vector<MidiPort>& ports);

// The ALSA client and port numbers a port's name ends with; -1 where it has none.
struct AlsaAdresse
{
    int client = -1;
    int port = -1;
};
AlsaAdresse Alsaadresse(const MidiPort& port);

// The program's own client name in both back ends.
inline constexpr const char* EigenerClient = "Klavidor";
