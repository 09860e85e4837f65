#pragma once
// Warnings for what compiles but is almost surely a mistake, from the reader's
// record of what it read. Each kind has a name, shown as [-Wname] and used by
// -Wname / -Wno-name.
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/modello.h"

struct warning_kind {
    const char* name;     // without the "-W"
    const char* summary;  // one line, what it warns about
    bool pedantic;        // on only with -Wall (or -Wname)
};

// Every kind, in the order of the warnings table of docs/format.md.
const std::vector<warning_kind>& warning_kinds();
const warning_kind* find_warning_kind(std::string_view name);

// A warning of kind NAME (without the "-W") at a place, its message given in Windows-1252.
diagnostic warning_of(const char* kind, const luogo_testo& where, const std::string& message);

// Every warning of every kind, pedantic ones included; the caller keeps those it
// was asked for. Sorted by file (route first) and line. Those of the running
// times are running_warnings' (diagnostics/running_warnings.h).
std::vector<diagnostic> scenario_warnings(const modello& m);
