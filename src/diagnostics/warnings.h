#pragma once
// Warnings for what compiles but is almost surely a mistake, from the reader's
// record of what it read. Each kind has a name, shown as [-Wname] and used by
// -Wname / -Wno-name.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "model/modello.h"

// Every kind, in the order of the warnings table of docs/format.md.
enum class warning_kind : uint8_t {
    unknown_keyword,
    extra_fields,
    missing_train,
    section,
    truncated,
    binary,
    encoding,
    order,
    cell_rounding,
    curve_side,
    curve_overlap,
    curve_past_geometry,
    negative_length,
    restriction_edge_in_station,
    overflow,
    replaced_value,
    comment,
    missing_text,
    unclosed_quote,
    speed_step,
    no_coaches,
    unknown_section,
    station_in_restriction,
    continued_line,
    timetable,
    restriction,
    tight_timetable,
    braking,
};

struct warning_entry {
    warning_kind kind;
    const char* name;     // without the "-W"
    const char* summary;  // one line, what it warns about
    bool pedantic;        // on only with -Wall (or -Wname)
};

// Every kind's entry, in the enum's order.
std::span<const warning_entry> warning_kinds();
const warning_entry* find_warning_kind(std::string_view name);
const warning_entry& entry_of(warning_kind kind);
// The code a warning of the kind carries: "-W" and its name.
std::string warning_code(warning_kind kind);

// A warning of a kind at a place, its message given in Windows-1252.
diagnostic warning_of(warning_kind kind, const luogo_testo& where, const std::string& message);

// Every warning of every kind, pedantic ones included; the caller keeps those it
// was asked for. Sorted by file (route first) and line. Those of the running
// times are running_warnings' (diagnostics/running_warnings.h).
std::vector<diagnostic> scenario_warnings(const modello& m);
