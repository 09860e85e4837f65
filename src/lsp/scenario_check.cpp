#include "lsp/scenario_check.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>
#include <variant>

#include "compile/codici_errore.h"
#include "platform/app_directory.h"
#include "platform/file_ops.h"
#include "platform/format_reference.h"
#include "platform/input_files.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

namespace {

diagnostic whole_file_diagnostic(file_testo file, std::string message) {
    diagnostic d;
    d.place = {file, 1, 1, 0};
    d.message = std::move(message);
    return d;
}

void unconvertible_diagnostics(const open_document* d, checked_file& f) {
    if (!d) return;
    for (const unconvertible_character& c : d->text.unconvertible) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c.code_point));
        diagnostic x;
        x.place = c.place;
        x.message = "'" + c.character + "' (" + name +
                    ") has no Windows-1252 form: the file cannot hold it, and the compile reads '?' in its place";
        f.diagnostics.push_back(std::move(x));
    }
}

}  // namespace

scenario_check check_scenario(const workspace& w, const std::filesystem::path& path, const warning_choice& warnings) {
    scenario_check out;
    out.running_train = warnings.train;
    const bool is_train = role_of(path) == scenario_role::train;
    const file_testo own = is_train ? file_testo::treno : file_testo::linea;
    checked_file& own_file = is_train ? out.train : out.route;
    const auto pair = w.pair_of(path);
    session_inputs in;
    in.warnings = warnings;
    if (const std::string* missing = std::get_if<std::string>(&pair)) {
        own_file.path = path;
        if (const open_document* d = w.find_path(path)) own_file.version = d->version, own_file.text = d->text.bytes;
        if (role_of(path) == scenario_role::other) {
            own_file.diagnostics.push_back(whole_file_diagnostic(own, *missing));
            return out;
        }
        // A lone file is compiled with a stand-in for its partner, whose findings
        // are not shown: a route with an empty train, a train with a route of the
        // greatest length, where every position fits.
        own_file.partner_missing =
            *missing + (is_train ? ": the train is checked alone, for what needs no route"
                                 : ": the route is checked with an empty train");
        if (is_train) {
            in.train = path;
            in.route = path.parent_path() / "stand-in_linea.txt";
            in.route_id = "stand-in", in.train_number = "1";
            in.route_text = "[generale]\r\nlunghezza percorso, " + std::to_string(LONGEST_ROUTE_M) + "\r\n[curve]\r\n[fine]\r\n";
        } else {
            in.route = path;
            in.train = path.parent_path() / "stand-in_1-.txt";
            in.train_number = "1";
            in.train_text = "[generale]\r\n[fine]\r\n";
        }
    } else {
        out.pair = std::get<scenario_pair>(pair);
        in.route = out.pair->route, in.train = out.pair->train;
    }
    const bool shown_route = out.pair || !is_train, shown_train = out.pair || is_train;
    const open_document* route_doc = shown_route ? w.find_path(in.route) : nullptr;
    const open_document* train_doc = shown_train ? w.find_path(in.train) : nullptr;
    if (route_doc) in.route_text = route_doc->text.bytes, out.route.version = route_doc->version;
    if (train_doc) in.train_text = train_doc->text.bytes, out.train.version = train_doc->version;
    // An open document past the input limit is not compiled, as its file would not be.
    for (const open_document* d : {route_doc, train_doc})
        if (d && d->text.bytes.size() > MAX_INPUT_FILE_BYTES) {
            own_file.path = path;
            own_file.diagnostics.push_back(whole_file_diagnostic(
                own, utf8_path(d->path.filename()) + " " + too_large(d->text.bytes.size(), MAX_INPUT_FILE_BYTES)));
            out.pair.reset();
            return out;
        }
    if (shown_route) out.route.path = in.route;
    if (shown_train) out.train.path = in.train;
    result<session_compile> c = compile_in_memory(in);
    if (!c) {
        own_file.diagnostics.push_back(whole_file_diagnostic(own, c.error().message));
    } else {
        auto compiled = std::make_shared<session_compile>(std::move(*c));
        if (shown_route) out.route.text = compiled->texts.linea;
        if (shown_train) out.train.text = compiled->texts.treno;
        for (const diagnostic& d : compiled->diagnostics) {
            if (d.place.file == file_testo::linea && shown_route) out.route.diagnostics.push_back(d);
            else if (d.place.file == file_testo::treno && shown_train) out.train.diagnostics.push_back(d);
            else if (d.place.file == file_testo::nessuno) own_file.diagnostics.push_back(whole_file_diagnostic(own, d.message));
        }
        out.compile = std::move(compiled);
    }
    unconvertible_diagnostics(route_doc, out.route);
    unconvertible_diagnostics(train_doc, out.train);
    for (checked_file* f : {&out.route, &out.train})
        std::stable_sort(f->diagnostics.begin(), f->diagnostics.end(), [](const diagnostic& a, const diagnostic& b) {
            return std::pair(a.place.line, a.place.column) < std::pair(b.place.line, b.place.column);
        });
    return out;
}

std::optional<std::string> code_reference(const std::string& code) {
    if (code.rfind("-W", 0) == 0) return format_reference() + "#warnings";
    if (code.size() < 2 || code[0] != 'E') return std::nullopt;
    int32_t n = 0;
    const auto [end, ec] = std::from_chars(code.data() + 1, code.data() + code.size(), n);
    if (ec != std::errc() || end != code.data() + code.size()) return std::nullopt;
    for (const voce_errore& e : tabella_errori())
        if (numero(e.numero) == n) return format_reference() + "#" + e.sezione;
    return std::nullopt;
}

std::optional<std::filesystem::path> reference_document() {
    std::error_code ec;
    const std::filesystem::path found = path_from_utf8(format_reference());
    if (found.is_absolute()) return found;
    try {
        const std::filesystem::path checkout = app_directory().parent_path() / "docs" / "format.md";
        if (std::filesystem::is_regular_file(checkout, ec)) return std::filesystem::absolute(checkout, ec).lexically_normal();
    } catch (const io_failure&) {
    }
    return std::nullopt;
}
