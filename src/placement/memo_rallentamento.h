#pragma once
#include <cstdint>

#include "model/modello.h"

// Places one speed restriction (warning, start, end, pre-warning cells);
// refusals set codice_errore 17 to 20.
void memo_rallentamento(modello& m, int32_t x, int32_t& v, int32_t& l, int32_t& f_tt, int32_t f_ta,
                        int32_t& d_v);
