#pragma once
// Everything a module needs from the simulator.
#include "MFDAPI.h"
#include "OrbiterAPI.h"
