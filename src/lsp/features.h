#pragma once
// What the server answers an editor with, in the compiler's terms: places are
// luogo_testo (1-based lines, byte columns of the Windows-1252 text) and texts
// are UTF-8. The protocol's form is the server's business.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "lsp/line_fields.h"
#include "lsp/scenario_check.h"

// Inlay hints: each value's field's short name before it, for the values that
// begin within [from, to] (line and byte column).
struct hint_settings {
    std::set<std::string> hidden;  // keywords (as the field table writes them) whose lines get none
};
struct inlay_hint_item {
    luogo_testo place;  // the value it stands before
    std::string label;  // "pos:"
};
std::vector<inlay_hint_item> inlay_hints(const std::vector<line_reading>& lines, const luogo_testo& from,
                                         const luogo_testo& to, const hint_settings& settings);
// The short name a hint shows for a field.
std::string hint_label(const campo_riga& field);

// Hover: on a keyword, the line's kind and its fields; on a value, its field.
struct hover_answer {
    luogo_testo place;
    std::string markdown;
};
std::optional<hover_answer> hover(const scenario_check& check, const std::vector<line_reading>& lines,
                                  const luogo_testo& place);

// Completion: the keywords read at the place, and the section lines.
struct completion_entry {
    std::string label;
    std::string detail;
    std::string snippet;  // tab stops holding values the reader takes, the keyword's variants as a choice
    std::string plain;    // a whole line without them
    std::string documentation;  // the fields, by name
    bool section = false;
};
// The kind's fields, one a line: "1. position (m): where the signal stands".
std::string field_list(const genere_campi& g);
struct completion_answer {
    luogo_testo replaces;  // what the chosen entry takes the place of
    std::vector<completion_entry> entries;
};
std::optional<completion_answer> completion(const std::vector<line_reading>& lines, const luogo_testo& place);

// Signature help: the keyword's fields, the one at the column active.
struct signature_answer {
    std::string label;  // "segnale, position, sx, ..."
    std::vector<std::pair<int32_t, int32_t>> parameters;  // each field's [start, end) in the label, in bytes
    std::vector<std::string> documentation;               // each field's meaning
    int32_t active = 0;
};
std::optional<signature_answer> signature_help(const std::vector<line_reading>& lines, const luogo_testo& place);

// Document symbols: the sections, and in them the objects, in line order.
enum class symbol_class { section, station, restriction, signal, curve, span, board, other };
struct symbol_entry {
    std::string name, detail;
    symbol_class what = symbol_class::other;
    luogo_testo range, selection;  // range: where the object's lines begin
    luogo_testo range_end;         // and where they end (its column just past the last byte)
    std::vector<symbol_entry> children;
};
std::vector<symbol_entry> document_symbols(const std::vector<line_reading>& lines, const scenario_check& check);

// "km 348+350" of a position, under the compile's kilometric references.
std::optional<std::string> kilometre_reading(const scenario_check& check, int64_t metres);

// Formatting: in each run of consecutive lines of one keyword, the values aligned
// in columns (right-aligned, ", " between them), a trailing text as written. Only
// lines whose reading cannot change are touched: every field there, separated by
// commas, numbers as plain digits; lines in `keep` (1-based) stay as they are.
struct line_edit {
    int32_t line = 0;       // 1-based; the whole line, its end excluded
    std::string text;       // Windows-1252
};
std::vector<line_edit> format_lines(std::string_view text, file_testo file, int32_t from, int32_t to,
                                    const std::set<int32_t>& keep = {});

// Folding ranges: each section from its line to the last line before the next.
struct fold_range {
    int32_t first = 0, last = 0;  // 1-based lines
};
std::vector<fold_range> folding_ranges(const std::vector<line_reading>& lines);

// Quick fixes: the fix-its the diagnostics carry, a position moved to a cell's
// start, missing numbers added as 0 and extra fields removed, each offered only
// when the compile with it applied loses its diagnostic and gains no error.
struct byte_edit {
    luogo_testo place;  // the bytes replaced: line, column, length
    std::string text;   // Windows-1252
};
struct quick_fix {
    std::string title;
    const diagnostic* fixes = nullptr;  // in the check's findings
    std::vector<byte_edit> edits;
};
std::vector<quick_fix> quick_fixes(const workspace& w, const open_document& d, const scenario_check& check,
                                   int32_t from, int32_t to, const warning_choice& warnings);
// The safe fixes of the whole file at once, when together they still gain no error.
std::vector<quick_fix> fix_all(const workspace& w, const open_document& d, const scenario_check& check,
                               const warning_choice& warnings);
