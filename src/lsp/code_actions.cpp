#include "lsp/features.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <set>
#include <tuple>

#include "diagnostics/diagnostic.h"
#include "diagnostics/warnings.h"
#include "model/testo_1252.h"

namespace {

// Byte edits, each within one line, applied from the last.
std::string with_byte_edits(std::string_view text, std::vector<byte_edit> edits) {
    std::vector<size_t> starts = {0};
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) starts.push_back(i + 1);
    std::sort(edits.begin(), edits.end(), [](const byte_edit& a, const byte_edit& b) {
        return std::tie(a.place.line, a.place.column) > std::tie(b.place.line, b.place.column);
    });
    std::string out(text);
    for (const byte_edit& e : edits) {
        if (e.place.line < 1 || static_cast<size_t>(e.place.line) > starts.size()) continue;
        const size_t at = starts[static_cast<size_t>(e.place.line) - 1] + static_cast<size_t>(e.place.column) - 1;
        if (at > out.size()) continue;
        out.replace(at, std::min(out.size() - at, static_cast<size_t>(e.place.length)), e.text);
    }
    return out;
}

std::string_view line_of(std::string_view text, int32_t n) {
    const std::vector<std::string_view> lines = split_lines(text);
    return n >= 1 && static_cast<size_t>(n) <= lines.size() ? lines[static_cast<size_t>(n) - 1] : std::string_view();
}

std::vector<quick_fix> candidates(const diagnostic& d, std::string_view text, const std::vector<line_reading>& lines) {
    std::vector<quick_fix> out;
    for (const fix_it& f : d.fixes) {
        const result<std::string> bytes = cp1252_da_utf8(f.text);
        if (bytes) out.push_back({fix_description(f), &d, {{f.place, *bytes}}});
    }
    const std::string_view line = line_of(text, d.place.line);
    if (d.place.column < 1 || static_cast<size_t>(d.place.column) > line.size() + 1) return out;
    if (d.code == warning_code(warning_kind::cell_rounding)) {
        const std::string_view field = line.substr(static_cast<size_t>(d.place.column) - 1, static_cast<size_t>(d.place.length));
        int64_t p = 0;
        const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), p);
        if (ec != std::errc() || end != field.data() + field.size()) return out;
        // The nearer cell start first, then the other, then the next few
        // beyond: where those are taken or reserved, a later one may be free.
        const int64_t low = p - ((p % METRI_CELLA) + METRI_CELLA) % METRI_CELLA, high = low + METRI_CELLA;
        std::vector<int64_t> to = p - low <= high - p ? std::vector{low, high} : std::vector{high, low};
        for (int64_t k = 1; k <= 4; ++k) to.push_back(high + METRI_CELLA * k);
        for (const int64_t m : to)
            out.push_back({"move the position to " + std::to_string(m) + " m", &d, {{d.place, std::to_string(m)}}});
    } else if (d.code == "E25" && d.fixes.empty() && static_cast<size_t>(d.place.line) <= lines.size()) {
        // A line whose fault has a fix of its own (the comma after its keyword) is never padded with zeros.
        // A line short of fields, which the reader filled from the next line: the
        // missing numbers added as 0 after its last value.
        const line_reading& r = lines[static_cast<size_t>(d.place.line) - 1];
        if (r.shape != line_shape::keyword || r.values.empty()) return out;
        const genere_campi& g = campi_di(*r.kind);
        if (r.values.size() >= g.campi.size() || g.campi.back().larghezza == larghezza_campo::testo) return out;
        std::string zeros;
        for (size_t i = r.values.size(); i < g.campi.size(); ++i) zeros += ", 0";
        const int32_t end = r.values.back().end();
        out.push_back({g.campi.size() - r.values.size() == 1 ? "add the missing field as 0" : "add the missing fields as 0", &d,
                       {{{d.place.file, d.place.line, end, static_cast<int32_t>(line.size()) + 1 - end}, zeros}}});
    } else if (d.code == warning_code(warning_kind::extra_fields)) {
        // From the comma before the first extra field to the line's end.
        const size_t comma = line.rfind(',', static_cast<size_t>(d.place.column) - 1);
        if (comma == std::string_view::npos) return out;
        out.push_back({"remove the fields after the last value", &d,
                       {{{d.place.file, d.place.line, static_cast<int32_t>(comma) + 1, static_cast<int32_t>(line.size() - comma)}, ""}}});
    }
    return out;
}

std::multiset<std::tuple<file_testo, int32_t, std::string>> errors_of(const scenario_check& c) {
    std::multiset<std::tuple<file_testo, int32_t, std::string>> out;
    for (const checked_file* f : {&c.route, &c.train})
        for (const diagnostic& d : f->diagnostics)
            if (d.level == severity::error) out.insert({d.place.file, d.place.line, d.code + d.message});
    return out;
}

// The compile with the edits applied: nothing of `removed` left, no error left
// on an edited line (a fix on a line with an error mends it), no error gained.
bool safe(const workspace& w, const open_document& d, const scenario_check& check, const std::vector<byte_edit>& edits,
          const std::vector<const diagnostic*>& removed, const warning_choice& warnings) {
    workspace edited = w;
    edited.open(d.uri, d.path, d.version, utf8_da_1252(with_byte_edits(d.text.bytes, edits)));
    const scenario_check after = check_scenario(edited, d.path, warnings);
    const checked_file* own = after.of(removed.empty() ? file_testo::nessuno : removed.front()->place.file);
    for (const diagnostic& x : own ? own->diagnostics : std::vector<diagnostic>{}) {
        for (const diagnostic* r : removed)
            if (x.code == r->code && x.place.line == r->place.line) return false;
        if (x.level == severity::error &&
            std::any_of(edits.begin(), edits.end(), [&](const byte_edit& e) { return e.place.line == x.place.line; }))
            return false;
    }
    const auto before_errors = errors_of(check), after_errors = errors_of(after);
    // Lines keep their numbers (a fix never adds or removes one): every error after is one before.
    return std::includes(before_errors.begin(), before_errors.end(), after_errors.begin(), after_errors.end());
}

}  // namespace

std::vector<quick_fix> quick_fixes(const workspace& w, const open_document& d, const scenario_check& check,
                                   int32_t from, int32_t to, const warning_choice& warnings) {
    std::vector<quick_fix> out;
    const checked_file* own = nullptr;
    for (const checked_file* f : {&check.route, &check.train})
        if (f->path == d.path) own = f;
    if (!own) return out;
    const std::vector<line_reading> lines = read_lines(d.text.bytes, own == &check.train ? file_testo::treno : file_testo::linea);
    for (const diagnostic& x : own->diagnostics) {
        if (x.place.line < from || x.place.line > to) continue;
        for (quick_fix& f : candidates(x, d.text.bytes, lines))
            if (safe(w, d, check, f.edits, {f.fixes}, warnings)) {
                out.push_back(std::move(f));
                break;  // the first fix that is safe, of each diagnostic
            }
    }
    return out;
}

std::vector<quick_fix> fix_all(const workspace& w, const open_document& d, const scenario_check& check,
                               const warning_choice& warnings) {
    std::vector<quick_fix> fixes = quick_fixes(w, d, check, 1, INT32_MAX, warnings);
    // One fix a line: two on one line could overlap.
    std::set<int32_t> lines;
    std::vector<quick_fix> kept;
    std::vector<byte_edit> edits;
    std::vector<const diagnostic*> removed;
    for (quick_fix& f : fixes) {
        if (!lines.insert(f.edits.front().place.line).second) continue;
        edits.insert(edits.end(), f.edits.begin(), f.edits.end());
        removed.push_back(f.fixes);
        kept.push_back(std::move(f));
    }
    if (kept.empty() || !safe(w, d, check, edits, removed, warnings)) return {};
    return kept;
}
