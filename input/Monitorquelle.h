// Whether the sound server hands us an output's monitor instead of a microphone. PulseAudio
// (and PipeWire's PulseAudio service) offers the monitor of the default sink as the default source
// on machines without a microphone; elsewhere the answers are false.
#pragma once

namespace Monitorquelle {

bool standardIstMonitor();    // the default source is a monitor of a sink
bool eigeneAufnahmeAmMonitor(); // a capture stream of this process now reads a monitor

} // namespace Monitorquelle
