#pragma once
// A compile of an author's two text files in memory, as `compile` runs it and as
// the drawings run it: inputs checked, identifiers derived, the model compiled,
// and every fault and the chosen warnings found.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "cli/diagnostics.h"
#include "compile/memorizza_percorso.h"
#include "model/modello.h"

// The warnings asked for: the default set, then each -W flag in order.
struct warning_choice {
    std::set<std::string> on;
    bool as_errors = false;
};
// The choice of the -W flags (given without the "-W"), or what is wrong with one.
std::variant<warning_choice, std::string> choose_warnings(const std::vector<std::string>& flags);
// The scenario's warnings the choice keeps; errors when it takes warnings as errors.
std::vector<diagnostic> chosen_warnings(const modello& m, const warning_choice& choice);

struct check_inputs {
    std::filesystem::path route, train;
    std::string route_id, train_number;  // UTF-8; empty: from the files' names
    bool no_geometry = false;
    int32_t error_limit = 20;  // 0: no limit
    warning_choice warnings = std::get<warning_choice>(choose_warnings({}));
};

// A failure of the run itself (usage, input, output) and its exit status; the
// message says what, without the command's name.
struct check_failure {
    int status = 0;
    std::string message;
};

struct checked_compile {
    modello m;
    testi_lettore texts;                  // as read, Windows-1252
    std::string route_id, train_number;   // UTF-8, as given or derived
    esito_compilazione esito;
    std::vector<diagnostic> diagnostics;  // the faults, then the chosen warnings, in file order
    size_t warnings = 0;                  // how many of them are warnings
    bool limit_reached = false;           // the faults stopped at the error limit
    source_texts sources;                 // for the lines shown under the diagnostics
};

// The first stage: both inputs readable, the identifiers derived where not given
// and fit to name files; they are set in c.m.
std::optional<check_failure> identify_inputs(const check_inputs& in, checked_compile& c);

// The second: the texts read and compiled with `options` (which take the inputs
// from `in` and the texts from c), the faults and warnings found.
std::optional<check_failure> compile_identified(const check_inputs& in, opzioni_compilazione options,
                                                checked_compile& c);

// Both, writing nothing.
std::variant<checked_compile, check_failure> check_compile(const check_inputs& in);
