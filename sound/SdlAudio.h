// SDL runs one audio driver per process, shared by the player and the microphone. Those are two
// modules loaded apart (klavidor_ton.so, klavidor_mikro.so), and SDL's audio start and stop and
// its device list are not thread-safe: both go through here, under one lock for the process.
// SDL itself counts the starts; the last stop quits SDL whole, which also frees its hints.
#pragma once

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <mutex>

namespace SdlAudio {

// Each module compiles its own copy of this function, yet its static is one for the process:
// g++ makes it a unique symbol (STB_GNU_UNIQUE), which the dynamic linker binds once even
// between modules loaded with RTLD_LOCAL. `readelf --dyn-syms` shows it as UNIQUE in both.
inline std::mutex& sperre()
{
    static std::mutex s;
    return s;
}

// Starts SDL's audio; `treiber`: a driver to use instead of the one SDL or the environment picks
// (it only counts where audio is not running yet). False if no driver starts.
inline bool starte(const char* treiber = nullptr)
{
    std::lock_guard g(sperre());
    SDL_SetMainReady();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (treiber)
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, treiber, SDL_HINT_OVERRIDE);
    const bool gestartet = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (treiber)
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return gestartet;
}

// Ends one start.
inline void beende()
{
    std::lock_guard g(sperre());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (SDL_WasInit(0) == 0)
        SDL_Quit();
}

// Opens the default device (`aufnahme`: for capture); 0 = none.
inline SDL_AudioDeviceID oeffne(bool aufnahme, const SDL_AudioSpec& wunsch)
{
    std::lock_guard g(sperre());
    return SDL_OpenAudioDevice(nullptr, aufnahme ? 1 : 0, &wunsch, nullptr, 0);
}

// Waits for a callback still running.
inline void schliesse(SDL_AudioDeviceID geraet)
{
    std::lock_guard g(sperre());
    SDL_CloseAudioDevice(geraet);
}

// Whether SDL stopped the device (it was removed, or its server went away).
inline bool weg(SDL_AudioDeviceID geraet)
{
    std::lock_guard g(sperre());
    return SDL_GetAudioDeviceStatus(geraet) == SDL_AUDIO_STOPPED;
}

} // namespace SdlAudio
