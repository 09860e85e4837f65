#include "lsp/features.h"

#include <algorithm>
#include <cstdlib>

#include "model/testo_1252.h"

namespace {

std::optional<symbol_class> object_class(genere_riga g) {
    switch (g) {
        case genere_riga::stazione: return symbol_class::station;
        case genere_riga::rallentamento: return symbol_class::restriction;
        case genere_riga::segnale: return symbol_class::signal;
        case genere_riga::curva: return symbol_class::curve;
        case genere_riga::montagna: return symbol_class::span;
        case genere_riga::indicatori_vmax:
        case genere_riga::cartello_indicatore: return symbol_class::board;
        default: return std::nullopt;
    }
}

int32_t line_length(const line_reading& r) {
    const field_span& last = r.values.empty() ? r.keyword : r.values.back();
    return std::max<int32_t>(0, last.end() - 1);
}

luogo_testo end_of(const luogo_testo& whole) { return {whole.file, whole.line, whole.column + whole.length, 0}; }

}  // namespace

std::vector<symbol_entry> document_symbols(const std::vector<line_reading>& lines, const scenario_check& check) {
    std::vector<symbol_entry> out;
    for (const line_reading& r : lines) {
        const file_testo file = r.section == sezione_riga::treno ? file_testo::treno : file_testo::linea;
        const luogo_testo whole{file, r.line, 1, line_length(r)};
        if (r.shape == line_shape::section) {
            out.push_back({utf8_da_1252(r.keyword.text), "", symbol_class::section, whole,
                           {file, r.line, r.keyword.column, r.keyword.length}, end_of(whole), {}});
            continue;
        }
        if (r.shape != line_shape::keyword || r.values.empty()) continue;
        const std::optional<symbol_class> what = object_class(*r.kind);
        if (!what) continue;
        const genere_campi& g = campi_di(*r.kind);
        symbol_entry e;
        e.what = *what;
        e.range = whole;
        e.range_end = end_of(whole);
        e.selection = {file, r.line, r.keyword.column, r.keyword.length};
        const std::string& at = r.values.front().text;
        e.detail = at + " m";
        e.name = std::string(g.chiave) + " " + at;
        if (*what == symbol_class::station && r.values.size() >= g.campi.size()) {
            e.name = utf8_da_1252(r.values[g.campi.size() - 1].text);
            char* end = nullptr;
            const long long metres = std::strtoll(at.c_str(), &end, 10);
            if (end && *end == '\0')
                if (auto km = kilometre_reading(check, metres)) e.detail = *km + ", " + at + " m";
        } else if (*r.kind == genere_riga::cartello_indicatore && r.values.size() >= 2) {
            e.name = utf8_da_1252(r.values[1].text);
        }
        if (e.name.empty()) e.name = std::string(g.chiave);
        if (!out.empty() && out.back().what == symbol_class::section) {
            out.back().range_end = e.range_end;
            out.back().children.push_back(std::move(e));
        } else {
            out.push_back(std::move(e));
        }
    }
    return out;
}
