#include "lsp/features.h"

#include <algorithm>

#include "lsp/text_encoding.h"

namespace {

bool only_blanks(std::string_view s) { return s.find_first_not_of(" \t") == std::string_view::npos; }

// Blanks, one comma, blanks.
bool comma_gap(std::string_view s) {
    const size_t comma = s.find(',');
    return comma != std::string_view::npos && only_blanks(s.substr(0, comma)) && only_blanks(s.substr(comma + 1));
}

bool plain_number(std::string_view s) {
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.remove_prefix(1);
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// Whether a line can be laid out anew without the reader reading it otherwise.
bool formattable(const line_reading& r, std::string_view line) {
    if (r.shape != line_shape::keyword || r.keyword.text.empty() || r.keyword.text[0] == '"') return false;
    const genere_campi& g = campi_di(*r.kind);
    if (r.values.size() != g.campi.size()) return false;
    int32_t end = r.keyword.end();
    for (size_t i = 0; i < r.values.size(); ++i) {
        const field_span& v = r.values[i];
        if (v.length == 0) return false;
        if (g.campi[i].larghezza != larghezza_campo::testo && !plain_number(v.text)) return false;
        if (!comma_gap(line.substr(static_cast<size_t>(end - 1), static_cast<size_t>(v.column - end)))) return false;
        end = v.end();
    }
    return only_blanks(line.substr(std::min(line.size(), static_cast<size_t>(end - 1))));
}

}  // namespace

std::vector<line_edit> format_lines(std::string_view text, file_testo file, int32_t from, int32_t to,
                                    const std::set<int32_t>& keep) {
    const std::vector<line_reading> lines = read_lines(text, file);
    const std::vector<std::string_view> raw = split_lines(text);
    std::vector<line_edit> out;
    for (size_t start = 0; start < lines.size();) {
        const auto ok = [&](size_t i) {
            return i < lines.size() && i < raw.size() && !keep.count(lines[i].line) && formattable(lines[i], raw[i]);
        };
        if (!ok(start)) {
            ++start;
            continue;
        }
        size_t end = start + 1;
        while (ok(end) && lines[end].kind == lines[start].kind) ++end;
        // The widths of the run's columns: the keyword with its comma, then each value.
        const genere_campi& g = campi_di(*lines[start].kind);
        size_t keyword = 0;
        std::vector<size_t> widths(g.campi.size(), 0);
        for (size_t i = start; i < end; ++i) {
            keyword = std::max(keyword, lines[i].keyword.text.size());
            for (size_t k = 0; k < widths.size(); ++k) widths[k] = std::max(widths[k], lines[i].values[k].text.size());
        }
        for (size_t i = start; i < end; ++i) {
            const line_reading& r = lines[i];
            if (r.line < from || r.line > to) continue;
            std::string s = r.keyword.text + ",";
            s.append(keyword - r.keyword.text.size(), ' ');
            for (size_t k = 0; k < widths.size(); ++k) {
                const std::string& v = r.values[k].text;
                s += k == 0 ? " " : ", ";
                if (g.campi[k].larghezza != larghezza_campo::testo) s.append(widths[k] - v.size(), ' ');
                s += v;
            }
            if (s != raw[i]) out.push_back({r.line, std::move(s)});
        }
        start = end;
    }
    return out;
}

std::vector<fold_range> folding_ranges(const std::vector<line_reading>& lines) {
    std::vector<fold_range> out;
    for (const line_reading& r : lines) {
        if (r.shape == line_shape::section) {
            out.push_back({r.line, r.line});
        } else if (!out.empty() && r.shape != line_shape::blank) {
            out.back().last = r.line;
        }
    }
    out.erase(std::remove_if(out.begin(), out.end(), [](const fold_range& f) { return f.last <= f.first; }), out.end());
    return out;
}
