#pragma once
// The kilometre reading of a position along the line, from the compiled
// kilometric references: the one rule the drawings and the tooling read
// kilometres by.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/voce.h"

// A kilometric reference as compiled (records 81 to 83, ordered, the +100 of a
// flagged one applied): from `inizio` on, up to where the next one takes over,
// the reading at p is valore - (p - inizio) metres. Readings decrease along the
// line; no other direction is known.
struct riferimento_chilometrico {
    int32_t inizio = 0;
    int32_t valore = 0;

    int64_t lettura(int64_t p) const { return int64_t{valore} - (p - inizio); }
    // The position whose reading is km.
    int64_t posizione(int64_t km) const { return int64_t{inizio} + valore - km; }
};

// The references in use, the one starting furthest along first (as compiled):
// each holds from its start until the start of the one before it in this list.
std::vector<riferimento_chilometrico> riferimenti_chilometrici(const std::array<voce, NUMERO_VOCI>& voci);

// The reading at p under the reference in force; nothing before the first start,
// or on a line without references.
std::optional<int64_t> lettura_chilometrica(const std::array<voce, NUMERO_VOCI>& voci, int64_t p);
