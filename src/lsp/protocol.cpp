#include "lsp/protocol.h"

#include <algorithm>

#include "lsp/message_intake.h"
#include "lsp/scenario_check.h"

using json = nlohmann::json;

failure rpc_failure(rpc_error code, std::string message) { return {static_cast<int>(code), std::move(message)}; }

namespace to_proto {

const char* encoding(position_encoding e) {
    return e == position_encoding::utf8 ? "utf-8" : e == position_encoding::utf32 ? "utf-32" : "utf-16";
}

int32_t line(int32_t line) { return line - 1; }

json position(const editor_lines& l, const luogo_testo& at) {
    const int32_t n = std::max(at.line, 1);
    return {{"line", line(n)}, {"character", units_before(l.line(n), std::max(at.column, 1) - 1, l.encoding)}};
}

json range(const editor_lines& l, const luogo_testo& place) {
    return range(l, place, {place.file, place.line, place.column + place.length, 0});
}

json range(const editor_lines& l, const luogo_testo& from, const luogo_testo& to) {
    return {{"start", position(l, from)}, {"end", position(l, to)}};
}

diagnostic_severity severity(::severity s) {
    return s == ::severity::error ? diagnostic_severity::error : diagnostic_severity::warning;
}

symbol_kind kind(symbol_class c) {
    switch (c) {
        case symbol_class::section: return symbol_kind::name_space;
        case symbol_class::station: return symbol_kind::object;
        case symbol_class::restriction: return symbol_kind::constant;
        case symbol_class::signal: return symbol_kind::event;
        case symbol_class::curve: return symbol_kind::function;
        case symbol_class::span: return symbol_kind::module;
        case symbol_class::board: return symbol_kind::string;
        case symbol_class::other: return symbol_kind::variable;
    }
    return symbol_kind::variable;
}

json diagnostic(const editor_lines& own, const luogo_testo& place, diagnostic_severity s, const std::string& message) {
    return {{"range", range(own, place)}, {"severity", s}, {"source", "scenario-compiler"}, {"message", message}};
}

json diagnostic(const editor_lines& own, const ::diagnostic& d, const note_files& notes, const std::string& reference_uri) {
    json j = diagnostic(own, d.place, severity(d.level), d.message);
    if (!d.code.empty()) {
        j["code"] = d.code;
        if (auto ref = code_reference(d.code); ref && !reference_uri.empty())
            j["codeDescription"] = {{"href", reference_uri + ref->substr(ref->find('#'))}};
    }
    if (!d.notes.empty()) {
        json related = json::array();
        for (const diagnostic_note& n : d.notes)
            if (const std::optional<note_file> f = notes(n.place.file))
                related.push_back({{"location", {{"uri", f->uri}, {"range", range(*f->lines, n.place)}}},
                                   {"message", n.message}});
        j["relatedInformation"] = related;
    }
    return j;
}

}  // namespace to_proto

namespace from_proto {

std::optional<position_encoding> encoding(const json& name) {
    if (!name.is_string()) return std::nullopt;
    const std::string& s = name.get_ref<const std::string&>();
    if (s == "utf-8") return position_encoding::utf8;
    if (s == "utf-16") return position_encoding::utf16;
    if (s == "utf-32") return position_encoding::utf32;
    return std::nullopt;
}

result<luogo_testo> place(const editor_lines& l, file_testo file, const json& position) {
    const result<checked_position> p = position_of(position);
    if (!p) return p.error();
    return luogo_testo{file, p->line, characters_before(l.line(p->line), p->character, l.encoding) + 1, 0};
}

result<std::pair<luogo_testo, luogo_testo>> range(const editor_lines& l, file_testo file, const json& range) {
    if (!range.is_object()) return rpc_failure(rpc_error::invalid_params, "a range is an object");
    const result<luogo_testo> start = place(l, file, range.at("start"));
    if (!start) return start.error();
    const result<luogo_testo> end = place(l, file, range.at("end"));
    if (!end) return end.error();
    return std::pair(*start, *end);
}

result<std::pair<int32_t, int32_t>> line_span(const json& range) {
    if (!range.is_object()) return rpc_failure(rpc_error::invalid_params, "a range is an object");
    const result<checked_position> start = position_of(range.at("start"));
    if (!start) return start.error();
    const result<checked_position> end = position_of(range.at("end"));
    if (!end) return end.error();
    return std::pair(start->line, end->line);
}

}  // namespace from_proto
