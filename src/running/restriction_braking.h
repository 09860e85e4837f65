#pragma once
// Slowing for a restriction: from the line speed at its warning cell, which
// stands LINE_BRAKING_DISTANCE_M before its start, to its speed.
#include <optional>

#include "model/modello.h"
#include "running/permitted_speed.h"
#include "running/train_model.h"

struct restriction_braking {
    double from_kmh = 0;           // the line speed at the warning, no more than the locomotive's top speed
    double gradient_permille = 0;  // the mean over the cells from the warning to the start
    // To slow to the restriction's speed: 0 when the speed at the warning is no
    // higher, nothing when the gradient outweighs the brakes.
    std::optional<double> needed_m;
};

// Nothing for a restriction too near the line's start to have its warning cell.
std::optional<restriction_braking> braking_for(const modello& m, const placed_restriction& r, const train_in_use& train);
