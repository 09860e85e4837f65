#include "diagnostics/sarif_form.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "compile/codici_errore.h"
#include "diagnostics/json_form.h"
#include "diagnostics/warnings.h"
#include "platform/format_reference.h"

namespace {

using json = nlohmann::ordered_json;

json sarif_physical_location(const luogo_testo& p, const source_file& file) {
    json location = {{"artifactLocation", {{"uri", file_uri_reference(file.path)}}}};
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
    const std::string docs = format_reference();
    json rules = json::array();
    for (const voce_errore& e : tabella_errori())
        rules.push_back({{"id", "E" + std::to_string(numero(e.numero))},
                         {"shortDescription", {{"text", e.significato}}},
                         {"fullDescription", {{"text", e.rimedio}}},
                         {"help", {{"text", e.rimedio}}},
                         {"defaultConfiguration", {{"level", "error"}}},
                         {"properties", {{"docs", docs + "#" + e.sezione}}}});
    for (const warning_entry& w : warning_kinds())
        rules.push_back({{"id", warning_code(w.kind)},
                         {"shortDescription", {{"text", w.summary}}},
                         {"defaultConfiguration", {{"level", "warning"}, {"enabled", !w.pedantic}}}});
    return rules;
}

}  // namespace

std::string diagnostics_sarif(const std::vector<diagnostic>& diagnostics, const source_files& sources,
                              const compile_outcome& outcome) {
    json results = json::array();
    for (const diagnostic& d : diagnostics) {
        json r = {{"level", severity_name(d.level)}, {"message", {{"text", d.message}}}};
        if (!d.code.empty()) r["ruleId"] = d.code;
        if (const source_file* file = sources.of(d.place.file))
            r["locations"] = json::array({{{"physicalLocation", sarif_physical_location(d.place, *file)}}});
        if (!d.notes.empty()) {
            json related = json::array();
            for (const diagnostic_note& n : d.notes) {
                json location = {{"id", related.size()}};
                if (const source_file* file = sources.of(n.place.file))
                    location["physicalLocation"] = sarif_physical_location(n.place, *file);
                location["message"] = {{"text", n.message}};
                related.push_back(location);
            }
            r["relatedLocations"] = related;
        }
        if (!d.fixes.empty()) {
            json fixes = json::array();
            for (const fix_it& f : d.fixes) {
                const source_file* file = sources.of(f.place.file);
                if (file == nullptr || f.place.line < 1 || f.place.column < 1) continue;
                const json region = {{"startLine", f.place.line},
                                     {"startColumn", f.place.column},
                                     {"endColumn", int64_t{f.place.column} + f.place.length}};
                fixes.push_back(
                    {{"description", {{"text", fix_description(f)}}},
                     {"artifactChanges",
                      json::array({{{"artifactLocation", {{"uri", file_uri_reference(file->path)}}},
                                    {"replacements",
                                     json::array({{{"deletedRegion", region}, {"insertedContent", {{"text", f.text}}}}})}}})}});
            }
            if (!fixes.empty()) r["fixes"] = fixes;
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
         {{"error_state", error_state_json(outcome)}, {"report", report_json(outcome)}, {"written", outcome.written}}}};
    return dump_json({{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
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

