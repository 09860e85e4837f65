#include "lsp/features.h"

#include <charconv>
#include <cstdio>
#include <set>
#include <utility>
#include <string_view>

#include "diagnostics/running_warnings.h"
#include "model/testo_1252.h"
#include "platform/path_text.h"
#include "placement/lettura_chilometrica.h"
#include "running/figures.h"
#include "running/restriction_braking.h"
#include "running/timetable.h"

namespace {

const char* width_text(larghezza_campo w) {
    switch (w) {
        case larghezza_campo::long32: return "stored in 32 bits, -2147483648 to 2147483647";
        case larghezza_campo::integer16: return "stored in 16 bits, -32768 to 32767";
        case larghezza_campo::byte8: return "stored in a byte, 0 to 255";
        case larghezza_campo::testo: return "";
    }
    return "";
}

// What the compile takes without an error or a warning, where it is narrower
// than what the field's width holds: the route's length, a time of day, the
// adhesion its cells keep in a byte.
std::optional<std::pair<int32_t, int32_t>> accepted(genere_riga g, size_t field) {
    if (g == genere_riga::lunghezza) return std::pair(0, LONGEST_ROUTE_M);
    if (g == genere_riga::orologio) return std::pair(0, field == 0 ? 23 : 59);
    if (g == genere_riga::aderenza && field == 1) return std::pair(0, 255);
    return std::nullopt;
}

std::string range_text(genere_riga g, size_t field, larghezza_campo w) {
    if (w == larghezza_campo::testo) return "a text";
    const auto a = accepted(g, field);
    return (a ? "a whole number from " + std::to_string(a->first) + " to " + std::to_string(a->second)
              : std::string("a whole number")) +
           " (" + width_text(w) + ")";
}

// A text shown as it is written: markdown's marks escaped.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view("\\`*_[]<>#|~").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
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
    return "**" + std::string(g.chiave) + "**, read in " + section_word(g.sezione) + "\n\n" + field_list(g) +
           "\nexample: `" + std::string(g.esempio) + "`";
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

// The diagnostics whose range the cursor is on (a range of no width: the
// bytes either side, as an editor marks it at a line's end; one of the whole
// line: the keyword field, rather than every value), each once, as paragraphs
// after a rule.
std::string diagnostics_at(const checked_file* f, const line_reading& r, int32_t column) {
    std::string s;
    if (!f) return s;
    std::set<std::string> shown;
    for (const diagnostic& d : f->diagnostics) {
        const luogo_testo& p = d.place;
        const bool whole_line = p.column < 1 || (p.column <= r.keyword.column && !r.values.empty() &&
                                                 p.column + p.length >= r.values.back().end());
        const int32_t from = whole_line ? r.keyword.column : p.length > 0 ? p.column : p.column - 1;
        const int32_t to = whole_line ? std::max(r.keyword.end(), from + 1) : p.column + std::max(p.length, 1);
        if (p.line != r.line || column < from || column >= to) continue;
        const std::string text =
            "**" + std::string(severity_name(d.level)) + (d.code.empty() ? "" : " " + d.code) + "**: " + escaped(d.message);
        if (shown.insert(text).second) s += "\n\n---\n\n" + text;
    }
    return s;
}

// On a station's time, the running times of the section that ends there; on a
// restriction's speed, the braking it needs from the line speed at its warning.
std::string running_note(const scenario_check& check, genere_riga kind, size_t field, file_testo file, int32_t line) {
    const modello& m = check.compile->m;
    const auto here = [&](int32_t i) {
        const luogo_testo& p = m.registro.righe[static_cast<size_t>(i)].luogo;
        return p.file == file && p.line == line;
    };
    if (kind == genere_riga::stazione && field >= STATION_HOURS && field <= STATION_HOURS + 2) {
        const timetable_figures f = timetable_of(m, check.running_train, stop_choice{});
        for (size_t k = 0; k < f.stations.size(); ++k) {
            if (!here(f.stations[k].line)) continue;
            if (k == 0) return "\n\nthe first timed station: the running times count from here";
            const timed_station &from = f.stations[k - 1], &to = f.stations[k];
            const timed_section& s = f.sections[k];
            std::string t = "\n\n**running time** from " + escaped(utf8_da_1252(from.name)) + " (" +
                            clock_hms(from.scheduled_s) + "), " + metres_words(int64_t{to.position_m} - from.position_m) +
                            "\n\n- scheduled: " + duration_words(double(s.scheduled_s));
            if (s.earlier) return t + ", as the time is earlier than the one before";
            if (s.min_s)
                t += "\n- minimum: " + duration_words(*s.min_stop_s) + " stopping here, " +
                     duration_words(*s.min_pass_s) + " running through";
            else
                t += "\n- minimum: none, a limit of 0 km/h stands on the way";
            if (const std::optional<double> g = margin_of(s))
                t += "\n- margin: " + std::string(*g < 0 ? "short by " : "") + duration_words(*g < 0 ? -*g : *g) +
                     (*s.min_s > 0 ? " (" + decimal(*g / *s.min_s * 100, 0) + "%)" : "");
            if (!s.limit.empty()) t += "\n- limited most by the " + s.limit;
            return t + "\n\n_" + train_words(f.train) + ", stopping at every timed station_";
        }
        return "\n\nno timed station: the running times pass it";
    }
    if (kind == genere_riga::rallentamento && field == RESTRICTION_SPEED) {
        const train_in_use train = train_for(m, check.running_train);
        const std::string warning = metres_words(int64_t(LINE_BRAKING_DISTANCE_M));
        for (const placed_restriction& r : restrictions_of(m)) {
            if (!here(r.line)) continue;
            const std::optional<restriction_braking> b = braking_for(m, r, train);
            if (!b) return "\n\nno braking figure: no warning cell stands " + warning + " before it";
            if (b->from_kmh <= r.speed_kmh)
                return "\n\nno braking: the line speed at its warning, " + warning + " before it, is " +
                       decimal(b->from_kmh, 0) + " km/h";
            return "\n\n**braking** from " + decimal(b->from_kmh, 0) + " km/h, the line speed at its warning " +
                   warning + " before it, to " + std::to_string(r.speed_kmh) + " km/h: " +
                   (!b->needed_m ? std::string("the brakes cannot slow the train on this gradient")
                                 : metres_words(int64_t(*b->needed_m + 0.5)) +
                                       (*b->needed_m <= LINE_BRAKING_DISTANCE_M ? ", within the warning's distance"
                                                                                 : ", more than the warning's distance")) +
                   "\n\n_braked mass " + decimal(train.braked_mass_percent, 0) + "%, mean gradient " +
                   decimal(b->gradient_permille, 1) + " per mille_";
        }
    }
    return "";
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

std::optional<hover_answer> hover(const scenario_check& check, const std::vector<line_reading>& lines,
                                  const luogo_testo& place) {
    const file_testo file = place.file;
    const int32_t line = place.line, column = place.column;
    if (line < 1 || static_cast<size_t>(line) > lines.size()) return std::nullopt;
    const line_reading& r = lines[static_cast<size_t>(line) - 1];
    const checked_file* f = check.of(file);
    std::string pair_note;
    if (file == file_testo::linea && check.pair)
        pair_note = "\n\n_diagnostics from the pair with " + escaped(utf8_path(check.pair->train.filename())) + "_";
    if (r.shape == line_shape::section && column <= r.keyword.end() + 1)
        return hover_answer{{file, line, r.keyword.column, r.keyword.length},
                            "section line `" + utf8_da_1252(r.keyword.text) + "`" + pair_note +
                                diagnostics_at(f, r, column)};
    if (r.shape != line_shape::keyword) {
        std::string d = diagnostics_at(f, r, column);
        if (d.empty()) return std::nullopt;
        return hover_answer{{file, line, 1, 0}, d.substr(d.find("**"))};
    }
    const genere_campi& g = campi_di(*r.kind);
    const int32_t i = field_at(r, column);
    if (i < 0)
        return hover_answer{{file, line, r.keyword.column, r.keyword.length},
                            kind_summary(g) + pair_note + diagnostics_at(f, r, column)};
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
        s += "\n\n" + range_text(g.genere, static_cast<size_t>(i), c.larghezza) + ": " + std::string(c.significato);
        int64_t value = 0;
        const auto [end, ec] = std::from_chars(v.text.data(), v.text.data() + v.text.size(), value);
        const bool number = ec == std::errc() && end == v.text.data() + v.text.size();
        if (number && c.unita == "m" && c.ruolo != ruolo_campo::lunghezza) {
            if (auto km = kilometre_reading(check, value)) s += "\n\nat " + *km;
        }
        if (number && c.ruolo == ruolo_campo::posizione && check.compile) {
            if (auto k = claimed_cell(*check.compile, file, line))
                s += "\n\nits object takes cell " + std::to_string(*k) + " (metres " + std::to_string(*k * METRI_CELLA) +
                     " to " + std::to_string((*k + 1) * METRI_CELLA - 1) + ")";
            else
                s += "\n\nthe last compile took no cell for this line";
        }
        if (check.compile && runs_over(check.compile->m))
            s += running_note(check, g.genere, static_cast<size_t>(i), file, line);
    } else {
        s += "\n\nthe line has no such field: the reader takes it as a keyword field of its own";
    }
    return hover_answer{{file, line, v.column, v.length}, s + diagnostics_at(f, r, column)};
}
