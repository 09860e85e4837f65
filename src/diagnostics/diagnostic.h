#pragma once
// What the tooling tells an author about a scenario: errors, warnings and their
// notes, each at its place in a text file, and the one order they are shown in.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/luogo_testo.h"

enum class severity { error, warning };

// "error" or "warning", as every form names it.
inline const char* severity_name(severity s) { return s == severity::error ? "error" : "warning"; }

struct diagnostic_note {
    luogo_testo place;
    std::string message;
};

// A replacement an editor may apply: `text` in place of the bytes `place`
// covers (from its column, its length of them; none for an insertion).
struct fix_it {
    luogo_testo place;
    std::string text;  // UTF-8
};

// What a fix-it does, in words, alike in every form: "replace with 'TEXT'".
std::string fix_description(const fix_it& f);

struct diagnostic {
    severity level = severity::error;
    // "E16" for an error; "-Wname" for a warning (as shown between brackets).
    std::string code;
    luogo_testo place;  // in neither file for a failure of the run itself
    std::optional<int32_t> position_m;  // the position the error state records
    std::string message;                // UTF-8
    std::vector<diagnostic_note> notes;
    std::vector<fix_it> fixes = {};  // an initialiser list may leave it out, without a warning
};

// A compile's two text files: each one's path as the user gave it (UTF-8) and its
// text as read (Windows-1252), for the place and the source line a form shows.
struct source_file {
    std::string path;
    std::string text;
};
struct source_files {
    source_file linea, treno;
    // The file a place is in; nullptr for nessuno.
    const source_file* of(file_testo f) const {
        return f == file_testo::linea ? &linea : f == file_testo::treno ? &treno : nullptr;
    }
};

// What a compile ends with besides its diagnostics, for the machine forms.
struct compile_outcome {
    int32_t error_code = 0;    // the error state
    int32_t error_metres = 0;  // its position
    std::optional<std::string> report;   // the numbered report, when one ended the run
    std::vector<std::string> written;    // the files written, names only
    bool compiled = true;  // false: the run failed before a compile's outcome was known, so no error state
};

// Orders diagnostics by file (route first, then train, then none) and by line and
// column; diagnostics at one place keep their order.
void sort_diagnostics(std::vector<diagnostic>& diagnostics);
