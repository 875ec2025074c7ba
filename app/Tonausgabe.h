// The player moved to sound/; this name stays for tests and tools that include it.
#pragma once

#include "sound/Tonausgabe.h"
