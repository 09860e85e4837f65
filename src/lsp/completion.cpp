#include "lsp/features.h"

#include <algorithm>

namespace {

std::string snippet_of(const genere_campi& g) {
    std::string s = std::string(g.chiave) + ", ";
    for (size_t i = 0; i < g.campi.size(); ++i) {
        std::string name(g.campi[i].nome);
        for (char& c : name)
            if (c == '$' || c == '}' || c == '\\' || c == ',') c = ' ';
        s += (i ? ", " : "") + std::string("${") + std::to_string(i + 1) + ":" + name + "}";
    }
    return s;
}

}  // namespace

std::optional<completion_answer> completion(const std::vector<line_reading>& lines, file_testo file, int32_t line,
                                            int32_t column) {
    if (line < 1 || static_cast<size_t>(line) > lines.size()) return std::nullopt;
    const line_reading& r = lines[static_cast<size_t>(line) - 1];
    if (field_at(r, column) >= 0 && !(r.values.empty() && r.keyword.text.empty())) return std::nullopt;
    completion_answer out;
    out.replaces = {file, line, r.keyword.column, std::max<int32_t>(0, column - r.keyword.column)};
    const bool before = r.shape == line_shape::skipped;
    const bool general_open = file == file_testo::linea && r.section == sezione_riga::generale && !before;
    for (const char* s : {"[generale]", "[fine]"})
        out.entries.push_back({s, "section line", s, s, true});
    if (before) return out;
    if (general_open) {
        // The line that ends the general section: the body's sections follow it.
        for (const char* s : {"[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]"})
            out.entries.push_back({s, "section line", s, s, true});
    } else if (file == file_testo::treno) {
        for (const char* s : {"[aderenze]", "[vel_limite]", "[stazioni]", "[rallentamenti]", "[segnali]", "[codici]"})
            out.entries.push_back({s, "section line", s, s, true});
    }
    for (const genere_campi& g : generi_campi()) {
        if (g.sezione != r.section) continue;
        out.entries.push_back({std::string(g.chiave), std::string(g.campi.size() == 1 ? g.campi[0].nome : g.chiave),
                               snippet_of(g), std::string(g.esempio), false});
    }
    return out;
}
