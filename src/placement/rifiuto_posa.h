#pragma once
// What a placement answers: nessuno, or the status that refused the object and,
// for an occupied cell, which cell it was (so the author can be told whose
// object holds it).
#include <cstdint>

#include "model/codice.h"

struct rifiuto_posa {
    codice codice_rifiuto = codice::nessuno;
    int64_t cella = -1;  // the occupied cell inside the grid; -1 for none

    rifiuto_posa() = default;
    rifiuto_posa(codice c, int64_t k = -1) : codice_rifiuto(c), cella(k) {}  // NOLINT: a bare code is a refusal
    friend bool operator==(const rifiuto_posa& r, codice c) { return r.codice_rifiuto == c; }
};
