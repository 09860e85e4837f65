#include "lsp/server.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <deque>
#include <functional>
#include <stdexcept>
#include <mutex>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/file_uri.h"
#include "lsp/message_intake.h"
#include "model/testo_1252.h"
#include "platform/file_ops.h"
#include "platform/format_reference.h"
#include "platform/input_files.h"
#include "platform/path_text.h"
#include "running/train_model.h"

using json = nlohmann::json;

namespace {

// The UTF-8 lines of a file's text, to count columns in the editor's units.
struct editor_lines {
    std::string utf8;
    std::vector<std::string_view> lines;
    explicit editor_lines(std::string text) : utf8(std::move(text)), lines(split_lines(utf8)) {}
    editor_lines(const editor_lines&) = delete;
    std::string_view line(int32_t n) const {
        return n >= 1 && static_cast<size_t>(n) <= lines.size() ? lines[static_cast<size_t>(n) - 1] : std::string_view();
    }
};

enum rpc_error : int {
    PARSE_ERROR = -32700,
    INVALID_REQUEST = -32600,
    METHOD_NOT_FOUND = -32601,
    INVALID_PARAMS = -32602,
    INTERNAL_ERROR = -32603,
    SERVER_NOT_INITIALIZED = -32002,
    REQUEST_CANCELLED = -32800,
};

std::string dump_json(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

const char* encoding_name(position_encoding e) {
    return e == position_encoding::utf8 ? "utf-8" : e == position_encoding::utf32 ? "utf-32" : "utf-16";
}

// `left`: how many more entries the answer may hold; each one takes one.
json symbol_json(const symbol_entry& s, const std::function<json(const luogo_testo&, const luogo_testo&)>& range,
                 size_t& left) {
    --left;
    static const std::map<symbol_class, int> kinds = {
        {symbol_class::section, 3},  {symbol_class::station, 19}, {symbol_class::restriction, 14},
        {symbol_class::signal, 24},  {symbol_class::curve, 12},   {symbol_class::span, 2},
        {symbol_class::board, 15},   {symbol_class::other, 13},
    };
    json j = {{"name", s.name},
              {"kind", kinds.at(s.what)},
              {"range", range(s.range, s.range_end)},
              {"selectionRange", range(s.selection, {})}};
    if (!s.detail.empty()) j["detail"] = s.detail;
    if (!s.children.empty()) {
        j["children"] = json::array();
        for (const symbol_entry& c : s.children)
            if (left > 0) j["children"].push_back(symbol_json(c, range, left));
    }
    return j;
}

// The text up to the end of line `last` (from 1), its end included.
std::string_view through_line(std::string_view text, int32_t last) {
    for (size_t at = 0; at < text.size(); ++at)
        if (text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')))
            if (--last <= 0) return text.substr(0, at + 1);
    return text;
}

}  // namespace

struct language_server::impl {
    std::ostream& out;
    server_settings settings;
    bool initialized = false, shutdown = false, exited = false;
    position_encoding encoding = position_encoding::utf16;
    bool snippets = false;
    warning_choice warnings = *choose_warnings({});
    hint_settings hints;
    workspace docs;
    std::map<std::filesystem::path, std::shared_ptr<const scenario_check>> checks;  // the last, by file
    std::set<std::filesystem::path> pending;  // files whose pair the debounce holds back
    std::optional<clock::time_point> due;
    // When the last compile ended, on the clock of `now`, and how long the last few
    // took: their median is a compile's time, one slow run (a busy machine) aside.
    std::optional<clock::time_point> compiled_at;
    std::deque<clock::duration> compile_times;
    std::string reference_uri;
    std::set<std::string> cancelled;  // ids (as JSON) of requests not yet handled

    impl(std::ostream& o, server_settings s) : out(o), settings(std::move(s)) {
        if (const auto ref = reference_document()) reference_uri = uri_of_path(*ref);
    }

    void send(const json& j) { write_message(out, dump_json(j)); }
    void reply(const json& id, json result) { send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}); }
    void fail(const json& id, int code, const std::string& message) {
        send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
    }
    void notify(const std::string& method, json params) {
        send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }

    // The lines of a file as the editor holds them: an open buffer, or the text compiled.
    std::unique_ptr<editor_lines> lines_of(const std::filesystem::path& path, const std::string& compiled) const {
        if (const open_document* d = docs.find_path(path)) return std::make_unique<editor_lines>(d->utf8);
        return std::make_unique<editor_lines>(utf8_da_1252(compiled));
    }
    json position(const editor_lines& l, int32_t line, int32_t column) const {
        const int32_t n = std::max(line, 1);
        return {{"line", n - 1}, {"character", units_before(l.line(n), std::max(column, 1) - 1, encoding)}};
    }
    json range(const editor_lines& l, const luogo_testo& p) const {
        return {{"start", position(l, p.line, p.column)}, {"end", position(l, p.line, p.column + p.length)}};
    }
    luogo_testo place_of(const open_document& d, const json& pos) const {
        const auto [line, character] = position_of(pos);
        const std::vector<std::string_view> lines = split_lines(d.utf8);
        const std::string_view text =
            line >= 1 && static_cast<size_t>(line) <= lines.size() ? lines[static_cast<size_t>(line) - 1] : "";
        return {file_of(d.path), line, characters_before(text, character, encoding) + 1, 0};
    }
    static file_testo file_of(const std::filesystem::path& p) {
        return role_of(p) == scenario_role::train ? file_testo::treno : file_testo::linea;
    }
    std::string uri_for(const std::filesystem::path& p) const {
        const open_document* d = docs.find_path(p);
        return d ? d->uri : uri_of_path(p);
    }

    // The lines of the files notes point into, made once for a publication.
    mutable std::map<std::filesystem::path, std::unique_ptr<editor_lines>> note_lines;

    json diagnostic_json(const diagnostic& d, const editor_lines& own, const scenario_check& c) const {
        json j = {{"range", range(own, d.place)},
                  {"severity", d.level == severity::error ? 1 : 2},
                  {"source", "scenario-compiler"},
                  {"message", d.message}};
        if (!d.code.empty()) {
            j["code"] = d.code;
            if (auto ref = code_reference(d.code); ref && !reference_uri.empty())
                j["codeDescription"] = {{"href", reference_uri + ref->substr(ref->find('#'))}};
        }
        if (!d.notes.empty()) {
            json related = json::array();
            for (const diagnostic_note& n : d.notes) {
                const checked_file* f = c.of(n.place.file);
                if (!f || f->path.empty()) continue;
                std::unique_ptr<editor_lines>& l = note_lines[f->path];
                if (!l) l = lines_of(f->path, f->text);
                related.push_back({{"location", {{"uri", uri_for(f->path)}, {"range", range(*l, n.place)}}},
                                   {"message", n.message}});
            }
            j["relatedInformation"] = related;
        }
        return j;
    }

    void publish(const checked_file& f, const scenario_check& c) {
        if (f.path.empty()) return;
        const auto l = lines_of(f.path, f.text);
        note_lines.clear();
        json list = json::array();
        if (!f.partner_missing.empty())
            list.push_back({{"range", range(*l, {file_of(f.path), 1, 1, 0})},
                            {"severity", 3},
                            {"source", "scenario-compiler"},
                            {"message", f.partner_missing}});
        for (const diagnostic& d : f.diagnostics) list.push_back(diagnostic_json(d, *l, c));
        note_lines.clear();
        json params = {{"uri", uri_for(f.path)}, {"diagnostics", list}};
        if (const open_document* d = docs.find_path(f.path)) params["version"] = d->version;
        notify("textDocument/publishDiagnostics", params);
    }

    void compile(const std::filesystem::path& path) {
        auto c = std::make_shared<const scenario_check>(check_scenario(docs, path, warnings));
        for (const checked_file* f : {&c->route, &c->train})
            if (!f->path.empty()) {
                checks[f->path] = c;
                pending.erase(f->path);
                publish(*f, *c);
            }
    }
    void compile_pending() {
        while (!pending.empty()) compile(*pending.begin());
        due.reset();
    }
    // The pending compiles, timed: an edit's hold-back adapts to them.
    void compile_pending(clock::time_point now) {
        if (pending.empty()) return;
        const auto start = clock::now();
        compile_pending();
        const clock::duration took = settings.compile_time ? *settings.compile_time : clock::now() - start;
        compile_times.push_back(took);
        if (compile_times.size() > 5) compile_times.pop_front();
        compiled_at = now + took;
    }
    void edited(const std::filesystem::path& path, clock::time_point now) {
        pending.insert(path);
        if (due) return;  // held back already: compiled with the rest
        std::vector<clock::duration> times(compile_times.begin(), compile_times.end());
        std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
        const clock::duration typical = times.empty() ? clock::duration{} : times[times.size() / 2];
        const clock::duration hold = std::min<clock::duration>(settings.debounce, typical);
        const clock::time_point ready = compiled_at ? *compiled_at + hold : now;
        if (now >= ready) compile_pending(now);
        else due = ready;
    }
    void recompile_open() {
        for (const auto& [uri, d] : docs.documents()) pending.insert(d.path);
        compile_pending();
    }

    const open_document& document(const json& params) const {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        const open_document* d = docs.find(uri);
        if (!d) throw std::invalid_argument("the document " + uri + " is not open");
        // Every feature reads the whole document; past the limit none is served.
        if (d->text.bytes.size() > MAX_INPUT_FILE_BYTES)
            throw std::invalid_argument("the document " + too_large(d->text.bytes.size(), MAX_INPUT_FILE_BYTES));
        return *d;
    }
    std::shared_ptr<const scenario_check> check_of(const open_document& d) {
        compile_pending();
        auto it = checks.find(d.path);
        if (it == checks.end()) {
            compile(d.path);
            it = checks.find(d.path);
        }
        return it == checks.end() ? std::make_shared<const scenario_check>() : it->second;
    }

    // A setting of the wrong type is ignored and said in the client's log: the
    // others still apply, and initialize still answers.
    void configure(const json& options) {
        if (!options.is_object()) return;
        const auto ignored = [this](const std::string& name, const std::string& wanted) {
            notify("window/logMessage", {{"type", 2}, {"message", "scenario-compiler: the setting " + name + " is ignored: " + wanted}});
        };
        const auto strings = [](const json& list) {
            return list.is_array() && std::all_of(list.begin(), list.end(), [](const json& e) { return e.is_string(); });
        };
        if (options.contains("warnings")) {
            if (!strings(options["warnings"])) {
                ignored("warnings", "it is a list of strings");
            } else {
                std::vector<std::string> flags;
                for (const json& f : options["warnings"]) {
                    const std::string& s = f.get_ref<const std::string&>();
                    flags.push_back(s.rfind("-W", 0) == 0 ? s.substr(2) : s);
                }
                result<warning_choice> chosen = choose_warnings(flags);
                // The train the timetable's warnings assume is a setting of its own.
                if (chosen) chosen->train = warnings.train;
                if (chosen) warnings = *chosen;
                else notify("window/showMessage", {{"type", 1}, {"message", "scenario-compiler: " + chosen.error().message}});
            }
        }
        if (options.contains("trainProfile")) {
            const profile_reading p = read_train_profile(options["trainProfile"].dump());
            if (p.model) warnings.train = *p.model;
            else notify("window/showMessage", {{"type", 1}, {"message", "scenario-compiler: trainProfile: " + p.problem}});
        }
        if (options.contains("debounceMs")) {
            if (const json& v = options["debounceMs"]; !v.is_number()) ignored("debounceMs", "it is a number of milliseconds");
            else settings.debounce = std::chrono::milliseconds(clamped_milliseconds(v, MAX_DEBOUNCE_MS));
        }
        if (options.contains("inlayHints")) {
            const json& h = options["inlayHints"];
            if (!h.is_object() || (h.contains("hide") && !strings(h["hide"]))) {
                ignored("inlayHints", "it is an object whose hide is a list of strings");
            } else if (h.contains("hide")) {
                hints.hidden.clear();
                for (const json& k : h["hide"]) hints.hidden.insert(k.get<std::string>());
            }
        }
    }

    json initialize(const json& params) {
        const json caps = params.value("capabilities", json::object());
        encoding = position_encoding::utf16;
        if (caps.contains("general") && caps["general"].contains("positionEncodings"))
            for (const json& e : caps["general"]["positionEncodings"]) {
                const std::string name = e.is_string() ? e.get<std::string>() : "";
                if (name == "utf-8" || name == "utf-16" || name == "utf-32") {
                    encoding = name == "utf-8" ? position_encoding::utf8
                               : name == "utf-32" ? position_encoding::utf32
                                                  : position_encoding::utf16;
                    break;
                }
            }
        const json item = caps.value("/textDocument/completion/completionItem"_json_pointer, json::object());
        snippets = item.is_object() && item.value("snippetSupport", false);
        configure(params.value("initializationOptions", json::object()));
        initialized = true;
        return {{"capabilities",
                 {{"positionEncoding", encoding_name(encoding)},
                  {"textDocumentSync", {{"openClose", true}, {"change", 1}, {"save", {{"includeText", false}}}}},
                  {"hoverProvider", true},
                  {"completionProvider", {{"triggerCharacters", json::array({"["})}}},
                  {"signatureHelpProvider",
                   {{"triggerCharacters", json::array({","})}, {"retriggerCharacters", json::array({" "})}}},
                  {"documentSymbolProvider", true},
                  {"documentFormattingProvider", true},
                  {"documentRangeFormattingProvider", true},
                  {"foldingRangeProvider", true},
                  {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix", "source.fixAll"})}}},
                  {"inlayHintProvider", true}}},
                {"serverInfo", {{"name", "scenario-compiler"}, {"version", settings.version}}}};
    }

    json hover_request(const json& params) {
        const open_document& d = document(params);
        const auto c = check_of(d);
        const luogo_testo at = place_of(d, params.at("position"));
        const auto a = hover(*c, at.file, read_lines(d.text.bytes, at.file), at.line, at.column);
        if (!a) return nullptr;
        const editor_lines l(d.utf8);
        return {{"contents", {{"kind", "markdown"}, {"value", a->markdown}}}, {"range", range(l, a->place)}};
    }

    json inlay_request(const json& params) {
        const open_document& d = document(params);
        const json& r = params.at("range");
        if (!r.is_object()) throw std::invalid_argument("a range is an object");
        const luogo_testo from = place_of(d, r.at("start"));
        luogo_testo to = place_of(d, r.at("end"));
        // An editor asks for what it shows; past that much, and past the lines
        // asked for, nothing is read or answered.
        if (int64_t{to.line} > int64_t{from.line} + MAX_RANGE_LINES)
            to = {to.file, static_cast<int32_t>(int64_t{from.line} + MAX_RANGE_LINES), INT32_MAX, 0};
        const file_testo file = file_of(d.path);
        const editor_lines l(d.utf8);
        json out = json::array();
        std::vector<inlay_hint_item> found = inlay_hints(read_lines(through_line(d.text.bytes, to.line), file), from, to, hints);
        if (found.size() > MAX_ANSWER_ITEMS) found.resize(MAX_ANSWER_ITEMS);
        for (const inlay_hint_item& h : found)
            out.push_back({{"position", position(l, h.place.line, h.place.column)},
                           {"label", h.label},
                           {"kind", 2},
                           {"paddingRight", true}});
        return out;
    }

    json completion_request(const json& params) {
        const open_document& d = document(params);
        const luogo_testo at = place_of(d, params.at("position"));
        const auto a = completion(read_lines(d.text.bytes, at.file), at.file, at.line, at.column);
        if (!a) return nullptr;
        const editor_lines l(d.utf8);
        json items = json::array();
        for (const completion_entry& e : a->entries) {
            json item = {{"label", e.label},
                         {"kind", e.section ? 9 : 14},
                         {"detail", e.detail},
                         {"textEdit", {{"range", range(l, a->replaces)}, {"newText", snippets ? e.snippet : e.plain}}}};
            if (snippets && !e.section) item["insertTextFormat"] = 2;
            if (!e.documentation.empty()) item["documentation"] = e.documentation;
            items.push_back(item);
        }
        return {{"isIncomplete", false}, {"items", items}};
    }

    json signature_request(const json& params) {
        const open_document& d = document(params);
        const luogo_testo at = place_of(d, params.at("position"));
        const auto a = signature_help(read_lines(d.text.bytes, at.file), at.line, at.column);
        if (!a) return nullptr;
        json parameters = json::array();
        for (size_t i = 0; i < a->parameters.size(); ++i)
            parameters.push_back({{"label", {a->parameters[i].first, a->parameters[i].second}},
                                  {"documentation", a->documentation[i]}});
        return {{"signatures", json::array({{{"label", a->label}, {"parameters", parameters}, {"activeParameter", a->active}}})},
                {"activeSignature", 0},
                {"activeParameter", a->active}};
    }

    json symbols_request(const json& params) {
        const open_document& d = document(params);
        const auto c = check_of(d);
        const editor_lines l(d.utf8);
        json out = json::array();
        const auto to_range = [&](const luogo_testo& from, const luogo_testo& to) {
            const luogo_testo end = to.line > 0 ? to : luogo_testo{from.file, from.line, from.column + from.length, 0};
            return json{{"start", position(l, from.line, from.column)}, {"end", position(l, end.line, end.column)}};
        };
        size_t left = MAX_ANSWER_ITEMS;
        for (const symbol_entry& s : document_symbols(read_lines(d.text.bytes, file_of(d.path)), *c))
            if (left > 0) out.push_back(symbol_json(s, to_range, left));
        return out;
    }

    json formatting_request(const json& params, bool ranged) {
        const open_document& d = document(params);
        int32_t from = 1, to = INT32_MAX;
        if (ranged) {
            std::tie(from, to) = line_span_of(params.at("range"));
        }
        // A line holding a character Windows-1252 lacks would come back with '?' in its place.
        std::set<int32_t> keep;
        for (const unconvertible_character& c : d.text.unconvertible) keep.insert(c.place.line);
        const editor_lines l(d.utf8);
        json out = json::array();
        for (const line_edit& e : format_lines(d.text.bytes, file_of(d.path), from, to, keep)) {
            if (out.size() >= MAX_ANSWER_ITEMS) break;  // each edit stands alone: the rest at the next request
            const auto width = static_cast<int32_t>(l.line(e.line).size());
            out.push_back({{"range",
                            {{"start", {{"line", e.line - 1}, {"character", 0}}},
                             {"end", {{"line", e.line - 1}, {"character", units_before(l.line(e.line), width, encoding)}}}}},
                           {"newText", utf8_da_1252(e.text)}});
        }
        return out;
    }

    json code_action_request(const json& params) {
        const open_document& d = document(params);
        const auto c = check_of(d);
        note_lines.clear();
        const json only = params.value("/context/only"_json_pointer, json::array());
        const auto wanted = [&](const std::string& kind) {
            if (only.empty()) return true;
            for (const json& k : only)
                if (k.is_string() && (kind == k.get<std::string>() || kind.rfind(k.get<std::string>() + ".", 0) == 0))
                    return true;
            return false;
        };
        const editor_lines l(d.utf8);
        const auto edit_of = [&](const std::vector<quick_fix>& fixes) {
            json edits = json::array();
            for (const quick_fix& f : fixes)
                for (const byte_edit& e : f.edits)
                    edits.push_back({{"range", range(l, e.place)}, {"newText", utf8_da_1252(e.text)}});
            return json{{"changes", {{d.uri, edits}}}};
        };
        json out = json::array();
        if (wanted("quickfix")) {
            const auto [first, last] = line_span_of(params.at("range"));
            for (const quick_fix& f : quick_fixes(docs, d, *c, first, last, warnings))
                out.push_back({{"title", f.title},
                               {"kind", "quickfix"},
                               {"isPreferred", true},
                               {"diagnostics", json::array({diagnostic_json(*f.fixes, l, *c)})},
                               {"edit", edit_of({f})}});
        }
        // Asked for by name only: it compiles every fix of the file.
        if (!only.empty() && wanted("source.fixAll"))
            if (const std::vector<quick_fix> all = fix_all(docs, d, *c, warnings); !all.empty())
                out.push_back({{"title", "apply the " + std::to_string(all.size()) + " safe fixes"},
                               {"kind", "source.fixAll"},
                               {"edit", edit_of(all)}});
        return out;
    }

    json folding_request(const json& params) {
        const open_document& d = document(params);
        json out = json::array();
        for (const fold_range& f : folding_ranges(read_lines(d.text.bytes, file_of(d.path))))
            if (out.size() < MAX_ANSWER_ITEMS) out.push_back({{"startLine", f.first - 1}, {"endLine", f.last - 1}, {"kind", "region"}});
        return out;
    }

    void did_open(const json& params, clock::time_point now) {
        const json& td = params.at("textDocument");
        const std::string uri = td.at("uri").get<std::string>();
        const auto path = path_of_uri(uri);
        if (!path) return;
        docs.open(uri, *path, version_of(td), td.at("text").get<std::string>());
        pending.insert(*path);
        compile_pending(now);
    }
    void did_change(const json& params, clock::time_point now) {
        const json& td = params.at("textDocument");
        const json& changes = params.at("contentChanges");
        if (changes.empty()) return;
        // Whole-document sync (as the capabilities say): a change of a range
        // would be taken for the whole text, so it is refused.
        for (const json& c : changes)
            if (c.is_object() && c.contains("range")) {
                notify("window/logMessage", {{"type", 1}, {"message", "scenario-compiler: a change of a range is refused: "
                                                                      "the server takes whole documents"}});
                return;
            }
        // The last change holds the text.
        open_document* d = docs.change(td.at("uri").get<std::string>(), version_of(td),
                                       changes.back().at("text").get<std::string>());
        if (d) edited(d->path, now);
    }
    void did_close(const json& params) {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        const open_document* d = docs.find(uri);
        if (!d) return;
        const std::filesystem::path path = d->path;
        docs.close(uri);
        notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
        // Its partner now reads the file from disk, or finds it gone.
        if (auto it = checks.find(path); it != checks.end() && it->second->pair)
            for (const auto& p : {it->second->pair->route, it->second->pair->train})
                if (p != path && docs.find_path(p)) pending.insert(p);
        checks.erase(path);
        pending.erase(path);
        compile_pending();
    }

    void handle(const json& m, clock::time_point now) {
        static const json no_id = nullptr, no_params = json::object();
        if (!m.is_object()) {
            fail(nullptr, INVALID_REQUEST, "a message is a JSON object");
            return;
        }
        const bool request = m.contains("id");
        // Taken by reference: a copy of a deep value recurses.
        const json& id = request ? m["id"] : no_id;
        if (!valid_request_id(id)) {
            fail(nullptr, INVALID_REQUEST, "an id is a string, a number or null");
            return;
        }
        if (!m.contains("method") || !m["method"].is_string()) {
            if (request && !m.contains("result") && !m.contains("error")) fail(id, INVALID_REQUEST, "not a request");
            return;  // an answer to a request of ours, or noise
        }
        const std::string method = m["method"].get<std::string>();
        const json& params = m.contains("params") ? m["params"] : no_params;
        if (method == "$/cancelRequest") {
            // Its request has been answered, or is refused below when it comes.
            if (params.is_object() && params.contains("id")) cancelled.erase(params["id"].dump());
            return;
        }
        if (request && cancelled.erase(id.dump())) {
            fail(id, REQUEST_CANCELLED, "the request was cancelled");
            return;
        }
        if (method == "exit") {
            exited = true;
            return;
        }
        if (!initialized && method != "initialize") {
            if (request) fail(id, SERVER_NOT_INITIALIZED, "the server is not initialized");
            return;
        }
        // After shutdown only exit counts: a request is refused, a notification ignored.
        if (shutdown) {
            if (request) fail(id, INVALID_REQUEST, "the server is shut down");
            return;
        }
        try {
            if (request) {
                if (method == "initialize") {
                    if (initialized) fail(id, INVALID_REQUEST, "the server is already initialized");
                    else reply(id, initialize(params));
                } else if (method == "shutdown") {
                    shutdown = true;
                    reply(id, nullptr);
                } else if (method == "textDocument/hover") {
                    reply(id, hover_request(params));
                } else if (method == "textDocument/inlayHint") {
                    reply(id, inlay_request(params));
                } else if (method == "textDocument/completion") {
                    reply(id, completion_request(params));
                } else if (method == "textDocument/signatureHelp") {
                    reply(id, signature_request(params));
                } else if (method == "textDocument/documentSymbol") {
                    reply(id, symbols_request(params));
                } else if (method == "textDocument/formatting" || method == "textDocument/rangeFormatting") {
                    reply(id, formatting_request(params, method == "textDocument/rangeFormatting"));
                } else if (method == "textDocument/codeAction") {
                    reply(id, code_action_request(params));
                } else if (method == "textDocument/foldingRange") {
                    reply(id, folding_request(params));
                } else {
                    fail(id, METHOD_NOT_FOUND, "no method " + method);
                }
                return;
            }
            if (method == "textDocument/didOpen") did_open(params, now);
            else if (method == "textDocument/didChange") did_change(params, now);
            else if (method == "textDocument/didClose") did_close(params);
            else if (method == "textDocument/didSave") compile_pending(), recompile_saved(params);
            else if (method == "workspace/didChangeWatchedFiles") recompile_open();
            else if (method == "workspace/didChangeConfiguration") {
                const json& s = params.is_object() && params.contains("settings") ? params["settings"] : no_params;
                configure(s.is_object() && s.contains("scenarioCompiler") ? s["scenarioCompiler"] : no_params);
                recompile_open();
            }
        } catch (const json::exception& e) {
            if (request) fail(id, INVALID_PARAMS, e.what());
        } catch (const std::invalid_argument& e) {
            if (request) fail(id, INVALID_PARAMS, e.what());
        } catch (const std::exception& e) {
            // A compile that failed so is not tried again until the next edit.
            pending.clear();
            due.reset();
            if (request) fail(id, INTERNAL_ERROR, e.what());
        }
    }
    void recompile_saved(const json& params) {
        if (const open_document* d = docs.find(params.at("textDocument").at("uri").get<std::string>())) {
            pending.insert(d->path);
            compile_pending();
        }
    }
};

language_server::language_server(std::ostream& out, server_settings settings)
    : impl_(std::make_unique<impl>(out, std::move(settings))) {}
language_server::~language_server() = default;

void language_server::handle(const framed_message& message, clock::time_point now) {
    if (message.problem) {
        impl_->fail(nullptr, INVALID_REQUEST, *message.problem);
        return;
    }
    bool too_deep = false;
    const std::optional<json> m = parse_message(message.body, too_deep);
    if (too_deep) {
        impl_->fail(nullptr, INVALID_REQUEST, "the message nests deeper than " + std::to_string(MAX_JSON_DEPTH) + " levels");
        return;
    }
    if (!m) {
        impl_->fail(nullptr, PARSE_ERROR, "the message is not JSON");
        return;
    }
    if (m->is_array()) {
        // Batches are not part of the protocol.
        impl_->fail(nullptr, INVALID_REQUEST, "a batch of messages");
        return;
    }
    impl_->handle(*m, now);
}

void language_server::cancel(std::string id) {
    // Ids of requests that never come are not kept without end.
    if (impl_->cancelled.size() >= MAX_QUEUED_MESSAGES * 4) impl_->cancelled.clear();
    impl_->cancelled.insert(std::move(id));
}

void language_server::tick(clock::time_point now) {
    if (!impl_->due || now < *impl_->due) return;
    try {
        impl_->compile_pending(now);
    } catch (const std::exception& e) {
        // No request to answer: the client hears of it in its log, and the next edit tries again.
        impl_->pending.clear();
        impl_->due.reset();
        impl_->notify("window/logMessage", {{"type", 1}, {"message", std::string("scenario-compiler: ") + e.what()}});
    }
}
std::optional<language_server::clock::time_point> language_server::deadline() const { return impl_->due; }
void language_server::flush() { impl_->compile_pending(); }
bool language_server::exited() const { return impl_->exited; }
int language_server::exit_status() const { return impl_->shutdown ? 0 : 1; }

int serve_language(std::istream& in, std::ostream& out, const server_settings& settings) {
    // The messages are read ahead on a thread of their own, so that a held-back
    // compile runs when it is due even while no message comes, and a request
    // still queued can be cancelled. The queue is bounded: when it is full the
    // reader waits, and the client's writes with it.
    struct inbox {
        std::mutex m;
        std::condition_variable ready, room;
        std::deque<std::optional<framed_message>> queue;
        size_t queued_bytes = 0;
        std::vector<std::string> cancelled;  // ids, as JSON, seen ahead of their requests' turn
        bool ended = false, closed = false;
        bool full() const { return queue.size() >= MAX_QUEUED_MESSAGES || queued_bytes >= MAX_QUEUED_BYTES; }
    };
    auto box = std::make_shared<inbox>();
    // A stream tied to `out` (std::cin is, to std::cout) would flush it from the
    // reader's thread while this one writes.
    in.tie(nullptr);
    std::thread reader([box, &in] {
        message_reader messages(in);
        for (;;) {
            std::optional<framed_message> m = messages.next();
            const bool end = !m;
            const std::optional<std::string> cancel = m ? cancelled_request(m->body) : std::nullopt;
            {
                std::unique_lock<std::mutex> lock(box->m);
                if (cancel) box->cancelled.push_back(*cancel);
                box->room.wait(lock, [&] { return box->closed || !box->full(); });
                if (box->closed) return;
                box->queued_bytes += m ? m->body.size() : 0;
                box->queue.push_back(std::move(m));
                box->ended = end;
            }
            box->ready.notify_one();
            if (end) return;
        }
    });
    language_server server(out, settings);
    for (;;) {
        std::unique_lock<std::mutex> lock(box->m);
        const auto has = [&] { return !box->queue.empty(); };
        if (const auto due = server.deadline()) box->ready.wait_until(lock, *due, has);
        else box->ready.wait(lock, has);
        for (std::string& id : box->cancelled) server.cancel(std::move(id));
        box->cancelled.clear();
        if (box->queue.empty()) {
            lock.unlock();
            server.tick(language_server::clock::now());
            continue;
        }
        std::optional<framed_message> m = std::move(box->queue.front());
        box->queue.pop_front();
        box->queued_bytes -= m ? m->body.size() : 0;
        lock.unlock();
        box->room.notify_one();
        if (!m) break;
        server.handle(*m, language_server::clock::now());
        if (server.exited()) break;
        server.tick(language_server::clock::now());
    }
    bool ended = false;
    {
        std::lock_guard<std::mutex> lock(box->m);
        ended = box->ended;
        box->closed = true;
    }
    box->room.notify_one();
    // A reader still waiting on the input is left to the process's end.
    if (ended) reader.join();
    else reader.detach();
    return server.exit_status();
}
