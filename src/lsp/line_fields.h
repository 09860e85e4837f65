#pragma once
// The lines of a scenario text as an editor shows them: which keyword each line
// holds, where it stands (before [generale], the route's general section or body,
// the train file) and where each of its fields is. The reader's own record stops
// at a file's first fault; this reading goes on to the end, for the hints, hovers
// and symbols of every line.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/luogo_testo.h"
#include "model/registro_lettura.h"
#include "text_input/campi_righe.h"

enum class line_shape : uint8_t {
    skipped,  // before [generale]: never read
    blank,
    comment,  // a keyword field with a hyphen
    section,  // a field holding both '[' and ']'
    keyword,  // a known keyword
    unknown,  // a keyword field that matches no keyword of its place
};

struct field_span {
    int32_t column = 0;  // 1-based byte column
    int32_t length = 0;
    std::string text;    // Windows-1252, without its blanks
    int32_t end() const { return column + length; }
};

struct line_reading {
    int32_t line = 0;  // 1-based
    line_shape shape = line_shape::blank;
    sezione_riga section = sezione_riga::generale;  // where the line stands
    std::optional<genere_riga> kind;
    field_span keyword;
    std::vector<field_span> values;  // the fields after the keyword field
};

// Every line of a Windows-1252 text of the given file.
std::vector<line_reading> read_lines(std::string_view text, file_testo file);

// The keyword of its section a keyword field means, as the reader's containment
// tests take it.
std::optional<genere_riga> kind_of_keyword(std::string_view field, sezione_riga section);

// The field of a line a 1-based byte column stands in: -1 for the keyword field,
// otherwise the index of the value it is in or, between values, of the next one.
int32_t field_at(const line_reading& line, int32_t column);
