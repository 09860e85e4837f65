#include "lsp/features.h"

#include <algorithm>

std::optional<signature_answer> signature_help(const std::vector<line_reading>& lines, const luogo_testo& place) {
    const int32_t line = place.line, column = place.column;
    if (line < 1 || static_cast<size_t>(line) > lines.size()) return std::nullopt;
    const line_reading& r = lines[static_cast<size_t>(line) - 1];
    if (r.shape != line_shape::keyword) return std::nullopt;
    const int32_t at = field_at(r, column);
    if (at < 0) return std::nullopt;
    const genere_campi& g = campi_di(*r.kind);
    signature_answer out;
    out.label = std::string(g.chiave);
    for (const campo_riga& c : g.campi) {
        out.label += ", ";
        const auto start = static_cast<int32_t>(out.label.size());
        out.label += c.nome;
        out.parameters.emplace_back(start, static_cast<int32_t>(out.label.size()));
        out.documentation.push_back((c.unita.empty() ? "" : "(" + std::string(c.unita) + ") ") +
                                    std::string(c.significato));
    }
    out.active = std::min<int32_t>(at, static_cast<int32_t>(g.campi.size()) - 1);
    return out;
}
