#include "cli/diagnostics.h"

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string_view>

#include "cli/warnings.h"
#include "compile/codici_errore.h"
#include "model/testo_1252.h"
#include "platform/terminal.h"

namespace {

// Ordered, so that the machine forms list their keys in the documented order.
using json = nlohmann::ordered_json;

const char* severity_name(severity s) { return s == severity::error ? "error" : "warning"; }

// The SGR parameters the usual compilers colour their diagnostics with.
constexpr const char* BOLD = "1";
constexpr const char* RED = "1;31";
constexpr const char* MAGENTA = "1;35";
constexpr const char* GREY = "1;30";
constexpr const char* GREEN = "1;32";

struct painter {
    std::ostream& err;
    bool colour;

    void operator()(std::string_view text, const char* sgr) const {
        if (colour && !text.empty())
            err << "\x1b[" << sgr << 'm' << text << "\x1b[0m";
        else
            err << text;
    }
};

// "PATH:LINE:COL: ", down to "PATH: ", and nothing without a file.
std::string place_prefix(const text_place& p) {
    if (p.file.empty()) return "";
    std::string out = p.file;
    if (p.line > 0) {
        out += ':' + std::to_string(p.line);
        if (p.column > 0) out += ':' + std::to_string(p.column);
    }
    return out + ": ";
}

// Line `line` (1-based) of a text without its line end, when the text has it.
// A line end is CR LF, a lone LF or a lone CR, as the reader counts lines.
std::optional<std::string_view> source_line(std::string_view text, int32_t line) {
    if (line < 1) return std::nullopt;
    size_t start = 0;
    for (int32_t n = 1; n < line; ++n) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) return std::nullopt;
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (start >= text.size()) return std::nullopt;
    const size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// The source line and, under the place, a caret and a tilde for each further
// byte of the field. Tabs before the column are copied so that the caret stands
// under its byte whatever the tab width; every other byte is one character.
void print_source(const painter& paint, const text_place& p, const source_texts& sources) {
    const auto text = sources.find(p.file);
    if (p.file.empty() || text == sources.end()) return;
    const auto line = source_line(text->second, p.line);
    if (!line) return;
    paint.err << printable(utf8_da_1252(*line)) << '\n';
    const auto size = static_cast<int64_t>(line->size());
    if (p.column < 1 || p.column > size + 1) return;
    std::string caret;
    for (int64_t i = 0; i + 1 < p.column; ++i) caret += (*line)[i] == '\t' ? '\t' : ' ';
    caret += '^';
    const int64_t last = std::min<int64_t>(int64_t{p.column} + std::max(p.length, 1) - 1, size);
    caret.append(static_cast<size_t>(std::max<int64_t>(last - p.column, 0)), '~');
    paint(caret, GREEN);
    paint.err << '\n';
}

void print_one(const painter& paint, const text_place& p, std::string_view label, const char* label_sgr,
               const std::string& message, const source_texts& sources) {
    paint(printable(place_prefix(p)), BOLD);
    paint(label, label_sgr);
    paint(printable(message), BOLD);
    paint.err << '\n';
    print_source(paint, p, sources);
}

json number_or_null(int32_t n) { return n > 0 ? json(n) : json(nullptr); }

// "file", "line" and "column" of a place, null where unknown.
void add_place(json& j, const text_place& p) {
    j["file"] = p.file.empty() ? json(nullptr) : json(p.file);
    j["line"] = number_or_null(p.line);
    j["column"] = number_or_null(p.column);
}

std::string dump(const json& j) { return j.dump(1, ' ', false, json::error_handler_t::replace); }

json sarif_physical_location(const text_place& p) {
    json location = {{"artifactLocation", {{"uri", file_uri_reference(p.file)}}}};
    if (p.line > 0) {
        json region = {{"startLine", p.line}};
        if (p.column > 0) {
            region["startColumn"] = p.column;
            if (p.length > 0) region["endColumn"] = int64_t{p.column} + p.length;
        }
        location["region"] = region;
    }
    return location;
}

json sarif_rules() {
    json rules = json::array();
    for (const voce_errore& e : tabella_errori())
        rules.push_back({{"id", "E" + std::to_string(numero(e.numero))},
                         {"shortDescription", {{"text", e.significato}}},
                         {"fullDescription", {{"text", e.rimedio}}},
                         {"help", {{"text", e.rimedio}}},
                         {"defaultConfiguration", {{"level", "error"}}},
                         {"properties", {{"docs", std::string("docs/format.md#") + e.sezione}}}});
    for (const warning_kind& w : warning_kinds())
        rules.push_back({{"id", std::string("-W") + w.name},
                         {"shortDescription", {{"text", w.summary}}},
                         {"defaultConfiguration", {{"level", "warning"}, {"enabled", !w.pedantic}}}});
    return rules;
}

json error_state(const compile_outcome& outcome) {
    return {{"code", outcome.error_code}, {"metres", outcome.error_metres}};
}

json report(const compile_outcome& outcome) { return outcome.report ? json(*outcome.report) : json(nullptr); }

}  // namespace

void print_diagnostics(std::ostream& err, const std::vector<diagnostic>& diagnostics,
                       const source_texts& sources, bool colour) {
    const painter paint{err, colour};
    for (const diagnostic& d : diagnostics) {
        const bool is_error = d.level == severity::error;
        const std::string label = std::string(severity_name(d.level)) + ": ";
        const std::string message = d.code.empty() ? d.message : d.message + " [" + d.code + "]";
        print_one(paint, d.place, label, is_error ? RED : MAGENTA, message, sources);
        for (const diagnostic_note& n : d.notes)
            print_one(paint, n.place, "note: ", GREY, n.message, sources);
    }
    const std::string summary = diagnostics_summary(diagnostics);
    if (!summary.empty()) err << summary << '\n';
}

std::string diagnostics_summary(const std::vector<diagnostic>& diagnostics) {
    const auto errors = std::count_if(diagnostics.begin(), diagnostics.end(),
                                      [](const diagnostic& d) { return d.level == severity::error; });
    const auto warnings = static_cast<std::ptrdiff_t>(diagnostics.size()) - errors;
    const auto counted = [](std::ptrdiff_t n, const char* what) {
        return std::to_string(n) + ' ' + what + (n == 1 ? "" : "s");
    };
    std::string out;
    if (errors > 0) out = counted(errors, "error");
    if (warnings > 0) out += (out.empty() ? "" : ", ") + counted(warnings, "warning");
    return out.empty() ? out : out + " generated.";
}

json summary_json(const std::vector<diagnostic>& diagnostics, const compile_outcome& outcome) {
    json list = json::array();
    for (const diagnostic& d : diagnostics) {
        json j = {{"severity", severity_name(d.level)}, {"code", d.code.empty() ? json(nullptr) : json(d.code)}};
        add_place(j, d.place);
        j["position_m"] = d.position_m ? json(*d.position_m) : json(nullptr);
        j["message"] = d.message;
        json notes = json::array();
        for (const diagnostic_note& n : d.notes) {
            json note = json::object();
            add_place(note, n.place);
            note["message"] = n.message;
            notes.push_back(note);
        }
        j["notes"] = notes;
        list.push_back(j);
    }
    return {{"diagnostics", list},
            {"error_state", error_state(outcome)},
            {"report", report(outcome)},
            {"written", outcome.written}};
}

std::string diagnostics_json(const std::vector<diagnostic>& diagnostics, const compile_outcome& outcome) {
    return dump(summary_json(diagnostics, outcome));
}

std::string diagnostics_sarif(const std::vector<diagnostic>& diagnostics, const compile_outcome& outcome) {
    json results = json::array();
    for (const diagnostic& d : diagnostics) {
        json r = {{"level", severity_name(d.level)}, {"message", {{"text", d.message}}}};
        if (!d.code.empty()) r["ruleId"] = d.code;
        if (!d.place.file.empty())
            r["locations"] = json::array({{{"physicalLocation", sarif_physical_location(d.place)}}});
        if (!d.notes.empty()) {
            json related = json::array();
            for (const diagnostic_note& n : d.notes) {
                json location = {{"id", related.size()}};
                if (!n.place.file.empty()) location["physicalLocation"] = sarif_physical_location(n.place);
                location["message"] = {{"text", n.message}};
                related.push_back(location);
            }
            r["relatedLocations"] = related;
        }
        if (d.position_m) r["properties"] = {{"position_m", *d.position_m}};
        results.push_back(r);
    }
    const json run = {
        {"tool",
         {{"driver",
           {{"name", "scenario-compiler"},
            {"version", SCENARIO_COMPILER_VERSION},
            {"rules", sarif_rules()}}}}},
        {"invocations", json::array({{{"executionSuccessful", true}}})},
        // The sources are Windows-1252, one byte a character: byte columns are code point columns.
        {"columnKind", "unicodeCodePoints"},
        {"results", results},
        {"properties",
         {{"error_state", error_state(outcome)}, {"report", report(outcome)}, {"written", outcome.written}}}};
    return dump({{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                 {"version", "2.1.0"},
                 {"runs", json::array({run})}});
}

std::string file_uri_reference(std::string_view path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    std::string out;
    if (p.size() >= 2 && letter(p[0]) && p[1] == ':' && (p.size() == 2 || p[2] == '/'))
        out = "file:///";  // C:/dir
    else if (p.starts_with("//"))
        out = "file:";  // //server/share
    else if (p.starts_with('/'))
        out = "file://";
    // In a relative reference a colon before the first slash would read as a scheme.
    bool first_segment = out.empty();
    constexpr std::string_view kept = "-._~!$&'()*+,;=@/";
    for (const char ch : p) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '/') first_segment = false;
        if (letter(ch) || (ch >= '0' && ch <= '9') || kept.find(ch) != kept.npos ||
            (ch == ':' && !first_segment)) {
            out += ch;
        } else {
            constexpr char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0xF];
        }
    }
    return out;
}

std::string printable(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b < 0x20 && b != '\t') || b == 0x7F) {
            out += '?';
        } else if (b == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            out += '?';
            ++i;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

bool use_colour(const std::string& choice) {
    if (choice == "never") return false;
    if (choice == "always") {
        enable_terminal_colours();  // a terminal that cannot still gets what was asked for
        return true;
    }
    const char* no_colour = std::getenv("NO_COLOR");
    return stderr_is_terminal() && (no_colour == nullptr || *no_colour == '\0') && enable_terminal_colours();
}
