#pragma once
// Warnings of a timetable no train can keep and of restrictions that restrict
// nothing or cannot be braked for: -Wtimetable, -Wrestriction,
// -Wtight-timetable and -Wbraking, from the running-time engine.
#include <array>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/modello.h"
#include "running/train_model.h"

// The kinds, as the warnings table names them.
inline constexpr std::array<const char*, 4> RUNNING_KINDS = {"timetable", "restriction", "tight-timetable", "braking"};

// Every warning of the four kinds, for a compiled scenario (none when its
// compile ended with an error state or a report: its model is partial).
// Without `model_runs`, none of tight-timetable, whose runs take most of the time.
std::vector<diagnostic> running_warnings(const modello& m, const train_model& train = {}, bool model_runs = true);
