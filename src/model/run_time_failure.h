#pragma once
// A run-time failure: a value that does not fit its type, a field that cannot be
// read, an overflow. The scenario reader turns any of these into status 25;
// anywhere else it ends the run.
#include <stdexcept>
#include <string>

struct run_time_failure : std::runtime_error {
    explicit run_time_failure(const std::string& what) : std::runtime_error(what) {}
};
