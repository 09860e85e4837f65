#include "lsp/features.h"

#include <algorithm>

namespace {

// A snippet's literal text: '$', '}' and '\' escaped, and in a choice ',' and '|' too.
std::string escaped(std::string_view text, bool choice) {
    std::string out;
    for (const char c : text) {
        if (c == '$' || c == '}' || c == '\\' || (choice && (c == ',' || c == '|'))) out += '\\';
        out += c;
    }
    return out;
}

// The keyword as a snippet: where the reader tells variants apart by words or
// digits in the keyword field, the part of its forms that differs is a choice
// (the first the default), so that every form inserted is one it reads.
std::string keyword_snippet(const genere_campi& g, int& stop) {
    std::vector<std::string_view> forms;
    for (const forma_chiave& f : chiavi_sezione(g.sezione))
        if (f.genere == g.genere) forms.push_back(f.forma);
    if (forms.size() < 2) return escaped(forms.empty() ? g.chiave : forms.front(), false);
    size_t head = 0, tail = 0;
    const auto shortest = std::min_element(forms.begin(), forms.end(), [](auto a, auto b) { return a.size() < b.size(); })->size();
    while (head < shortest && std::all_of(forms.begin(), forms.end(), [&](auto f) { return f[head] == forms[0][head]; })) ++head;
    while (tail < shortest - head &&
           std::all_of(forms.begin(), forms.end(), [&](auto f) { return f[f.size() - 1 - tail] == forms[0][forms[0].size() - 1 - tail]; }))
        ++tail;
    std::string s = escaped(forms[0].substr(0, head), false) + "${" + std::to_string(stop++) + "|";
    for (size_t i = 0; i < forms.size(); ++i)
        s += (i ? "," : "") + escaped(forms[i].substr(head, forms[i].size() - head - tail), true);
    return s + "|}" + escaped(forms[0].substr(forms[0].size() - tail), false);
}

// The values of the kind's example line, a trailing text whole.
std::vector<std::string> example_values(const genere_campi& g) {
    std::vector<std::string> out;
    std::string_view rest = g.esempio.substr(g.esempio.find(',') + 1);
    while (out.size() < g.campi.size()) {
        const bool last = out.size() + 1 == g.campi.size();
        const size_t comma = last ? std::string_view::npos : rest.find(',');
        std::string_view v = rest.substr(0, comma);
        v.remove_prefix(std::min(v.find_first_not_of(' '), v.size()));
        out.emplace_back(v.substr(0, v.find_last_not_of(' ') + 1));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return out;
}

// Every field a tab stop whose default is the example's value, one the reader takes.
std::string snippet_of(const genere_campi& g) {
    int stop = 1;
    std::string s = keyword_snippet(g, stop);
    const std::vector<std::string> values = example_values(g);
    for (size_t i = 0; i < g.campi.size(); ++i)
        s += ", ${" + std::to_string(stop++) + ":" + escaped(i < values.size() ? values[i] : "0", false) + "}";
    return s;
}

}  // namespace

std::string field_list(const genere_campi& g) {
    std::string s;
    for (size_t i = 0; i < g.campi.size(); ++i) {
        const campo_riga& c = g.campi[i];
        s += std::to_string(i + 1) + ". " + std::string(c.nome);
        if (!c.unita.empty()) s += " (" + std::string(c.unita) + ")";
        s += ": " + std::string(c.significato) + "\n";
    }
    return s;
}

std::optional<completion_answer> completion(const std::vector<line_reading>& lines, const luogo_testo& place) {
    const file_testo file = place.file;
    const int32_t line = place.line, column = place.column;
    if (line < 1 || static_cast<size_t>(line) > lines.size()) return std::nullopt;
    const line_reading& r = lines[static_cast<size_t>(line) - 1];
    if (field_at(r, column) >= 0 && !(r.values.empty() && r.keyword.text.empty())) return std::nullopt;
    completion_answer out;
    out.replaces = {file, line, r.keyword.column, std::max<int32_t>(0, column - r.keyword.column)};
    const bool before = r.shape == line_shape::skipped;
    const bool general_open = file == file_testo::linea && r.section == sezione_riga::generale && !before;
    for (const char* s : {"[generale]", "[fine]"})
        out.entries.push_back({s, "section line", s, s, "", true});
    if (before) return out;
    if (general_open) {
        // The line that ends the general section: the body's sections follow it.
        for (const char* s : {"[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]"})
            out.entries.push_back({s, "section line", s, s, "", true});
    } else if (file == file_testo::treno) {
        for (const char* s : {"[aderenze]", "[vel_limite]", "[stazioni]", "[rallentamenti]", "[segnali]", "[codici]"})
            out.entries.push_back({s, "section line", s, s, "", true});
    }
    for (const genere_campi& g : generi_campi()) {
        if (g.sezione != r.section) continue;
        out.entries.push_back({std::string(g.chiave), std::string(g.campi.size() == 1 ? g.campi[0].nome : g.chiave),
                               snippet_of(g), std::string(g.esempio), field_list(g), false});
    }
    return out;
}
