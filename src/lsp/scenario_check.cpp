#include "lsp/scenario_check.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>
#include <variant>

#include "compile/codici_errore.h"
#include "platform/file_ops.h"
#include "platform/format_reference.h"
#include "platform/input_files.h"
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
    const bool is_train = role_of(path) == scenario_role::train;
    const file_testo own = is_train ? file_testo::treno : file_testo::linea;
    const auto pair = w.pair_of(path);
    if (const std::string* missing = std::get_if<std::string>(&pair)) {
        checked_file& f = is_train ? out.train : out.route;
        f.path = path;
        if (const open_document* d = w.find_path(path)) f.version = d->version, f.text = d->text.bytes;
        f.diagnostics.push_back(whole_file_diagnostic(own, *missing));
        return out;
    }
    out.pair = std::get<scenario_pair>(pair);
    session_inputs in;
    in.route = out.pair->route, in.train = out.pair->train;
    in.warnings = warnings;
    const open_document* route_doc = w.find_path(in.route);
    const open_document* train_doc = w.find_path(in.train);
    if (route_doc) in.route_text = route_doc->text.bytes, out.route.version = route_doc->version;
    if (train_doc) in.train_text = train_doc->text.bytes, out.train.version = train_doc->version;
    // An open document past the input limit is not compiled, as its file would not be.
    for (const open_document* d : {route_doc, train_doc})
        if (d && d->text.bytes.size() > MAX_INPUT_FILE_BYTES) {
            checked_file& f = is_train ? out.train : out.route;
            f.path = path;
            f.diagnostics.push_back(whole_file_diagnostic(
                own, utf8_path(d->path.filename()) + " " + too_large(d->text.bytes.size(), MAX_INPUT_FILE_BYTES)));
            out.pair.reset();
            return out;
        }
    out.route.path = in.route, out.train.path = in.train;
    result<session_compile> c = compile_in_memory(in);
    if (!c) {
        checked_file& f = is_train ? out.train : out.route;
        f.diagnostics.push_back(whole_file_diagnostic(own, c.error().message));
    } else {
        auto compiled = std::make_shared<session_compile>(std::move(*c));
        out.route.text = compiled->texts.linea, out.train.text = compiled->texts.treno;
        for (const diagnostic& d : compiled->diagnostics) {
            if (d.place.file == file_testo::linea) out.route.diagnostics.push_back(d);
            else if (d.place.file == file_testo::treno) out.train.diagnostics.push_back(d);
            else (is_train ? out.train : out.route).diagnostics.push_back(whole_file_diagnostic(own, d.message));
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
