#include "lsp/features.h"

#include <utility>

std::string hint_label(const campo_riga& field) { return std::string(field.breve) + ":"; }

std::vector<inlay_hint_item> inlay_hints(const std::vector<line_reading>& lines, const luogo_testo& from,
                                         const luogo_testo& to, const hint_settings& settings) {
    std::vector<inlay_hint_item> out;
    const auto within = [&](int32_t line, int32_t column) {
        return std::pair(from.line, from.column) <= std::pair(line, column) &&
               std::pair(line, column) <= std::pair(to.line, to.column);
    };
    for (const line_reading& r : lines) {
        if (r.line < from.line || r.line > to.line || r.shape != line_shape::keyword) continue;
        const genere_campi& g = campi_di(*r.kind);
        if (g.campi.size() < 2 || settings.hidden.count(std::string(g.chiave))) continue;
        for (size_t i = 0; i < r.values.size() && i < g.campi.size(); ++i) {
            const field_span& v = r.values[i];
            if (v.length == 0 || !within(r.line, v.column)) continue;
            out.push_back({{g.file(), r.line, v.column, v.length}, hint_label(g.campi[i])});
        }
    }
    return out;
}
