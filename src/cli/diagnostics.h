#pragma once
// What `compile` tells an author about a scenario: errors, warnings and their
// notes, each at its place in a text file, and the three forms they are shown in
// (the compiler form editors parse, a JSON summary, SARIF).
#include <cstdint>
#include <map>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

enum class severity { error, warning };

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

// What the run ends with besides its diagnostics, for the machine forms.
struct compile_outcome {
    int32_t error_code = 0;    // the error state
    int32_t error_metres = 0;  // its position
    std::optional<std::string> report;   // the numbered report, when one ended the run
    std::vector<std::string> written;    // the files written, names only
};

// The compiler form, one diagnostic after another:
//   PATH:LINE:COL: error: MESSAGE [E16]
//   <the source line, as UTF-8>
//         ^~~~
//   PATH:LINE:COL: note: MESSAGE
// then "N errors, M warnings generated." when there is any. Colours (as the
// usual compilers use them) only with colour set.
void print_diagnostics(std::ostream& err, const std::vector<diagnostic>& diagnostics, const source_texts& sources,
                       bool colour);

// "3 errors generated.", "2 errors, 1 warning generated.", "" for none.
std::string diagnostics_summary(const std::vector<diagnostic>& diagnostics);

// {"diagnostics": [...], "error_state": {"code", "metres"}, "report", "written"}: the
// summary compile --json prints, and the live view's state starts from.
nlohmann::ordered_json summary_json(const std::vector<diagnostic>& diagnostics, const compile_outcome& outcome);
// The summary as compile --json prints it; text that is not UTF-8 is replaced.
std::string diagnostics_json(const std::vector<diagnostic>& diagnostics, const compile_outcome& outcome);

// A SARIF 2.1.0 log: one run, one result per diagnostic, the rules from the
// error table and the warning names.
std::string diagnostics_sarif(const std::vector<diagnostic>& diagnostics, const compile_outcome& outcome);

// A file's path as a URI reference for SARIF: forward slashes, percent-encoded
// where a URI does not allow the byte; relative paths stay relative, absolute
// ones (POSIX, drive letter, UNC) become file: URIs.
std::string file_uri_reference(std::string_view path);

// Text as a terminal is to show it, from an author's file or argument: control
// characters (C0, DEL and, in UTF-8, C1) become '?', one character each, so that
// none of them acts on the terminal and a caret still lines up. Tabs stay.
std::string printable(std::string_view utf8);

// Whether to colour the compiler form on stderr, for a choice of "auto", "always"
// or "never": auto colours only a terminal, and not when NO_COLOR is set.
bool use_colour(const std::string& choice);
