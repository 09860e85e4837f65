#include "lsp/line_fields.h"

#include "text_input/confronto.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A field from `at` up to a comma (consumed) or the line's end; `whole` keeps
// inner blanks (a text), otherwise the field ends at its first blank (a number).
field_span take_field(std::string_view line, size_t& at, bool whole) {
    while (at < line.size() && is_blank(line[at])) ++at;
    const size_t start = at;
    size_t end = at;
    if (whole && at < line.size() && line[at] == '"') {
        const size_t close = line.find('"', at + 1);
        end = at = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && line[at] != ',' && (whole || !is_blank(line[at]))) ++at;
        end = at;
        while (end > start && is_blank(line[end - 1])) --end;
    }
    while (at < line.size() && is_blank(line[at])) ++at;
    if (at < line.size() && line[at] == ',') ++at;
    return {static_cast<int32_t>(start + 1), static_cast<int32_t>(end - start), std::string(line.substr(start, end - start))};
}

bool holds_section(std::string_view field) {
    return field.find('[') != std::string_view::npos && field.find(']') != std::string_view::npos;
}

}  // namespace

std::optional<genere_riga> kind_of_keyword(std::string_view field, sezione_riga section) {
    for (const genere_campi& g : generi_campi())
        if (g.sezione == section && legge_come(field, g.genere)) return g.genere;
    return std::nullopt;
}

std::vector<line_reading> read_lines(std::string_view text, file_testo file) {
    std::vector<line_reading> out;
    enum class stage { before, general, body } where = stage::before;
    int32_t number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        const std::string_view line = text.substr(start, end - start);
        line_reading r;
        r.line = ++number;
        r.section = file == file_testo::treno ? sezione_riga::treno
                    : where == stage::body    ? sezione_riga::corpo
                                              : sezione_riga::generale;
        size_t at = 0;
        r.keyword = take_field(line, at, true);
        if (where == stage::before) {
            r.shape = line_shape::skipped;
            if (find_ignore_case(r.keyword.text, "[generale]") != std::string_view::npos) {
                r.shape = line_shape::section;
                where = stage::general;
            }
        } else if (r.keyword.text.empty() && at >= line.size()) {
            r.shape = line_shape::blank;
        } else if (r.keyword.text.find('-') != std::string::npos) {
            r.shape = line_shape::comment;
        } else if (holds_section(r.keyword.text)) {
            r.shape = line_shape::section;
            if (file == file_testo::linea) where = stage::body;
        } else if ((r.kind = kind_of_keyword(r.keyword.text, r.section))) {
            r.shape = line_shape::keyword;
        } else {
            r.shape = line_shape::unknown;
        }
        if (r.shape != line_shape::skipped && r.shape != line_shape::comment) {
            const std::vector<campo_riga>* fields = r.kind ? &campi_di(*r.kind).campi : nullptr;
            while (at < line.size()) {
                const size_t i = r.values.size();
                const bool text_field = fields && i < fields->size() && (*fields)[i].larghezza == larghezza_campo::testo;
                field_span f = take_field(line, at, text_field || !fields);
                if (f.length > 0 || at < line.size() || (at > 0 && line[at - 1] == ',')) r.values.push_back(std::move(f));
            }
        }
        out.push_back(std::move(r));
        if (end >= text.size()) break;
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

int32_t field_at(const line_reading& line, int32_t column) {
    if (column <= line.keyword.end() && (line.values.empty() || column < line.values.front().column)) return -1;
    int32_t i = 0;
    for (const field_span& v : line.values) {
        if (column <= v.end()) return i;
        ++i;
    }
    return i;
}
