#pragma once
// The placement of a mountain span over its cells.
#include <cstdint>

#include "model/modello.h"

// Records one mountain span and marks its cells; an 81st span is refused with
// montagne_esaurite. Returns the refusal, or nessuno.
codice memo_montagna(modello& m, int32_t& inizio, int32_t& fine, int32_t& tipo);
