#pragma once
// What the tooling tells an author about a scenario: errors, warnings and their
// notes, each at its place in a text file, and the one order they are shown in.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/registro_lettura.h"

enum class severity { error, warning };

// "error" or "warning", as every form names it.
inline const char* severity_name(severity s) { return s == severity::error ? "error" : "warning"; }

// A place in a text file: the path as the user gave it (UTF-8), a 1-based line
// and 1-based byte column (0 when unknown), and how many bytes to underline.
struct text_place {
    std::string file;
    int32_t line = 0;
    int32_t column = 0;
    int32_t length = 0;
};

struct diagnostic_note {
    text_place place;
    std::string message;
};

struct diagnostic {
    severity level = severity::error;
    // "E16" for an error; "-Wname" for a warning (as shown between brackets).
    std::string code;
    text_place place;
    std::optional<int32_t> position_m;  // the position the error state records
    std::string message;                // UTF-8
    std::vector<diagnostic_note> notes;
};

// The source text of each file by its path as given, as read (Windows-1252),
// for the source line shown under a diagnostic.
using source_texts = std::map<std::string, std::string>;

// What a compile ends with besides its diagnostics, for the machine forms.
struct compile_outcome {
    int32_t error_code = 0;    // the error state
    int32_t error_metres = 0;  // its position
    std::optional<std::string> report;   // the numbered report, when one ended the run
    std::vector<std::string> written;    // the files written, names only
};

// Orders diagnostics by file (route first, then train, then any other or none)
// and by line and column; diagnostics at one place keep their order.
void sort_diagnostics(std::vector<diagnostic>& diagnostics, const registro_lettura& files);
