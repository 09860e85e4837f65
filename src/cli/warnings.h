#pragma once
// Warnings for what compiles but is almost surely a mistake, from the reader's
// record of what it read.
#include <string>
#include <vector>

#include "model/modello.h"

struct warning {
    std::string file;  // file name, without its directory
    int32_t line = 0;
    std::string message;

    // "FILE:LINE: warning: message"
    std::string text() const;
};

std::vector<warning> scenario_warnings(const modello& m);

