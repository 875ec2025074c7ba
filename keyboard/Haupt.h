// The run's shared variables live with the practice core; tools and tests include them from here.
#pragma once

#include "kern/Haupt.h"
