#pragma once
// Warnings of a timetable no train can keep and of restrictions that restrict
// nothing or cannot be braked for: -Wtimetable, -Wrestriction,
// -Wtight-timetable and -Wbraking, from the running-time engine.
#include <array>
#include <cstddef>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/warnings.h"
#include "model/modello.h"
#include "running/train_model.h"

// Field numbers, from 0, of a station line's time (its hours; the minutes and
// seconds follow) and of a restriction's speed and length.
inline constexpr size_t STATION_HOURS = 13;
inline constexpr size_t RESTRICTION_SPEED = 1;
inline constexpr size_t RESTRICTION_LENGTH = 2;

// The kinds, as the warnings table names them.
inline constexpr std::array<warning_kind, 4> RUNNING_KINDS = {warning_kind::timetable, warning_kind::restriction,
                                                             warning_kind::tight_timetable, warning_kind::braking};

// Every warning of the four kinds, for a compiled scenario (none when its
// compile ended with an error state or a report: its model is partial).
// Without `model_runs`, none of tight-timetable, whose runs take most of the time.
std::vector<diagnostic> running_warnings(const modello& m, const train_model& train = {}, bool model_runs = true);
