#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <set>
#include <tuple>
#include <variant>
#include <vector>

#include "cli/commands.h"
#include "cli/compile.h"
#include "cli/diagnostics.h"
#include "cli/fault_diagnostics.h"
#include "cli/input_files.h"
#include "cli/nearest_name.h"
#include "cli/warnings.h"
#include "compile/codici_errore.h"
#include "compile/file_compilati.h"
#include "compile/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/errore.h"
#include "platform/file_ops.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

namespace {

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

// The warnings asked for: the default set, then each -W flag in order.
struct warning_choice {
    std::set<std::string> on;
    bool as_errors = false;
};

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

// What the run tells the author: diagnostics on err, and in a machine format
// one summary on out.
struct summary {
    const compile_options& o;
    std::ostream& out;
    std::ostream& err;
    std::vector<diagnostic> diagnostics;
    compile_outcome outcome;
    source_texts sources;

    // A failure of the run itself (usage, input, output): no scenario diagnostics.
    // The message may quote an identifier as given, control characters and all.
    int fail(int status, const std::string& message) {
        err << printable(message) << '\n';
        diagnostic d;
        d.message = message;
        diagnostics = {d};
        return finish(status, false);
    }

    int finish(int status, bool print = true) {
        if (print) print_diagnostics(err, diagnostics, sources, use_colour(o.color));
        if (o.format == "json") out << diagnostics_json(diagnostics, outcome) << std::endl;
        if (o.format == "sarif") out << diagnostics_sarif(diagnostics, outcome) << std::endl;
        return status;
    }
};

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

int run_compile(const compile_options& o, std::ostream& out, std::ostream& err) {
    summary s{o, out, err, {}, {}, {}};
    const auto choice = choose_warnings(o.warnings);
    if (const auto* problem = std::get_if<std::string>(&choice))
        return s.fail(EXIT_USAGE, "scenario-compiler compile: " + *problem);
    const warning_choice& warnings = std::get<warning_choice>(choice);
    // A missing input is named for what it is, not for its name's shape.
    for (const auto& input : {o.route, o.train})
        if (auto problem = input_problem(input))
            return s.fail(EXIT_FAILURE_IO, "scenario-compiler compile: " + utf8_path(input) + ": " + *problem);
    std::string id = o.route_id, number = o.train_number;
    if (id.empty()) {
        auto derived = id_from_route_name(utf8_path(o.route.filename()));
        if (!derived)
            return s.fail(EXIT_USAGE, "scenario-compiler compile: " + utf8_path(o.route.filename()) +
                                            " is not named ID_linea.txt; give --route-id");
        id = *derived;
    }
    if (number.empty()) {
        auto derived = number_from_train_name(utf8_path(o.train.filename()), id);
        if (!derived)
            return s.fail(EXIT_USAGE, "scenario-compiler compile: " + utf8_path(o.train.filename()) +
                                            " is not named " + id + "_N-.txt; give --train-number");
        number = *derived;
    }
    // The identifiers go into the compiled files as Windows-1252 text, whatever
    // the platform's own encoding of names and arguments.
    modello m;
    std::string problem;
    for (auto [utf8, target, what] : {std::tuple{&id, &m.nome_linea, "route identifier"},
                                      std::tuple{&number, &m.numero_treno, "train number"}}) {
        std::optional<std::string> cp1252, reason = file_name_problem(*utf8);
        if (!reason && !(cp1252 = cp1252_da_utf8(*utf8, problem))) reason = "cannot name the files: " + problem;
        if (reason)
            return s.fail(EXIT_USAGE, std::string("scenario-compiler compile: the ") + what + " '" + *utf8 +
                                            "' " + *reason);
        *target = *cp1252;
    }
    for (const std::string& name : {nome_file_linea(m), nome_file_voci(m), nome_file_celle(m)})
        for (const auto& input : {o.route, o.train})
            if (same_file(percorso_file(o.output, name), input))
                return s.fail(EXIT_USAGE, "scenario-compiler compile: the output " + utf8_da_1252(name) +
                                                " would overwrite the input " + utf8_path(input));
    // --check writes nothing, not even the folder.
    if (auto unusable = output_problem(o.output, !o.check))
        return s.fail(EXIT_FAILURE_IO, "scenario-compiler compile: " + utf8_path(o.output) + ": " + *unusable);

    testi_lettore texts;
    opzioni_compilazione opzioni;
    opzioni.ingressi = {o.route, o.train, false, &texts};  // an author's files are never deleted
    opzioni.cartella = o.output;
    opzioni.scrittura = o.check            ? scrittura_compilati::mai
                        : o.write_on_error ? scrittura_compilati::sempre
                                           : scrittura_compilati::senza_errori;
    // Warnings taken as errors keep the files from being written, like any error.
    if (warnings.as_errors)
        opzioni.consenti_scrittura = [&](const modello& compiled) { return chosen_warnings(compiled, warnings).empty(); };
    esito_compilazione esito;
    try {
        texts.linea = read_file(o.route);
        texts.treno = read_file(o.train);
        esito = memorizza_percorso(m, o.no_geometry ? 0 : 1, opzioni);
    } catch (const io_failure& e) {
        return s.fail(EXIT_FAILURE_IO, std::string("scenario-compiler compile: ") + e.what());
    }
    s.sources = {{m.registro.percorso_linea, texts.linea}, {m.registro.percorso_treno, texts.treno}};
    for (const std::string& w : esito.scritti) s.outcome.written.push_back(utf8_da_1252(w));
    s.outcome.error_code = numero(m.codice_errore);
    s.outcome.error_metres = m.metri_errore;

    const fault_search faults = find_faults(m, esito, opzioni, texts, o.error_limit);
    s.diagnostics = faults.errors;
    const std::vector<diagnostic> warned = chosen_warnings(m, warnings);
    s.diagnostics.insert(s.diagnostics.end(), warned.begin(), warned.end());
    sort_diagnostics(s.diagnostics, m.registro);
    if (faults.limit_reached)
        err << "scenario-compiler compile: stopped after " << o.error_limit
            << " errors; --error-limit 0 shows them all\n";
    if (esito.rapporto != codice::nessuno) {
        // The faults recorded before the report are still the author's to fix.
        s.outcome.report = std::to_string(numero(esito.rapporto));
        const int status = s.finish(EXIT_RESERVED);
        err << testo_errore(*s.outcome.report) << '\n';
        return status;
    }
    const bool failed = m.codice_errore != codice::nessuno || !esito.griglia_allocata ||
                        (warnings.as_errors && !warned.empty());
    return s.finish(failed ? EXIT_ERROR_STATE : EXIT_OK);
}


void add_compile_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<compile_options>();
    CLI::App* sub = add_command(app, "compile", "Compile a route text file and a train text file",
                                "scenario-compiler compile Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt -o out");
    add_path_option(sub, "ROUTE", o->route, "The route text file (ID_linea.txt)")->required();
    add_path_option(sub, "TRAIN", o->train, "The train text file (ID_N-.txt)")->required();
    add_path_option(sub, "-o,--output", o->output,
                    "Output directory, created when it does not exist (default: the current directory)");
    sub->add_option("--route-id", o->route_id, "Route identifier (default: from ROUTE's name)");
    sub->add_option("--train-number", o->train_number, "Train number (default: from TRAIN's name)");
    sub->add_flag("--no-geometry", o->no_geometry, "Build no geometry and write no route file");
    CLI::Option* check = sub->add_flag("--check", o->check, "Do everything but write the compiled files");
    sub->add_flag("--write-on-error", o->write_on_error,
                  "Write the compiled files even when the error state is not 0 (never after a numbered report)")
        ->excludes(check);
    sub->add_option("--format", o->format, "Also print the diagnostics on stdout as JSON or SARIF 2.1.0")
        ->check(CLI::IsMember({"text", "json", "sarif"}))
        ->default_str("text");
    sub->add_flag_callback("--json", [o] { o->format = "json"; }, "The same as --format=json");
    sub->add_option("--color", o->color, "Colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->default_str("auto");
    sub->add_option("--error-limit", o->error_limit, "Stop after N errors (0: no limit)")
        ->check(CLI::NonNegativeNumber)
        ->default_str("20");
    sub->add_option("-W", o->warnings,
                    "-Wname turns a warning on, -Wno-name off; -Wall adds the pedantic ones; -Werror makes "
                    "every warning an error (see docs/format.md#warnings)")
        ->allow_extra_args(false);
    sub->callback([&chosen, o] { chosen = [o] { return run_compile(*o, std::cout, std::cerr); }; });
}
