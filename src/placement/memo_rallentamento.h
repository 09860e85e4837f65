#pragma once
// The placement of a speed restriction's cells: warning, start, end and pre-warning.
#include <cstdint>

#include "model/modello.h"
#include "placement/rifiuto_posa.h"

// Places one speed restriction (warning, start, end, pre-warning cells). Returns
// the refusal (avviso_, inizio_, preavviso_occupato, fine_occupata), or nessuno;
// cells written before a refusal stay written.
rifiuto_posa memo_rallentamento(modello& m, int32_t x, int32_t& v, int32_t& l, int32_t& f_tt, int32_t f_ta,
                        int32_t& d_v);
