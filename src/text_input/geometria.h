#pragma once
// The plan geometry, one metre per step, in doubles in a fixed order of operations:
// the compiled route file holds these values bit for bit.
#include <cstdint>

#include "model/tracciato.h"

// One step at metre c from the two points before it; a turn k of 0 is straight.
// Returns false, storing nothing, when c lies beyond the geometry's last point.
bool passo_geometria(tracciato_t& t, int32_t c, double k);
// The steps at metres da to a in turn, all of turn k, as passo_geometria's one by
// one; returns the first metre not stored (a + 1 when all were, da when a < da).
// A geometry only measured (tracciato_t::misura) stores nothing and returns the same.
int32_t passi_geometria(tracciato_t& t, int32_t da, int32_t a, double k);
