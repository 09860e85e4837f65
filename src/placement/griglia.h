#pragma once
// Grid access shared by the placement procedures: a placement never reaches
// outside celle, and a cell outside the grid counts as occupied.
#include <cstdint>

#include "model/cella.h"
#include "model/modello.h"
#include "placement/rifiuto_posa.h"

// The cell at index k, or nullptr when k lies outside the allocated grid.
inline cella* cella_in_griglia(modello& m, int64_t k) {
    if (!m.in_griglia(k) || k >= static_cast<int64_t>(m.celle.size())) return nullptr;
    return &m.cella_da_scrivere(static_cast<size_t>(k));
}

// The cell at index k when it is inside the grid and free for a new object.
inline cella* cella_libera(modello& m, int64_t k) {
    cella* c = cella_in_griglia(m, k);
    return c != nullptr && e_libera(*c) ? c : nullptr;
}

// A refusal for cell k: naming the cell when it lies inside the grid (occupied),
// not when it lies outside.
inline rifiuto_posa rifiuto_cella(modello& m, codice c, int64_t k) {
    return {c, cella_in_griglia(m, k) != nullptr ? k : -1};
}
