#include "cli/check_compile.h"

#include <string_view>
#include <tuple>

#include "cli/fault_diagnostics.h"
#include "cli/input_files.h"
#include "cli/nearest_name.h"
#include "cli/warnings.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

std::variant<warning_choice, std::string> choose_warnings(const std::vector<std::string>& flags) {
    warning_choice c;
    for (const warning_kind& k : warning_kinds())
        if (!k.pedantic) c.on.insert(k.name);
    for (const std::string& flag : flags) {
        const bool no = flag.rfind("no-", 0) == 0;
        const std::string name = no ? flag.substr(3) : flag;
        if (name == "error") {
            c.as_errors = !no;
        } else if (name == "all" && !no) {
            for (const warning_kind& k : warning_kinds()) c.on.insert(k.name);
        } else if (find_warning_kind(name) != nullptr) {
            if (no)
                c.on.erase(name);
            else
                c.on.insert(name);
        } else {
            std::vector<std::string> names = {"all", "error"};
            for (const warning_kind& k : warning_kinds()) names.push_back(k.name);
            std::string problem = "unknown warning option '-W" + flag + "'";
            if (auto near = nearest_name(name, names)) problem += "; did you mean '-W" + std::string(no ? "no-" : "") + *near + "'?";
            return problem;
        }
    }
    return c;
}

std::vector<diagnostic> chosen_warnings(const modello& m, const warning_choice& choice) {
    std::vector<diagnostic> out;
    for (diagnostic& d : scenario_warnings(m)) {
        if (!choice.on.count(d.code.substr(2))) continue;
        if (choice.as_errors) d.level = severity::error;
        out.push_back(std::move(d));
    }
    return out;
}

namespace {

// Why an identifier cannot be part of a file name on any platform the files go
// to, or nothing when it can; the identifiers name every file of the scenario.
std::optional<std::string> file_name_problem(const std::string& id) {
    if (id.empty()) return "is empty, and names no file";
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32) return "holds the control character " + std::to_string(byte) + ", which a file name cannot";
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return std::string("holds '") + c + "', which a file name cannot";
    }
    if (id.back() == '.' || id.back() == ' ')
        return std::string("ends with '") + id.back() + "', which a file name cannot";
    return std::nullopt;
}

}  // namespace

std::optional<check_failure> identify_inputs(const check_inputs& in, checked_compile& c) {
    // A missing input is named for what it is, not for its name's shape.
    for (const auto& input : {in.route, in.train})
        if (auto problem = input_problem(input)) return check_failure{EXIT_FAILURE_IO, utf8_path(input) + ": " + *problem};
    c.route_id = in.route_id, c.train_number = in.train_number;
    if (c.route_id.empty()) {
        auto derived = id_from_route_name(utf8_path(in.route.filename()));
        if (!derived)
            return check_failure{EXIT_USAGE, utf8_path(in.route.filename()) + " is not named ID_linea.txt; give --route-id"};
        c.route_id = *derived;
    }
    if (c.train_number.empty()) {
        auto derived = number_from_train_name(utf8_path(in.train.filename()), c.route_id);
        if (!derived)
            return check_failure{EXIT_USAGE, utf8_path(in.train.filename()) + " is not named " + c.route_id +
                                                 "_N-.txt; give --train-number"};
        c.train_number = *derived;
    }
    // The identifiers go into the compiled files as Windows-1252 text, whatever
    // the platform's own encoding of names and arguments.
    std::string problem;
    for (auto [utf8, target, what] : {std::tuple{&c.route_id, &c.m.nome_linea, "route identifier"},
                                      std::tuple{&c.train_number, &c.m.numero_treno, "train number"}}) {
        std::optional<std::string> cp1252, reason = file_name_problem(*utf8);
        if (!reason && !(cp1252 = cp1252_da_utf8(*utf8, problem))) reason = "cannot name the files: " + problem;
        if (reason) return check_failure{EXIT_USAGE, std::string("the ") + what + " '" + *utf8 + "' " + *reason};
        *target = *cp1252;
    }
    return std::nullopt;
}

std::optional<check_failure> compile_identified(const check_inputs& in, opzioni_compilazione options,
                                                checked_compile& c) {
    options.ingressi = {in.route, in.train, false, &c.texts};  // an author's files are never deleted
    try {
        c.texts.linea = read_file(in.route);
        c.texts.treno = read_file(in.train);
        c.esito = memorizza_percorso(c.m, in.no_geometry ? 0 : 1, options);
    } catch (const io_failure& e) {
        return check_failure{EXIT_FAILURE_IO, e.what()};
    }
    c.sources = {{c.m.registro.percorso_linea, c.texts.linea}, {c.m.registro.percorso_treno, c.texts.treno}};
    const fault_search faults = find_faults(c.m, c.esito, options, c.texts, in.error_limit);
    c.diagnostics = faults.errors;
    c.limit_reached = faults.limit_reached;
    const std::vector<diagnostic> warned = chosen_warnings(c.m, in.warnings);
    c.warnings = warned.size();
    c.diagnostics.insert(c.diagnostics.end(), warned.begin(), warned.end());
    sort_diagnostics(c.diagnostics, c.m.registro);
    return std::nullopt;
}

std::variant<checked_compile, check_failure> check_compile(const check_inputs& in) {
    checked_compile c;
    opzioni_compilazione options;
    options.scrittura = scrittura_compilati::mai;
    if (auto failure = identify_inputs(in, c)) return *failure;
    if (auto failure = compile_identified(in, options, c)) return *failure;
    return c;
}
