#include "lsp/server.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <functional>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/file_uri.h"
#include "lsp/message_intake.h"
#include "lsp/protocol.h"
#include "model/testo_1252.h"
#include "platform/file_ops.h"
#include "platform/format_reference.h"
#include "platform/input_files.h"
#include "running/train_model.h"

using json = nlohmann::json;

namespace {

std::string dump_json(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

// `left`: how many more entries the answer may hold; each one takes one.
json symbol_json(const symbol_entry& s, const std::function<json(const luogo_testo&, const luogo_testo&)>& range,
                 size_t& left) {
    --left;
    json j = {{"name", s.name},
              {"kind", to_proto::kind(s.what)},
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

    // The methods served, by name: a request's handler answers it or fails it, a
    // notification's acts at the time it came.
    using request_handler = result<json> (impl::*)(const json& params);
    using notification_handler = void (impl::*)(const json& params, clock::time_point now);
    static const std::map<std::string, request_handler>& requests();
    static const std::map<std::string, notification_handler>& notifications();

    impl(std::ostream& o, server_settings s) : out(o), settings(std::move(s)) {
        if (const auto ref = reference_document()) reference_uri = uri_of_path(*ref);
    }

    void send(const json& j) { write_message(out, dump_json(j)); }
    void reply(const json& id, json result) { send({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}}); }
    void fail(const json& id, const failure& f) {
        send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", f.status}, {"message", f.message}}}});
    }
    void fail(const json& id, rpc_error code, std::string message) { fail(id, rpc_failure(code, std::move(message))); }
    void notify(const std::string& method, json params) {
        send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }
    void log(message_type type, const std::string& message) {
        notify("window/logMessage", {{"type", type}, {"message", "scenario-compiler: " + message}});
    }
    void show(message_type type, const std::string& message) {
        notify("window/showMessage", {{"type", type}, {"message", "scenario-compiler: " + message}});
    }

    // The lines of a file as the editor holds them: an open buffer, or the text compiled.
    std::unique_ptr<editor_lines> lines_of(const std::filesystem::path& path, const std::string& compiled) const {
        if (const open_document* d = docs.find_path(path)) return std::make_unique<editor_lines>(d->utf8, encoding);
        return std::make_unique<editor_lines>(utf8_da_1252(compiled), encoding);
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
        return to_proto::diagnostic(own, d, [&](file_testo file) -> std::optional<note_file> {
            const checked_file* f = c.of(file);
            if (!f || f->path.empty()) return std::nullopt;
            std::unique_ptr<editor_lines>& l = note_lines[f->path];
            if (!l) l = lines_of(f->path, f->text);
            return note_file{uri_for(f->path), l.get()};
        }, reference_uri);
    }

    void publish(const checked_file& f, const scenario_check& c) {
        if (f.path.empty()) return;
        const auto l = lines_of(f.path, f.text);
        note_lines.clear();
        json list = json::array();
        if (!f.partner_missing.empty())
            list.push_back(to_proto::diagnostic(*l, {file_of(f.path), 1, 1, 0}, diagnostic_severity::information,
                                                f.partner_missing));
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

    result<const open_document*> document(const json& params) const {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        const open_document* d = docs.find(uri);
        if (!d) return rpc_failure(rpc_error::invalid_params, "the document " + uri + " is not open");
        // Every feature reads the whole document; past the limit none is served.
        if (d->text.bytes.size() > MAX_INPUT_FILE_BYTES)
            return rpc_failure(rpc_error::invalid_params,
                               "the document " + too_large(d->text.bytes.size(), MAX_INPUT_FILE_BYTES));
        return d;
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
            log(message_type::warning, "the setting " + name + " is ignored: " + wanted);
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
                else show(message_type::error, chosen.error().message);
            }
        }
        if (options.contains("trainProfile")) {
            const result<train_model> p = read_train_profile(options["trainProfile"].dump());
            if (p) warnings.train = *p;
            else show(message_type::error, "trainProfile: " + p.error().message);
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

    result<json> initialize(const json& params) {
        if (initialized) return rpc_failure(rpc_error::invalid_request, "the server is already initialized");
        const json caps = params.value("capabilities", json::object());
        encoding = position_encoding::utf16;
        if (caps.contains("general") && caps["general"].contains("positionEncodings"))
            for (const json& e : caps["general"]["positionEncodings"])
                if (const std::optional<position_encoding> chosen = from_proto::encoding(e)) {
                    encoding = *chosen;
                    break;
                }
        const json item = caps.value("/textDocument/completion/completionItem"_json_pointer, json::object());
        snippets = item.is_object() && item.value("snippetSupport", false);
        configure(params.value("initializationOptions", json::object()));
        initialized = true;
        return json{{"capabilities",
                     {{"positionEncoding", to_proto::encoding(encoding)},
                      {"textDocumentSync",
                       {{"openClose", true}, {"change", text_document_sync_kind::full}, {"save", {{"includeText", false}}}}},
                      {"hoverProvider", true},
                      {"completionProvider", {{"triggerCharacters", json::array({"["})}}},
                      {"signatureHelpProvider",
                       {{"triggerCharacters", json::array({","})}, {"retriggerCharacters", json::array({" "})}}},
                      {"documentSymbolProvider", true},
                      {"documentFormattingProvider", true},
                      {"documentRangeFormattingProvider", true},
                      {"foldingRangeProvider", true},
                      {"codeActionProvider", {{"codeActionKinds", json::array({QUICKFIX_ACTION, FIX_ALL_ACTION})}}},
                      {"inlayHintProvider", true}}},
                    {"serverInfo", {{"name", "scenario-compiler"}, {"version", settings.version}}}};
    }
    result<json> shutdown_request(const json&) {
        shutdown = true;
        return json(nullptr);
    }

    result<json> hover_request(const json& params) {
        const result<const open_document*> d = document(params);
        if (!d) return d.error();
        const auto c = check_of(**d);
        const editor_lines l((*d)->utf8, encoding);
        const result<luogo_testo> at = from_proto::place(l, file_of((*d)->path), params.at("position"));
        if (!at) return at.error();
        const auto a = hover(*c, read_lines((*d)->text.bytes, at->file), *at);
        if (!a) return json(nullptr);
        return json{{"contents", {{"kind", MARKDOWN}, {"value", a->markdown}}}, {"range", to_proto::range(l, a->place)}};
    }

    result<json> inlay_request(const json& params) {
        const result<const open_document*> d = document(params);
        if (!d) return d.error();
        const file_testo file = file_of((*d)->path);
        const editor_lines l((*d)->utf8, encoding);
        const result<std::pair<luogo_testo, luogo_testo>> asked = from_proto::range(l, file, params.at("range"));
        if (!asked) return asked.error();
        auto [from, to] = *asked;
        // An editor asks for what it shows; past that much, and past the lines
        // asked for, nothing is read or answered.
        if (int64_t{to.line} > int64_t{from.line} + MAX_RANGE_LINES)
            to = {to.file, static_cast<int32_t>(int64_t{from.line} + MAX_RANGE_LINES), INT32_MAX, 0};
        json out = json::array();
        std::vector<inlay_hint_item> found =
            inlay_hints(read_lines(through_line((*d)->text.bytes, to.line), file), from, to, hints);
        if (found.size() > MAX_ANSWER_ITEMS) found.resize(MAX_ANSWER_ITEMS);
        for (const inlay_hint_item& h : found)
            out.push_back({{"position", to_proto::position(l, h.place)},
                           {"label", h.label},
                           {"kind", inlay_hint_kind::parameter},
                           {"paddingRight", true}});
        return out;
    }

    result<json> completion_request(const json& params) {
        const result<const open_document*> d = document(params);
        if (!d) return d.error();
        const editor_lines l((*d)->utf8, encoding);
        const result<luogo_testo> at = from_proto::place(l, file_of((*d)->path), params.at("position"));
        if (!at) return at.error();
        const auto a = completion(read_lines((*d)->text.bytes, at->file), *at);
        if (!a) return json(nullptr);
        json items = json::array();
        for (const completion_entry& e : a->entries) {
            json item = {{"label", e.label},
                         {"kind", e.section ? completion_item_kind::module : completion_item_kind::keyword},
                         {"detail", e.detail},
                         {"textEdit", {{"range", to_proto::range(l, a->replaces)}, {"newText", snippets ? e.snippet : e.plain}}}};
            if (snippets && !e.section) item["insertTextFormat"] = insert_text_format::snippet;
            if (!e.documentation.empty()) item["documentation"] = e.documentation;
            items.push_back(item);
        }
        return json{{"isIncomplete", false}, {"items", items}};
    }

    result<json> signature_request(const json& params) {
        const result<const open_document*> d = document(params);
        if (!d) return d.error();
        const editor_lines l((*d)->utf8, encoding);
        const result<luogo_testo> at = from_proto::place(l, file_of((*d)->path), params.at("position"));
        if (!at) return at.error();
        const auto a = signature_help(read_lines((*d)->text.bytes, at->file), *at);
        if (!a) return json(nullptr);
        json parameters = json::array();
        for (size_t i = 0; i < a->parameters.size(); ++i)
            parameters.push_back({{"label", {a->parameters[i].first, a->parameters[i].second}},
                                  {"documentation", a->documentation[i]}});
        return json{{"signatures", json::array({{{"label", a->label}, {"parameters", parameters}, {"activeParameter", a->active}}})},
                    {"activeSignature", 0},
                    {"activeParameter", a->active}};
    }

    result<json> symbols_request(const json& params) {
        const result<const open_document*> d = document(params);
        if (!d) return d.error();
        const auto c = check_of(**d);
        const editor_lines l((*d)->utf8, encoding);
        json out = json::array();
        const auto to_range = [&](const luogo_testo& from, const luogo_testo& to) {
            return to_proto::range(l, from, to.line > 0 ? to : luogo_testo{from.file, from.line, from.column + from.length, 0});
        };
        size_t left = MAX_ANSWER_ITEMS;
        for (const symbol_entry& s : document_symbols(read_lines((*d)->text.bytes, file_of((*d)->path)), *c))
            if (left > 0) out.push_back(symbol_json(s, to_range, left));
        return out;
    }

    result<json> formatting_request(const json& params) { return formatting(params, false); }
    result<json> range_formatting_request(const json& params) { return formatting(params, true); }
    result<json> formatting(const json& params, bool ranged) {
        const result<const open_document*> d = document(params);
        if (!d) return d.error();
        int32_t from = 1, to = INT32_MAX;
        if (ranged) {
            const result<std::pair<int32_t, int32_t>> span = from_proto::line_span(params.at("range"));
            if (!span) return span.error();
            std::tie(from, to) = *span;
        }
        // A line holding a character Windows-1252 lacks would come back with '?' in its place.
        std::set<int32_t> keep;
        for (const unconvertible_character& c : (*d)->text.unconvertible) keep.insert(c.place.line);
        const file_testo file = file_of((*d)->path);
        const editor_lines l((*d)->utf8, encoding);
        json out = json::array();
        for (const line_edit& e : format_lines((*d)->text.bytes, file, from, to, keep)) {
            if (out.size() >= MAX_ANSWER_ITEMS) break;  // each edit stands alone: the rest at the next request
            // The whole line, its end excluded.
            const auto width = static_cast<int32_t>(l.line(e.line).size());
            out.push_back({{"range", to_proto::range(l, {file, e.line, 1, width})}, {"newText", utf8_da_1252(e.text)}});
        }
        return out;
    }

    result<json> code_action_request(const json& params) {
        const result<const open_document*> doc = document(params);
        if (!doc) return doc.error();
        const open_document& d = **doc;
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
        const editor_lines l(d.utf8, encoding);
        const auto edit_of = [&](const std::vector<quick_fix>& fixes) {
            json edits = json::array();
            for (const quick_fix& f : fixes)
                for (const byte_edit& e : f.edits)
                    edits.push_back({{"range", to_proto::range(l, e.place)}, {"newText", utf8_da_1252(e.text)}});
            return json{{"changes", {{d.uri, edits}}}};
        };
        json out = json::array();
        if (wanted(QUICKFIX_ACTION)) {
            const result<std::pair<int32_t, int32_t>> span = from_proto::line_span(params.at("range"));
            if (!span) return span.error();
            const auto [first, last] = *span;
            for (const quick_fix& f : quick_fixes(docs, d, *c, first, last, warnings))
                out.push_back({{"title", f.title},
                               {"kind", QUICKFIX_ACTION},
                               {"isPreferred", true},
                               {"diagnostics", json::array({diagnostic_json(*f.fixes, l, *c)})},
                               {"edit", edit_of({f})}});
        }
        // Asked for by name only: it compiles every fix of the file.
        if (!only.empty() && wanted(FIX_ALL_ACTION))
            if (const std::vector<quick_fix> all = fix_all(docs, d, *c, warnings); !all.empty())
                out.push_back({{"title", "apply the " + std::to_string(all.size()) + " safe fixes"},
                               {"kind", FIX_ALL_ACTION},
                               {"edit", edit_of(all)}});
        return out;
    }

    result<json> folding_request(const json& params) {
        const result<const open_document*> d = document(params);
        if (!d) return d.error();
        json out = json::array();
        for (const fold_range& f : folding_ranges(read_lines((*d)->text.bytes, file_of((*d)->path))))
            if (out.size() < MAX_ANSWER_ITEMS)
                out.push_back({{"startLine", to_proto::line(f.first)}, {"endLine", to_proto::line(f.last)}, {"kind", REGION_FOLD}});
        return out;
    }

    void did_open(const json& params, clock::time_point now) {
        const json& td = params.at("textDocument");
        const std::string uri = td.at("uri").get<std::string>();
        const auto path = path_of_uri(uri);
        if (!path) return;
        const result<int64_t> version = version_of(td);
        if (!version) return;
        docs.open(uri, *path, *version, td.at("text").get<std::string>());
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
                log(message_type::error, "a change of a range is refused: the server takes whole documents");
                return;
            }
        const std::string uri = td.at("uri").get<std::string>();
        const result<int64_t> version = version_of(td);
        if (!version) return;
        // The last change holds the text.
        open_document* d = docs.change(uri, *version, changes.back().at("text").get<std::string>());
        if (d) edited(d->path, now);
    }
    void did_close(const json& params, clock::time_point) {
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
    void did_save(const json& params, clock::time_point) {
        compile_pending();
        if (const open_document* d = docs.find(params.at("textDocument").at("uri").get<std::string>())) {
            pending.insert(d->path);
            compile_pending();
        }
    }
    void watched_files_changed(const json&, clock::time_point) { recompile_open(); }
    void configuration_changed(const json& params, clock::time_point) {
        static const json none = json::object();
        const json& s = params.is_object() && params.contains("settings") ? params["settings"] : none;
        configure(s.is_object() && s.contains("scenarioCompiler") ? s["scenarioCompiler"] : none);
        recompile_open();
    }

    void handle(const json& m, clock::time_point now) {
        static const json no_id = nullptr, no_params = json::object();
        if (!m.is_object()) {
            fail(nullptr, rpc_error::invalid_request, "a message is a JSON object");
            return;
        }
        const bool request = m.contains("id");
        // Taken by reference: a copy of a deep value recurses.
        const json& id = request ? m["id"] : no_id;
        if (!valid_request_id(id)) {
            fail(nullptr, rpc_error::invalid_request, "an id is a string, a number or null");
            return;
        }
        if (!m.contains("method") || !m["method"].is_string()) {
            if (request && !m.contains("result") && !m.contains("error")) fail(id, rpc_error::invalid_request, "not a request");
            return;  // an answer to a request of ours, or noise
        }
        const std::string method = m["method"].get<std::string>();
        const json& params = m.contains("params") ? m["params"] : no_params;
        // These two act before the lifecycle's checks, and whatever the message's form.
        if (method == "$/cancelRequest") {
            // Its request has been answered, or is refused below when it comes.
            if (params.is_object() && params.contains("id")) cancelled.erase(params["id"].dump());
            return;
        }
        if (request && cancelled.erase(id.dump())) {
            fail(id, rpc_error::request_cancelled, "the request was cancelled");
            return;
        }
        if (method == "exit") {
            exited = true;
            return;
        }
        if (!initialized && method != "initialize") {
            if (request) fail(id, rpc_error::server_not_initialized, "the server is not initialized");
            return;
        }
        // After shutdown only exit counts: a request is refused, a notification ignored.
        if (shutdown) {
            if (request) fail(id, rpc_error::invalid_request, "the server is shut down");
            return;
        }
        // A malformed params' missing member or wrong type surfaces as the JSON
        // library's exception; anything else thrown is the compile's own failure.
        try {
            if (request) {
                const auto handler = requests().find(method);
                if (handler == requests().end()) {
                    fail(id, rpc_error::method_not_found, "no method " + method);
                    return;
                }
                const result<json> answer = (this->*handler->second)(params);
                if (answer) reply(id, *answer);
                else fail(id, answer.error());
                return;
            }
            if (const auto handler = notifications().find(method); handler != notifications().end())
                (this->*handler->second)(params, now);
        } catch (const json::exception& e) {
            if (request) fail(id, rpc_error::invalid_params, e.what());
        } catch (const std::exception& e) {
            // A compile that failed so is not tried again until the next edit.
            pending.clear();
            due.reset();
            if (request) fail(id, rpc_error::internal_error, e.what());
        }
    }
};

const std::map<std::string, language_server::impl::request_handler>& language_server::impl::requests() {
    static const std::map<std::string, request_handler> table = {
        {"initialize", &impl::initialize},
        {"shutdown", &impl::shutdown_request},
        {"textDocument/hover", &impl::hover_request},
        {"textDocument/inlayHint", &impl::inlay_request},
        {"textDocument/completion", &impl::completion_request},
        {"textDocument/signatureHelp", &impl::signature_request},
        {"textDocument/documentSymbol", &impl::symbols_request},
        {"textDocument/formatting", &impl::formatting_request},
        {"textDocument/rangeFormatting", &impl::range_formatting_request},
        {"textDocument/codeAction", &impl::code_action_request},
        {"textDocument/foldingRange", &impl::folding_request},
    };
    return table;
}

const std::map<std::string, language_server::impl::notification_handler>& language_server::impl::notifications() {
    static const std::map<std::string, notification_handler> table = {
        {"textDocument/didOpen", &impl::did_open},
        {"textDocument/didChange", &impl::did_change},
        {"textDocument/didClose", &impl::did_close},
        {"textDocument/didSave", &impl::did_save},
        {"workspace/didChangeWatchedFiles", &impl::watched_files_changed},
        {"workspace/didChangeConfiguration", &impl::configuration_changed},
    };
    return table;
}

language_server::language_server(std::ostream& out, server_settings settings)
    : impl_(std::make_unique<impl>(out, std::move(settings))) {}
language_server::~language_server() = default;

void language_server::handle(const framed_message& message, clock::time_point now) {
    if (message.problem) {
        impl_->fail(nullptr, *message.problem);
        return;
    }
    const result<json> m = parse_message(message.body);
    if (!m) {
        impl_->fail(nullptr, m.error());
        return;
    }
    if (m->is_array()) {
        // Batches are not part of the protocol.
        impl_->fail(nullptr, rpc_error::invalid_request, "a batch of messages");
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
        impl_->log(message_type::error, e.what());
    }
}
std::optional<language_server::clock::time_point> language_server::deadline() const { return impl_->due; }
void language_server::flush() { impl_->compile_pending(); }
bool language_server::exited() const { return impl_->exited; }
int language_server::exit_status() const { return impl_->shutdown ? 0 : 1; }
