#pragma once
// The speed a train may run at along the line, metre by metre: the line speed
// of each cell lowered by each restriction over its stretch.
#include <cstdint>
#include <vector>

#include "model/modello.h"

// A restriction as placed: its line's values.
struct placed_restriction {
    int32_t start_m = 0, length_m = 0, speed_kmh = 0;
    int32_t line = -1;  // in registro.righe
};

// The limit in force over metre i to i + 1, and where it comes from.
struct permitted_speeds {
    std::vector<uint16_t> kmh;    // metre 0 upward; a line speed (a cell's, times 5) fits, and a restriction is lower
    std::vector<int32_t> source;  // -1: the line speed; else the index in `restrictions`
    std::vector<placed_restriction> restrictions;
};

// The restrictions of the scenario, in line order: those of a positive length and speed.
std::vector<placed_restriction> restrictions_of(const modello& m);

// The limits for the head of a train over metres 0 to `metres`.
permitted_speeds head_limits(const modello& m, int32_t metres);

// The limits for a whole train `length_m` long, in place of the head's: after a
// lower limit it speeds up again only when its tail has cleared it.
permitted_speeds train_limits(permitted_speeds head, double length_m);
