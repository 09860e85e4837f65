#pragma once
// A run-time failure: a value that does not fit its type, a field that cannot be
// read, an overflow. The scenario reader turns any of these into status 25;
// anywhere else it ends the run.
#include <stdexcept>
#include <string>

#include "model/luogo_testo.h"

struct run_time_failure : std::runtime_error {
    explicit run_time_failure(const std::string& what) : std::runtime_error(what) {}
    // A value that does not fit, thrown where the field it came from is known:
    // what() then says which field, the value and the range on its own.
    run_time_failure(const std::string& what, const luogo_testo& campo_) : std::runtime_error(what), campo(campo_) {}
    luogo_testo campo;  // the value's field (the first, for one made from several); none when unknown
};
