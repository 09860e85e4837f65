#include "diagnostics/json_form.h"

#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::ordered_json;

json number_or_null(int32_t n) { return n > 0 ? json(n) : json(nullptr); }

// "file", "line" and "column" of a place, null where unknown.
void add_place(json& j, const luogo_testo& p, const source_files& sources) {
    const source_file* file = sources.of(p.file);
    j["file"] = file == nullptr ? json(nullptr) : json(file->path);
    j["line"] = number_or_null(p.line);
    j["column"] = number_or_null(p.column);
}

}  // namespace

json diagnostic_json(const diagnostic& d, const source_files& sources) {
    json j = {{"severity", severity_name(d.level)}, {"code", d.code.empty() ? json(nullptr) : json(d.code)}};
    add_place(j, d.place, sources);
    j["position_m"] = d.position_m ? json(*d.position_m) : json(nullptr);
    j["message"] = d.message;
    json notes = json::array();
    for (const diagnostic_note& n : d.notes) {
        json note = json::object();
        add_place(note, n.place, sources);
        note["message"] = n.message;
        notes.push_back(note);
    }
    j["notes"] = notes;
    json fixes = json::array();
    for (const fix_it& f : d.fixes) {
        json fix = json::object();
        add_place(fix, f.place, sources);
        fix["end_column"] = number_or_null(f.place.column > 0 ? f.place.column + f.place.length : 0);
        fix["text"] = f.text;
        fixes.push_back(fix);
    }
    j["fixes"] = fixes;
    return j;
}

json summary_json(const std::vector<diagnostic>& diagnostics, const source_files& sources,
                  const compile_outcome& outcome) {
    json list = json::array();
    for (const diagnostic& d : diagnostics) list.push_back(diagnostic_json(d, sources));
    return {{"diagnostics", list},
            {"error_state", error_state_json(outcome)},
            {"report", report_json(outcome)},
            {"written", outcome.written}};
}

std::string diagnostics_json(const std::vector<diagnostic>& diagnostics, const source_files& sources,
                             const compile_outcome& outcome) {
    return dump_json(summary_json(diagnostics, sources, outcome));
}

std::string dump_json(const json& j) { return j.dump(1, ' ', false, json::error_handler_t::replace); }

json error_state_json(const compile_outcome& outcome) {
    if (!outcome.compiled) return nullptr;
    return {{"code", outcome.error_code}, {"metres", outcome.error_metres}};
}

json report_json(const compile_outcome& outcome) { return outcome.report ? json(*outcome.report) : json(nullptr); }
