#pragma once
// Warnings of a timetable no train can keep and of restrictions that restrict
// nothing or cannot be braked for: -Wtimetable, -Wrestriction,
// -Wtight-timetable and -Wbraking, from the running-time engine.
#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/modello.h"
#include "running/train_model.h"

// Every warning of the four kinds, for a compiled scenario (none when its
// compile ended with an error state or a report: its model is partial).
std::vector<diagnostic> running_warnings(const modello& m, const train_model& train = {});
