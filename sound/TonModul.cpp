// The entry point of the player module klavidor_ton.so.
#include "sound/SdlTonausgabe.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

// Called on the thread that loads the module, which ends afterwards: SDL's per-thread data of
// that thread (its error text) is given back here, since SDL did not make the thread.
extern "C" Q_DECL_EXPORT Tonausgabe* klavidor_tonausgabe_erzeugen()
{
    auto* ton = new SdlTonausgabe;
    SDL_TLSCleanup();
    return ton;
}
