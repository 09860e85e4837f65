#include "lsp/features.h"

#include <map>

std::string hint_label(const campo_riga& field) {
    static const std::map<std::string_view, std::string_view> short_names = {
        {"position", "pos"}, {"start", "from"}, {"end", "to"}, {"length", "len"},
        {"speed", "v"}, {"speed limit", "v"}, {"gradient", "grad"}, {"length of the route", "len"},
        {"kilometric value at the start", "km"}, {"hours", "h"}, {"minutes", "min"},
        {"seconds", "s"}, {"kind", "kind"}, {"name", "name"}, {"board text", "text"},
        {"type", "type"}, {"adhesion", "adh"}, {"value", "val"},
    };
    const auto it = short_names.find(field.nome);
    return std::string(it != short_names.end() ? it->second : field.nome) + ":";
}

std::vector<inlay_hint_item> inlay_hints(const std::vector<line_reading>& lines, int32_t from, int32_t to,
                                         const hint_settings& settings) {
    std::vector<inlay_hint_item> out;
    for (const line_reading& r : lines) {
        if (r.line < from || r.line > to || r.shape != line_shape::keyword) continue;
        const genere_campi& g = campi_di(*r.kind);
        if (g.campi.size() < 2 || settings.hidden.count(std::string(g.chiave))) continue;
        for (size_t i = 0; i < r.values.size() && i < g.campi.size(); ++i) {
            const field_span& v = r.values[i];
            if (v.length == 0) continue;
            out.push_back({{g.file(), r.line, v.column, v.length}, hint_label(g.campi[i])});
        }
    }
    return out;
}
