#include "session/compile_session.h"

#include <string_view>
#include <system_error>
#include <tuple>
#include <utility>

#include "diagnostics/faults.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/io_failure.h"
#include "platform/input_files.h"
#include "platform/path_text.h"

namespace {

// The failure of an identifier, quoted as given.
failure identifier_failure(const char* what, const std::string& id, const std::string& reason) {
    return {EXIT_USAGE, std::string("the ") + what + " '" + id + "' " + reason};
}

// Nothing when the identifier can be part of a file name on any platform the
// files go to, else its usage failure; the identifiers name every file of the scenario.
maybe_failure check_file_name(const char* what, const std::string& id) {
    const auto refused = [&](const std::string& reason) { return identifier_failure(what, id, reason); };
    if (id.empty()) return refused("is empty, and names no file");
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32) return refused("holds the control character " + std::to_string(byte) + ", which a file name cannot");
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return refused(std::string("holds '") + c + "', which a file name cannot");
    }
    if (id.back() == '.' || id.back() == ' ')
        return refused(std::string("ends with '") + id.back() + "', which a file name cannot");
    return std::nullopt;
}

const char* const ROUTE_ID = "route identifier";
const char* const TRAIN_NUMBER = "train number";

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

// The first stage: the inputs checked, the identifiers derived where not given
// and fit to name files; they are set in c.m.
maybe_failure identify_inputs(const session_inputs& in, session_compile& c) {
    if (auto f = check_inputs(in)) return f;
    c.route_id = in.route_id.value_or(""), c.train_number = in.train_number.value_or("");
    if (!in.route_id) {
        auto derived = radice_da_nome_linea(utf8_path(in.route.filename()));
        if (!derived)
            return failure{EXIT_USAGE, utf8_path(in.route.filename()) + " is not named ID_linea.txt; give --route-id"};
        c.route_id = *derived;
    }
    if (!in.train_number) {
        auto derived = numero_da_nome_treno(utf8_path(in.train.filename()), c.route_id);
        if (!derived)
            return failure{EXIT_USAGE, utf8_path(in.train.filename()) + " is not named " + c.route_id +
                                           "_N-.txt; give --train-number"};
        c.train_number = *derived;
    }
    // The identifiers go into the compiled files as Windows-1252 text, whatever
    // the platform's own encoding of names and arguments.
    for (auto [utf8, target, what] : {std::tuple{&c.route_id, &c.m.nome_linea, ROUTE_ID},
                                      std::tuple{&c.train_number, &c.m.numero_treno, TRAIN_NUMBER}}) {
        if (auto f = check_file_name(what, *utf8)) return f;
        const result<std::string> cp1252 = cp1252_da_utf8(*utf8);
        if (!cp1252) return identifier_failure(what, *utf8, "cannot name the files: " + cp1252.error().message);
        *target = *cp1252;
    }
    return std::nullopt;
}

// The second: the texts read and compiled with `options` (which take the inputs
// from `in` and the texts from c), the faults and warnings found.
maybe_failure compile_identified(const session_inputs& in, opzioni_compilazione options, session_compile& c) {
    options.ingressi = {in.route, in.train, false, &c.texts};  // an author's files are never deleted
    const int32_t j = in.no_geometry ? 0 : 1;
    for (auto [text, given, file] : {std::tuple{&c.texts.linea, &in.route_text, &in.route},
                                     std::tuple{&c.texts.treno, &in.train_text, &in.train}}) {
        result<std::string> read = *given ? result<std::string>(**given) : read_file_bytes(*file, MAX_INPUT_FILE_BYTES);
        if (!read) return read.error();
        *text = std::move(*read);
    }
    fault_search faults;
    // The compile writes its files through the core, which throws io_failure when it cannot.
    try {
        searched_compile searched = search_faults(c.m, j, options, c.texts, in.error_limit);
        c.esito = searched.esito;
        faults = std::move(searched.faults);
    } catch (const io_failure& e) {
        return failure{EXIT_FAILURE_IO, e.what()};
    }
    c.sources = {{c.m.registro.percorso_linea, c.texts.linea}, {c.m.registro.percorso_treno, c.texts.treno}};
    c.diagnostics = faults.errors;
    c.limit_reached = faults.limit_reached;
    const std::vector<diagnostic> warned = chosen_warnings(c.m, in.warnings, faults.read_on);
    c.warnings = warned.size();
    for (const diagnostic& d : warned) c.warnings_as_errors += d.level == severity::error;
    c.diagnostics.insert(c.diagnostics.end(), warned.begin(), warned.end());
    sort_diagnostics(c.diagnostics);
    return std::nullopt;
}

}  // namespace

maybe_failure check_inputs(const session_inputs& in) {
    // A missing input is named for what it is, not for its name's shape.
    for (const auto& [input, text] : {std::pair{&in.route, &in.route_text}, std::pair{&in.train, &in.train_text}})
        if (auto f = *text ? std::nullopt : check_input_file(*input, MAX_INPUT_FILE_BYTES)) return f;
    // One file by its identity on disk, however it is named; two files alike in
    // their bytes are still two.
    if (same_file(in.route, in.train))
        return failure{EXIT_USAGE, utf8_path(in.route) + " is given as both the route and the train file" +
                                       (in.route == in.train ? "" : " (as " + utf8_path(in.train) + ")")};
    return check_given_identifiers(in.route_id, in.train_number);
}

maybe_failure check_given_identifiers(const std::optional<std::string>& route_id,
                                      const std::optional<std::string>& train_number) {
    for (auto [id, what] : {std::pair{&route_id, ROUTE_ID}, std::pair{&train_number, TRAIN_NUMBER}})
        if (*id && id->value().empty()) return check_file_name(what, "");
    return std::nullopt;
}

diagnostic failure_diagnostic(std::string message) {
    diagnostic d;
    d.message = std::move(message);
    return d;
}

bool session_compile::drawable() const { return esito.rapporto == codice::nessuno && esito.griglia_allocata; }

result<session_compile> compile_in_memory(const session_inputs& in) {
    session_compile c;
    opzioni_compilazione options;
    options.scrittura = scrittura_compilati::mai;
    if (auto f = identify_inputs(in, c)) return *f;
    if (auto f = compile_identified(in, options, c)) return *f;
    return c;
}

result<session_compile> compile_and_write(const session_inputs& in, const write_policy& policy) {
    session_compile c;
    if (auto f = identify_inputs(in, c)) return *f;
    for (const std::string& name : {nome_file_linea(c.m), nome_file_voci(c.m), nome_file_celle(c.m)})
        for (const auto& input : {in.route, in.train})
            if (same_file(percorso_file(policy.folder, name), input))
                return failure{EXIT_USAGE,
                               "the output " + utf8_da_1252(name) + " would overwrite the input " + utf8_path(input)};
    // The folders made for the files, the deepest first: a run that writes nothing leaves none behind.
    std::vector<std::filesystem::path> made;
    std::error_code ec;
    for (std::filesystem::path p = policy.folder; !policy.check && !p.empty() && !std::filesystem::exists(p, ec);
         p = p.parent_path())
        made.push_back(p);
    if (auto f = check_output_folder(policy.folder, !policy.check)) return *f;

    opzioni_compilazione options;
    options.cartella = policy.folder;
    options.scrittura = policy.check            ? scrittura_compilati::mai
                        : policy.write_on_error ? scrittura_compilati::sempre
                                                : scrittura_compilati::senza_errori;
    if (in.warnings.makes_errors())
        options.consenti_scrittura = [&in](const modello& compiled) {
            for (const diagnostic& d : chosen_warnings(compiled, in.warnings))
                if (d.level == severity::error) return false;
            return true;
        };
    const maybe_failure f = compile_identified(in, options, c);
    if (c.esito.scritti.empty())
        for (const std::filesystem::path& folder : made) std::filesystem::remove(folder, ec);  // only if empty
    if (f) return *f;
    return c;
}
