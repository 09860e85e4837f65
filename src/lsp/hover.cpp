#include "lsp/features.h"

#include <charconv>
#include <cstdio>

#include "model/testo_1252.h"
#include "platform/path_text.h"
#include "placement/lettura_chilometrica.h"

namespace {

const char* range_text(larghezza_campo w) {
    switch (w) {
        case larghezza_campo::long32: return "a whole number from -2147483648 to 2147483647";
        case larghezza_campo::integer16: return "a whole number from -32768 to 32767";
        case larghezza_campo::byte8: return "a whole number from 0 to 255";
        case larghezza_campo::testo: return "a text";
    }
    return "";
}

const char* file_word(file_testo f) { return f == file_testo::treno ? "train file" : "route file"; }

const char* section_word(sezione_riga s) {
    switch (s) {
        case sezione_riga::generale: return "the route file's general section";
        case sezione_riga::corpo: return "the route file's body";
        case sezione_riga::treno: return "the train file";
    }
    return "";
}

std::string kind_summary(const genere_campi& g) {
    std::string s = "**" + std::string(g.chiave) + "**, read in " + section_word(g.sezione) + "\n\n";
    for (size_t i = 0; i < g.campi.size(); ++i) {
        const campo_riga& c = g.campi[i];
        s += std::to_string(i + 1) + ". " + std::string(c.nome);
        if (!c.unita.empty()) s += " (" + std::string(c.unita) + ")";
        s += ": " + std::string(c.significato) + "\n";
    }
    return s + "\nexample: `" + std::string(g.esempio) + "`";
}

// The cell the line's object claimed in the compile, when it did.
std::optional<int64_t> claimed_cell(const session_compile& c, file_testo file, int32_t line) {
    const std::vector<riga_letta>& righe = c.m.registro.righe;
    for (size_t k = 0; k < c.m.righe_celle.size(); ++k) {
        const int32_t i = c.m.righe_celle[k];
        if (i >= 0 && static_cast<size_t>(i) < righe.size() && righe[static_cast<size_t>(i)].luogo.file == file &&
            righe[static_cast<size_t>(i)].luogo.line == line)
            return static_cast<int64_t>(k);
    }
    return std::nullopt;
}

// The diagnostics whose place is on the line and covers the column (or the whole line).
std::string diagnostics_at(const checked_file* f, int32_t line, int32_t column) {
    std::string s;
    if (!f) return s;
    for (const diagnostic& d : f->diagnostics) {
        const luogo_testo& p = d.place;
        if (p.line != line) continue;
        if (p.column > 0 && p.length > 0 && (column < p.column || column > p.column + p.length)) continue;
        s += "\n\n---\n**" + std::string(severity_name(d.level)) + (d.code.empty() ? "" : " " + d.code) + "**: " + d.message;
    }
    return s;
}

}  // namespace

std::optional<std::string> kilometre_reading(const scenario_check& check, int64_t metres) {
    if (!check.compile) return std::nullopt;
    const std::optional<int64_t> km = lettura_chilometrica(check.compile->m.voci, metres);
    if (!km) return std::nullopt;
    const int64_t whole = *km / 1000, rest = (*km % 1000 + 1000) % 1000;
    char text[48];
    std::snprintf(text, sizeof text, "km %lld+%03lld", static_cast<long long>(whole), static_cast<long long>(rest));
    return std::string(text);
}

std::optional<hover_answer> hover(const scenario_check& check, file_testo file, const std::vector<line_reading>& lines,
                                  int32_t line, int32_t column) {
    if (line < 1 || static_cast<size_t>(line) > lines.size()) return std::nullopt;
    const line_reading& r = lines[static_cast<size_t>(line) - 1];
    const checked_file* f = check.of(file);
    std::string pair_note;
    if (file == file_testo::linea && check.pair)
        pair_note = "\n\n_diagnostics from the pair with " + utf8_path(check.pair->train.filename()) + "_";
    if (r.shape == line_shape::section && column <= r.keyword.end() + 1)
        return hover_answer{{file, line, r.keyword.column, r.keyword.length},
                            "section line `" + utf8_da_1252(r.keyword.text) + "`" + pair_note +
                                diagnostics_at(f, line, column)};
    if (r.shape != line_shape::keyword) {
        std::string d = diagnostics_at(f, line, column);
        if (d.empty()) return std::nullopt;
        return hover_answer{{file, line, 1, 0}, d.substr(7)};
    }
    const genere_campi& g = campi_di(*r.kind);
    const int32_t i = field_at(r, column);
    if (i < 0)
        return hover_answer{{file, line, r.keyword.column, r.keyword.length},
                            kind_summary(g) + pair_note + diagnostics_at(f, line, column)};
    if (static_cast<size_t>(i) >= r.values.size()) return std::nullopt;
    const field_span& v = r.values[static_cast<size_t>(i)];
    if (column < v.column) return std::nullopt;
    std::string s = "**" + std::string(i < static_cast<int32_t>(g.campi.size()) ? g.campi[static_cast<size_t>(i)].nome
                                                                               : std::string_view("extra field")) +
                    "**, field " + std::to_string(i + 1) + " of `" + std::string(g.chiave) + "` (" +
                    file_word(file) + ")";
    if (static_cast<size_t>(i) < g.campi.size()) {
        const campo_riga& c = g.campi[static_cast<size_t>(i)];
        if (!c.unita.empty()) s += ", in " + std::string(c.unita);
        s += "\n\n" + std::string(range_text(c.larghezza)) + ": " + std::string(c.significato);
        int64_t value = 0;
        const auto [end, ec] = std::from_chars(v.text.data(), v.text.data() + v.text.size(), value);
        const bool number = ec == std::errc() && end == v.text.data() + v.text.size();
        if (number && c.unita == "m" && c.ruolo != ruolo_campo::lunghezza) {
            if (auto km = kilometre_reading(check, value)) s += "\n\nat " + *km;
        }
        if (number && c.ruolo == ruolo_campo::posizione && check.compile) {
            if (auto k = claimed_cell(*check.compile, file, line))
                s += "\n\nits object takes cell " + std::to_string(*k) + " (metres " + std::to_string(*k * 50) +
                     " to " + std::to_string(*k * 50 + 49) + ")";
            else
                s += "\n\nthe last compile took no cell for this line";
        }
    } else {
        s += "\n\nthe line has no such field: the reader takes it as a keyword field of its own";
    }
    return hover_answer{{file, line, v.column, v.length}, s + diagnostics_at(f, line, column)};
}
