#pragma once
// The placement of a signal in its cell.
#include <cstdint>

#include "model/modello.h"
#include "placement/rifiuto_posa.h"

// Places one signal; an occupied cell refuses it with segnale_occupato and
// nothing is written. Returns the refusal, or nessuno.
rifiuto_posa memo_segnale(modello& m, int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2, int32_t& s3,
                  int32_t& rapp, int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3, int32_t& tempo);
