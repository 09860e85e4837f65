#pragma once
// The placement of a speed-indicator board in its cell.
#include <cstdint>

#include "model/modello.h"
#include "placement/rifiuto_posa.h"

// Places one speed-indicator board; an occupied cell refuses it with
// indicatore_occupato. Returns the refusal, or nessuno.
rifiuto_posa memo_indicatori_v_max(modello& m, int32_t posizione, int32_t& vas, int32_t& vbs, int32_t& vcs,
                           int32_t& strisces, int32_t& vad, int32_t& vbd, int32_t& vcd, int32_t& strisced);
