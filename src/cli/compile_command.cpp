#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/check_compile.h"
#include "cli/commands.h"
#include "cli/compile.h"
#include "cli/diagnostics.h"
#include "cli/input_files.h"
#include "compile/codici_errore.h"
#include "compile/file_compilati.h"
#include "compile/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/errore.h"
#include "platform/file_ops.h"
#include "platform/exit_status.h"
#include "platform/path_text.h"

namespace {

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
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

}  // namespace

int run_compile(const compile_options& o, std::ostream& out, std::ostream& err) {
    summary s{o, out, err, {}, {}, {}};
    const std::string command = "scenario-compiler compile: ";
    const auto choice = choose_warnings(o.warnings);
    if (const auto* problem = std::get_if<std::string>(&choice)) return s.fail(EXIT_USAGE, command + *problem);
    const check_inputs in{o.route, o.train, o.route_id, o.train_number, o.no_geometry, o.error_limit,
                          std::get<warning_choice>(choice)};
    checked_compile c;
    if (auto failure = identify_inputs(in, c)) return s.fail(failure->status, command + failure->message);
    const modello& m = c.m;
    for (const std::string& name : {nome_file_linea(m), nome_file_voci(m), nome_file_celle(m)})
        for (const auto& input : {o.route, o.train})
            if (same_file(percorso_file(o.output, name), input))
                return s.fail(EXIT_USAGE, command + "the output " + utf8_da_1252(name) + " would overwrite the input " +
                                              utf8_path(input));
    // --check writes nothing, not even the folder.
    if (auto unusable = output_problem(o.output, !o.check))
        return s.fail(EXIT_FAILURE_IO, command + utf8_path(o.output) + ": " + *unusable);

    opzioni_compilazione opzioni;
    opzioni.cartella = o.output;
    opzioni.scrittura = o.check            ? scrittura_compilati::mai
                        : o.write_on_error ? scrittura_compilati::sempre
                                           : scrittura_compilati::senza_errori;
    // Warnings taken as errors keep the files from being written, like any error.
    if (in.warnings.as_errors)
        opzioni.consenti_scrittura = [&in](const modello& compiled) {
            return chosen_warnings(compiled, in.warnings).empty();
        };
    if (auto failure = compile_identified(in, opzioni, c)) return s.fail(failure->status, command + failure->message);
    s.sources = c.sources;
    for (const std::string& w : c.esito.scritti) s.outcome.written.push_back(utf8_da_1252(w));
    s.outcome.error_code = numero(m.codice_errore);
    s.outcome.error_metres = m.metri_errore;
    s.diagnostics = c.diagnostics;
    if (c.limit_reached)
        err << "scenario-compiler compile: stopped after " << o.error_limit
            << " errors; --error-limit 0 shows them all\n";
    if (c.esito.rapporto != codice::nessuno) {
        // The faults recorded before the report are still the author's to fix.
        s.outcome.report = std::to_string(numero(c.esito.rapporto));
        const int status = s.finish(EXIT_RESERVED);
        err << testo_errore(*s.outcome.report) << '\n';
        return status;
    }
    const bool failed = m.codice_errore != codice::nessuno || !c.esito.griglia_allocata ||
                        (in.warnings.as_errors && c.warnings > 0);
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
