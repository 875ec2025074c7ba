// The entry point of the player module klavidor_ton.so.
#include "app/SdlTonausgabe.h"

extern "C" Q_DECL_EXPORT Tonausgabe* klavidor_tonausgabe_erzeugen() { return new SdlTonausgabe; }
