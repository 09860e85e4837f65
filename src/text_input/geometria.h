#pragma once
// The plan geometry, one metre per step, in doubles in a fixed order of operations:
// the compiled route file holds these values bit for bit.
#include <cstdint>

#include "model/tracciato.h"

// One step at metre c from the two points before it; a turn k of 0 is straight.
// Returns false, storing nothing, when c lies beyond the geometry's last point.
bool passo_geometria(tracciato_t& t, int32_t c, double k);
