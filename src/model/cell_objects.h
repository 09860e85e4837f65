#pragma once
// What each object code of a cell is called, and what its four values mean.
#include <array>
#include <cstdint>
#include <string_view>

#include "model/cella.h"

struct object_description {
    std::string_view name;
    std::array<std::string_view, 4> fields;  // labels of dato1 to dato4; empty: not used
};

// Unknown codes are described as such, with unlabelled values.
object_description describe_object(uint8_t tipo_oggetto);

// The position, in metres, that a text-file line has to give for its object to land
// in cell k: k - 1 cells for the objects placed at cella_oggetto, k cells for
// stations, spans and code cuts.
int64_t object_metres(uint8_t tipo_oggetto, int64_t k);
