// The entry point of the MIDI module klavidor_midi.so.
#include "input/RtMidiGeraete.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

namespace {

void stillJack(const char*) {}
void stillAlsa(const char*, int, const char*, int, const char*, ...) {}

} // namespace

// Probing for a sequencer or a server must print nothing: both libraries write their errors to
// stderr unless their hooks are set, so they are set before anything else runs.
extern "C" Q_DECL_EXPORT MidiGeraete* klavidor_midi_erzeugen()
{
    jack_set_error_function(stillJack);
    jack_set_info_function(stillJack);
    snd_lib_error_set_handler(stillAlsa);
    return new RtMidiGeraete;
}
