#include "diagnostics/warnings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>

#include "diagnostics/nearest_name.h"
#include "model/testo_1252.h"
#include "model/utf8.h"
#include "text_input/campi_righe.h"
#include "text_input/citato.h"
#include "text_input/confronto.h"

namespace {

constexpr auto KINDS = std::to_array<warning_entry>({
    {warning_kind::unknown_keyword, "unknown-keyword", "a keyword field that matches no keyword", false},
    {warning_kind::extra_fields, "extra-fields", "a line with more fields than its keyword reads", false},
    {warning_kind::missing_train, "missing-train", "a train file without \"[generale]\", or an empty one: nothing of the train is compiled", false},
    {warning_kind::section, "section", "route body lines read in the general section, whose end is missing before them", false},
    {warning_kind::truncated, "truncated", "a file that ends without its closing \"[fine]\" line, as one saved cut short", false},
    {warning_kind::binary, "binary", "a file holding a byte no text file holds", false},
    {warning_kind::encoding, "encoding", "a board text or station name written in UTF-8", false},
    {warning_kind::order, "order", "a line out of ascending order among the lines of its kind", false},
    {warning_kind::cell_rounding, "cell-rounding", "a position off a multiple of 50, moved by rounding to a cell", false},
    {warning_kind::curve_side, "curve-side", "a curve keyword whose side letter is not one of s and d", false},
    {warning_kind::curve_overlap, "curve-overlap", "a curve starting inside the previous one", false},
    {warning_kind::curve_past_geometry, "curve-past-geometry", "a curve running past the end of the geometry", false},
    {warning_kind::negative_length, "negative-length", "a negative length of a station, curve, restriction or span", false},
    {warning_kind::restriction_edge_in_station, "restriction-edge-in-station", "a restriction beginning or ending inside a station's area", false},
    {warning_kind::overflow, "overflow", "a value its field cannot hold, which keeps its low bits, or a clock time the simulator carries over", false},
    {warning_kind::replaced_value, "replaced-value", "a value the compiler replaces: a signal's time value raised, a station's field 5 or 6 cleared", false},
    {warning_kind::comment, "comment", "a comment field followed on its line by fields, which are then read as keywords", false},
    {warning_kind::missing_text, "missing-text", "a board text or station name its line lacks, read from the next line, which is lost with it", false},
    {warning_kind::unclosed_quote, "unclosed-quote", "a text opened by a double quote that its line does not close: it runs to the line's end", false},
    {warning_kind::speed_step, "speed-step", "a line speed or speed board value that is no step of 5 km/h, stored as the step nearest", false},
    {warning_kind::no_coaches, "no-coaches", "a train of no coaches (a number of coaches of 0 or below)", false},
    {warning_kind::unknown_section, "unknown-section", "a section line near one of its file's sections but not one of them", false},
    {warning_kind::station_in_restriction, "station-in-restriction", "a station's area wholly inside a restriction", true},
    {warning_kind::continued_line, "continued-line", "a line whose values run on to a later line", true},
    {warning_kind::timetable, "timetable", "a station's time before the one before it or the clock, or sooner than the permitted speeds allow", false},
    {warning_kind::restriction, "restriction", "a restriction whose speed is not below the line speed over its stretch", false},
    {warning_kind::tight_timetable, "tight-timetable", "a section scheduled below the train model's minimum running time", true},
    {warning_kind::braking, "braking", "a restriction the train cannot slow for between its warning and its start", true},
});
// Indexed by the enum: each entry at its kind's place, every kind there.
static_assert(KINDS.size() == static_cast<size_t>(warning_kind::braking) + 1);
static_assert([] {
    for (size_t i = 0; i < KINDS.size(); ++i)
        if (static_cast<size_t>(KINDS[i].kind) != i) return false;
    return true;
}());

// Objects whose position is rounded to a cell: off a cell's start they move.
bool placed_in_a_cell(genere_riga g) {
    switch (g) {
        case genere_riga::indicatori_vmax:
        case genere_riga::cartello_indicatore:
        case genere_riga::segnale:
        case genere_riga::rallentamento:
        case genere_riga::abbattimento: return true;
        default: return false;
    }
}

std::string metres(int64_t v) { return std::to_string(v) + " m"; }

// "1 value", "9 values".
std::string counted(int32_t n, const char* what) { return std::to_string(n) + ' ' + what + (n == 1 ? "" : "s"); }

// The keyword of its section a field most likely meant, when one is near. Case
// is ignored, as the reader ignores it for most keywords; where it does not, the
// keyword differs only in case and is still the one meant.
std::optional<std::string> meant_keyword(const std::string& field, sezione_riga s) {
    static const std::array<std::vector<std::string>, 3> names = [] {
        std::array<std::vector<std::string>, 3> t;
        for (const sezione_riga x : {sezione_riga::generale, sezione_riga::corpo, sezione_riga::treno})
            for (const forma_chiave& f : chiavi_sezione(x)) t[static_cast<size_t>(x)].push_back(f.forma);
        return t;
    }();
    const std::vector<std::string>& candidates = names[static_cast<size_t>(s)];
    // Near is within 2 edits: a field longer than every keyword by more is none of them (and is not copied).
    size_t longest = 0;
    for (const std::string& c : candidates) longest = std::max(longest, c.size());
    if (field.size() > longest + 2) return std::nullopt;
    std::string folded = field;
    for (char& ch : folded)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return nearest_name(folded, candidates);
}

struct builder {
    const modello& m;
    std::vector<diagnostic> out;

    static const luogo_testo& keyword(const riga_letta& r) { return r.luogo; }
    // The place of value field i of a line, or of its keyword when the field is not known.
    static const luogo_testo& field(const riga_letta& r, size_t i) {
        return i < r.posti.size() ? r.posti[i] : r.luogo;
    }
    diagnostic& add(warning_kind kind, const luogo_testo& where, const std::string& message) {
        out.push_back(warning_of(kind, where, message));
        return out.back();
    }
    void note(diagnostic& d, const riga_letta& r, std::string message) const {
        d.notes.push_back({keyword(r), utf8_da_1252(message)});
    }
    // ": did you mean 'KEYWORD'?" after the message, and the keyword as a fix-it
    // in place of the field, when one is near.
    static void suggest(diagnostic& d, const luogo_testo& field, const std::string& written, sezione_riga s) {
        const std::optional<std::string> meant = meant_keyword(written, s);
        if (!meant) return;
        d.message += ": did you mean '" + *meant + "'?";
        d.fixes.push_back({field, *meant});
    }
};

// Route body lines in the general section: once, at the first of them.
void body_in_general(builder& b, const corpo_in_generale& c) {
    const bool more = c.righe > 1;
    const std::string section(sezione_solita(c.genere));
    std::string message = "the general section runs on past where the body's lines begin: this " + citato(c.chiave) +
                          " line";
    if (more) message += " and " + counted(c.righe - 1, "more body line");
    message += std::string(more ? " are" : " is") + " passed over; the body must begin with a line holding '[' and ']'" +
               (section.empty() ? "" : ", such as '" + section + "',") + " before " + (more ? "them" : "it");
    diagnostic& d = b.add(warning_kind::section, c.posto, message);
    if (c.fine.file != file_testo::nessuno) d.notes.push_back({c.fine, "the general section ends only here"});
}

// A board text or station name whose bytes are UTF-8: the simulator shows each
// byte as its Windows-1252 character.
void utf8_text(builder& b, const riga_letta& r) {
    const bool station = r.genere == genere_riga::stazione;
    if ((!station && r.genere != genere_riga::cartello_indicatore) || !sembra_utf8(r.testo)) return;
    // Cut where a character begins, so that what the author meant stays UTF-8.
    constexpr size_t SHOWN = 40;
    size_t cut = r.testo.size() <= SHOWN + 20 ? r.testo.size() : SHOWN;
    cut = inizio_carattere(r.testo, cut);
    const std::string more = cut < r.testo.size() ? "..." : "";
    diagnostic& d = b.add(warning_kind::encoding, r.posto_testo,
                          std::string(station ? "station name" : "board text") + " is UTF-8: the simulator shows '" +
                              r.testo.substr(0, cut) + more + "'");
    // The text is UTF-8 already, as the message is.
    d.message += " for '" + r.testo.substr(0, cut) + more + "'; save the file as Windows-1252";
}

// The side letters of a curve keyword, the word "curva" itself left out.
void curve_side(builder& b, const riga_letta& r) {
    std::string rest = r.chiave;
    for (size_t at; (at = find_ignore_case(rest, "curva")) != std::string::npos;) rest.erase(at, 5);
    const bool left = contains_ignore_case(rest, "s"), right = contains_ignore_case(rest, "d");
    if (left && right)
        b.add(warning_kind::curve_side, b.keyword(r),
              "curve keyword '" + r.chiave + "' holds both 's' and 'd': it is read as a left curve");
    else if (!left && !right)
        b.add(warning_kind::curve_side, b.keyword(r),
              "curve keyword '" + r.chiave + "' has no side letter: it is read as a right curve (write curvas or curvad)");
}

void stations_and_restrictions(builder& b) {
    const modello& m = b.m;
    const registro_lettura& reg = m.registro;
    int stazione = 0;
    for (const riga_letta& s : reg.righe) {
        if (s.genere != genere_riga::stazione) continue;
        ++stazione;
        if (stazione >= VOCE_PRIMO_CARTELLO) break;
        const voce& v = m.voci[static_cast<size_t>(stazione)];
        const std::string area = "station " + s.testo + " (area " + std::to_string(v.inizio_zona) + " to " +
                                 std::to_string(v.fine_zona) + " m)";
        for (const riga_letta& r : reg.righe) {
            if (r.genere != genere_riga::rallentamento || r.valori.size() < 3) continue;
            const int64_t start = r.valori[0], end = start + r.valori[2];
            // A restriction through a whole station is usual; one whose start or
            // end falls within the platforms changes the speed along a stopping
            // train, which is seldom meant.
            const auto inside = [&](int64_t x) { return x > v.inizio_zona && x < v.fine_zona; };
            if (inside(start) || inside(end)) {
                diagnostic& d = b.add(warning_kind::restriction_edge_in_station, b.keyword(s),
                                      "the restriction of line " + std::to_string(r.luogo.line) + " " +
                                          (inside(start) ? "begins" : "ends") + " inside " + area);
                b.note(d, r, "the restriction, from " + metres(start) + " to " + metres(end));
            } else if (start <= v.inizio_zona && end >= v.fine_zona) {
                diagnostic& d = b.add(warning_kind::station_in_restriction, b.keyword(s),
                                      area + " lies inside the restriction of line " + std::to_string(r.luogo.line));
                b.note(d, r, "the restriction, from " + metres(start) + " to " + metres(end));
            }
        }
    }
}

// The values the stores kept otherwise than written, each at the field it came
// from; a packed value's other fields as notes.
void stored_values(builder& b) {
    const registro_lettura& reg = b.m.registro;
    for (const valore_troncato& t : reg.troncati) {
        const origine_valore& o = t.origine;
        const std::string made = o.come ? std::string(" (") + o.come + ")" : "";
        diagnostic& d = b.add(warning_kind::overflow, o.posti[0],
                              std::string(o.cosa) + " " + std::to_string(t.valore) + made + " does not fit the cell (" +
                                  std::to_string(t.minimo) + " to " + std::to_string(t.massimo) +
                                  "): stored as " + std::to_string(t.memorizzato));
        for (size_t i = 1; i < o.numero_posti; ++i)
            d.notes.push_back({o.posti[i], std::string("part of the packed value ") + (o.come ? o.come : o.cosa)});
    }
    for (const valore_sostituito& s : reg.sostituiti)
        b.add(warning_kind::replaced_value, s.posto,
              std::string(s.cosa) + " is " + std::to_string(s.scritto) + " but stored as " + std::to_string(s.memorizzato) +
                  ": " + s.perche);
    for (const valore_sostituito& s : reg.arrotondati)
        b.add(warning_kind::speed_step, s.posto,
              std::string(s.cosa) + " " + std::to_string(s.scritto) + " km/h is stored as " + std::to_string(s.memorizzato) +
                  " km/h: " + s.perche);
}

// Texts read otherwise than their line suggests: one taken from the next line,
// one whose quote is never closed.
void texts(builder& b) {
    const registro_lettura& reg = b.m.registro;
    for (const testo_da_dopo& t : reg.testi_da_dopo) {
        const std::string line = std::to_string(t.posto.line);
        diagnostic& d = b.add(warning_kind::missing_text, t.fine_riga,
                              "this line has no " + std::string(t.cosa) + ": " +
                                  (t.testo.empty() ? "an empty one" : citato(t.testo)) + " was read from line " + line +
                                  " in its place, and the rest of line " + line + " is lost with it");
        d.notes.push_back({t.posto, utf8_da_1252("read as the " + std::string(t.cosa) + " of line " +
                                                 std::to_string(t.fine_riga.line) +
                                                 "; this line's further fields are read as keyword fields")});
    }
    for (const virgolette_aperte& v : reg.virgolette)
        b.add(warning_kind::unclosed_quote, v.posto,
              std::string(v.cosa) + " opens a double quote that this line does not close: the text runs to the line's end, " +
                  citato(v.testo));
}

// A misspelt section line: "[generale]" misspelt leaves a whole file unread.
void sections(builder& b) {
    for (const campo_ignoto& f : b.m.registro.sezioni_ignote) {
        std::vector<std::string> names;
        for (const std::string_view s : sezioni_file(f.posto.file)) names.emplace_back(s);
        std::string folded = f.testo;
        for (char& ch : folded)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        const std::optional<std::string> meant = nearest_name(folded, names);
        if (!meant) continue;
        diagnostic& d = b.add(warning_kind::unknown_section, f.posto, citato(f.testo) + " is no section line: did you mean '" + *meant + "'?");
        d.fixes.push_back({f.posto, *meant});
    }
}

// The clock is stored as written and the simulator counts it as (hours x 60 +
// minutes) x 60 + seconds, so a field outside a time of day carries over (or,
// negative, borrows).
void clock_time(builder& b, const riga_letta& r) {
    if (r.valori.size() < 3) return;
    static constexpr const char* NAMES[] = {"hours", "minutes", "seconds"};
    static constexpr int32_t LAST[] = {23, 59, 59};
    const auto two_digits = [](int64_t v) { return (v >= 0 && v < 10 ? "0" : "") + std::to_string(v); };
    const auto written = [&](int64_t h, int64_t m, int64_t s) {
        return two_digits(h) + ":" + two_digits(m) + ":" + two_digits(s);
    };
    diagnostic* d = nullptr;
    for (size_t i = 0; i < 3; ++i) {
        const int32_t v = r.valori[i];
        if (v >= 0 && v <= LAST[i]) continue;
        const std::string range = std::string(NAMES[i]) + " " + std::to_string(v) + " outside 0 to " + std::to_string(LAST[i]);
        if (d != nullptr) {
            d->notes.push_back({b.field(r, i), range + " too"});
            continue;
        }
        const int64_t t = (int64_t{r.valori[0]} * 60 + r.valori[1]) * 60 + r.valori[2], a = t < 0 ? -t : t;
        d = &b.add(warning_kind::overflow, b.field(r, i),
                   "clock " + written(r.valori[0], r.valori[1], r.valori[2]) + " is not a time of day (" + range +
                       "): the simulator reads it as " + (t < 0 ? "-" : "") + written(a / 3600, a / 60 % 60, a % 60));
    }
}

}  // namespace

diagnostic warning_of(warning_kind kind, const luogo_testo& where, const std::string& message) {
    diagnostic d;
    d.level = severity::warning;
    d.code = warning_code(kind);
    d.place = where;
    d.message = utf8_da_1252(message);
    return d;
}

std::span<const warning_entry> warning_kinds() { return KINDS; }

const warning_entry* find_warning_kind(std::string_view name) {
    for (const warning_entry& k : KINDS)
        if (name == k.name) return &k;
    return nullptr;
}

const warning_entry& entry_of(warning_kind kind) { return KINDS[static_cast<size_t>(kind)]; }

std::string warning_code(warning_kind kind) { return std::string("-W") + entry_of(kind).name; }

std::vector<diagnostic> scenario_warnings(const modello& m) {
    builder b{m, {}};
    const registro_lettura& reg = m.registro;

    // A train file that is not text and has no "[generale]": one warning, of the cause, noting what follows.
    const auto binary_train = std::find_if(reg.estranei.begin(), reg.estranei.end(),
                                           [](const byte_estraneo& e) { return e.posto.file == file_testo::treno; });
    const std::string no_train = "the train file has no \"[generale]\" line: nothing of the train is compiled";
    if (reg.treno_senza_generale && binary_train == reg.estranei.end())
        b.add(warning_kind::missing_train, {file_testo::treno, reg.treno_vuoto ? 0 : 1},
              reg.treno_vuoto ? "the train file is empty: nothing of the train is compiled" : no_train);
    for (const byte_estraneo& e : reg.estranei) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", e.byte);
        diagnostic& d = b.add(warning_kind::binary, e.posto,
                              std::string("byte ") + byte + " at line " + std::to_string(e.posto.line) + ", column " +
                                  std::to_string(e.posto.column) + ": this is not a text file");
        if (e.posto.file == file_testo::treno && reg.treno_senza_generale)
            d.notes.push_back({{file_testo::treno, 0, 0, 0}, no_train});
    }
    // A train file without "[generale]" is warned of as such, not as cut short.
    for (const luogo_testo& last : reg.senza_fine)
        if (last.file != file_testo::treno || !reg.treno_senza_generale)
            b.add(warning_kind::truncated, last, "the file ends without its closing \"[fine]\" line, as a file saved cut short does");
    if (reg.corpo_nel_generale) body_in_general(b, *reg.corpo_nel_generale);

    std::map<genere_riga, const riga_letta*> previous;
    const riga_letta* previous_curve = nullptr;
    for (const riga_letta& r : reg.righe) {
        if (r.posti.size() > 0 && r.posti.back().line > r.luogo.line)
            b.add(warning_kind::continued_line, b.keyword(r),
                  "the values of '" + r.chiave + "' run on to line " + std::to_string(r.posti.back().line));
        if (r.genere == genere_riga::orologio) clock_time(b, r);
        if (r.genere == genere_riga::vetture && !r.valori.empty() && r.valori[0] <= 0)
            b.add(warning_kind::no_coaches, b.field(r, 0),
                  "the train has " + std::to_string(r.valori[0]) + " coaches: the number of coaches must be 1 or more");
        utf8_text(b, r);
        if (!ha_posizione(r.genere) || r.valori.empty()) continue;
        const int32_t p = r.valori[0];
        const char* kind = nome_genere(r.genere);
        auto prev = previous.find(r.genere);
        if (prev != previous.end() && p < prev->second->valori[0]) {
            diagnostic& d = b.add(warning_kind::order, b.field(r, 0),
                                  std::string(kind) + " at " + metres(p) + " is out of ascending order (line " +
                                      std::to_string(prev->second->luogo.line) + " is at " +
                                      metres(prev->second->valori[0]) + ")");
            b.note(d, *prev->second, "the previous " + std::string(kind));
        }
        previous[r.genere] = &r;
        if (const campo_lunghezza l = lunghezza_di(r.genere); l.indice >= 0 && r.valori.size() > size_t(l.indice)) {
            const int64_t length = l.fine ? int64_t{r.valori[size_t(l.indice)]} - p : r.valori[size_t(l.indice)];
            if (length < 0)
                b.add(warning_kind::negative_length, b.field(r, size_t(l.indice)),
                      l.fine ? std::string(kind) + " ends at " + metres(r.valori[size_t(l.indice)]) + ", before its start at " +
                                     metres(p)
                               : std::string(kind) + " at " + metres(p) + " has a negative length, " + metres(length));
        }
        if (r.genere == genere_riga::curva && r.valori.size() >= 2) {
            curve_side(b, r);
            // A curve starting before the previous one is out of order, reported above, not inside it.
            if (previous_curve != nullptr && previous_curve->valori.size() >= 2) {
                const int64_t start = previous_curve->valori[0];
                if (p >= start && p < start + previous_curve->valori[1]) {
                    diagnostic& d = b.add(warning_kind::curve_overlap, b.field(r, 0),
                                          "curve at " + metres(p) + " starts inside the curve of line " +
                                              std::to_string(previous_curve->luogo.line));
                    b.note(d, *previous_curve, "the previous curve");
                }
            }
            if (r.oltre_geometria)
                b.add(warning_kind::curve_past_geometry, b.keyword(r), "curve at " + metres(p) + " runs past the end of the geometry");
            previous_curve = &r;
        }
        if (placed_in_a_cell(r.genere) && p % METRI_CELLA != 0)
            b.add(warning_kind::cell_rounding, b.field(r, 0),
                  std::string(kind) + " position " + metres(p) + " is not a multiple of 50: rounding to a cell moves it");
    }

    stations_and_restrictions(b);
    stored_values(b);
    texts(b);
    sections(b);

    for (const campo_ignoto& f : reg.ignoti) {
        diagnostic& d = b.add(warning_kind::unknown_keyword, f.posto, citato(f.testo) + " matches no keyword");
        b.suggest(d, f.posto, f.testo, f.sezione);
        if (d.fixes.empty()) d.message += " (misspelt?)";
    }
    for (const commento_con_campi& k : reg.commenti) {
        const std::string read = k.campi == 1 ? " is read as a keyword" : " are read as keywords";
        std::string message = "a keyword field containing '-' makes this line a comment, ";
        message += k.con_lettere ? "and a comment ends at its first comma: the " + counted(k.campi, "field") + " after it" + read
                                 : "so its " + counted(k.campi, "value") + read;
        diagnostic& d = b.add(warning_kind::comment, k.posto, message);
        // Text after the comment's comma is not a misspelt keyword: no suggestion then.
        if (!k.con_lettere) b.suggest(d, k.posto, k.testo, k.sezione);
    }
    for (const campo_ignoto& f : reg.in_piu) {
        const riga_letta* r = f.riga_prima >= 0 ? &reg.righe[size_t(f.riga_prima)] : nullptr;
        b.add(warning_kind::extra_fields, f.posto,
              citato(f.testo) + " follows the last value of '" + (r ? r->chiave : "") +
                  "' and is read as a keyword field of its own");
    }

    sort_diagnostics(b.out);
    return b.out;
}
