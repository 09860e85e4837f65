#pragma once
// The compile of an author's two text files, as every tool runs it: the inputs
// checked, the identifiers derived, the model compiled (in memory, or into the
// three files under the write policy of `compile`), and every fault and the
// chosen warnings found.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/warning_choice.h"
#include "model/modello.h"
#include "platform/failure.h"

struct session_inputs {
    std::filesystem::path route, train;
    // The texts (Windows-1252) in place of the files' contents, as an editor holds
    // them; the paths still name the files in the diagnostics.
    std::optional<std::string> route_text, train_text;
    std::optional<std::string> route_id, train_number;  // UTF-8; not given: from the files' names
    bool no_geometry = false;
    int32_t error_limit = 20;  // 0: no limit
    warning_choice warnings = *choose_warnings({});
};

struct session_compile {
    modello m;
    testi_lettore texts;                  // as read, Windows-1252
    std::string route_id, train_number;   // UTF-8, as given or derived
    esito_compilazione esito;
    std::vector<diagnostic> diagnostics;  // the faults, then the chosen warnings, in file order
    size_t warnings = 0;                  // how many of them are warnings
    size_t warnings_as_errors = 0;        // how many of those the choice takes as errors
    bool limit_reached = false;           // the faults stopped at the error limit
    source_files sources;                 // for the places and lines the diagnostics show

    // It ran to its end (no numbered report) and built the grid, an error state
    // notwithstanding: there is something to draw.
    bool drawable() const;
};

// Where `compile` writes and when.
struct write_policy {
    std::filesystem::path folder = ".";
    bool check = false;           // write nothing, not even the folder
    bool write_on_error = false;  // write even with a non-zero error state
};

// A failure of the run itself (usage, input, output), said as `message`, as the
// one diagnostic the machine forms and the live view show: no code, no place.
diagnostic failure_diagnostic(std::string message);

// The inputs' own checks, before anything is read: each one a file that can be
// read (unless its text is given), the two not one file, and no identifier given empty.
maybe_failure check_inputs(const session_inputs& in);

// An identifier given empty (not left to the files' names) names no file: a usage failure.
maybe_failure check_given_identifiers(const std::optional<std::string>& route_id,
                                      const std::optional<std::string>& train_number);

// The compile, writing nothing.
result<session_compile> compile_in_memory(const session_inputs& in);

// The compile as `compile` runs it: the outputs checked too (no output may
// overwrite an input; the folder is created, and taken away again when nothing is
// written), the files written under the policy.
// Warnings taken as errors keep the files from being written, like any error.
result<session_compile> compile_and_write(const session_inputs& in, const write_policy& policy);
