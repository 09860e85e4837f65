#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/colour.h"
#include "cli/command_table.h"
#include "cli/commands.h"
#include "compile/codici_errore.h"
#include "diagnostics/json_form.h"
#include "diagnostics/sarif_form.h"
#include "diagnostics/text_form.h"
#include "model/testo_1252.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "session/compile_session.h"

namespace {

// What the run tells the author: diagnostics on err, and in a machine format
// one summary on out.
struct summary {
    const compile_options& o;
    std::ostream& out;
    std::ostream& err;
    std::vector<diagnostic> diagnostics;
    compile_outcome outcome;
    source_files sources;

    // A failure of the run itself (usage, input, output): no scenario diagnostics,
    // one placeless diagnostic in the machine forms. The message may quote an
    // identifier as given, control characters and all.
    int fail(const failure& f) {
        const std::string message = failure_line("compile", f.message);
        err << printable(message) << '\n';
        if (o.format != "text") out << compile_failure_document(o.format, message) << std::endl;
        return f.status;
    }

    int finish(int status) {
        print_diagnostics(err, diagnostics, sources, use_colour(o.color));
        if (o.format == "json") out << diagnostics_json(diagnostics, sources, outcome) << std::endl;
        if (o.format == "sarif") out << diagnostics_sarif(diagnostics, sources, outcome) << std::endl;
        return status;
    }
};

}  // namespace

std::string compile_failure_document(const std::string& format, const std::string& message) {
    compile_outcome none;
    none.compiled = false;
    const std::vector<diagnostic> diagnostics = {failure_diagnostic(message)};
    return format == "sarif" ? diagnostics_sarif(diagnostics, {}, none) : diagnostics_json(diagnostics, {}, none);
}

int run_compile(const compile_options& o, std::ostream& out, std::ostream& err) {
    summary s{o, out, err, {}, {}, {}};
    const result<warning_choice> choice = choose_warnings(o.warnings);
    if (!choice) return s.fail(choice.error());
    const result<train_model> profile = load_train_profile(o.train_profile);
    if (!profile) return s.fail(profile.error());
    session_inputs in;
    in.route = o.route, in.train = o.train;
    in.route_id = o.route_id, in.train_number = o.train_number;
    in.no_geometry = o.no_geometry, in.error_limit = o.error_limit, in.warnings = *choice;
    in.warnings.train = *profile;
    result<session_compile> compiled = compile_and_write(in, {o.output, o.check, o.write_on_error});
    if (!compiled) return s.fail(compiled.error());
    const session_compile& c = *compiled;
    s.sources = c.sources;
    for (const std::string& w : c.esito.scritti) s.outcome.written.push_back(utf8_da_1252(w));
    s.outcome.error_code = numero(c.m.codice_errore);
    s.outcome.error_metres = c.m.metri_errore;
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
    const bool failed = c.m.codice_errore != codice::nessuno || !c.esito.griglia_allocata ||
                        c.warnings_as_errors > 0;
    return s.finish(failed ? EXIT_ERROR_STATE : EXIT_OK);
}

void add_compile_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<compile_options>();
    CLI::App* sub = add_command(app, "compile", "Compile a route text file and a train text file",
                                "scenario-compiler compile Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt -o out",
                                {{EXIT_OK}, {EXIT_ERROR_STATE}, {EXIT_USAGE}, {EXIT_FAILURE_IO}, {EXIT_RESERVED}});
    if (!sub) return;
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
        ->check(whole_number_from_zero(" (no limit)"))
        ->default_str("20");
    sub->add_option("-W", o->warnings,
                    "-Wname turns a warning on, -Wno-name off; -Wall adds the pedantic ones; -Werror makes "
                    "every warning an error, -Werror=name that one (and turns it on), -Wno-error=name keeps it a warning (see docs/format.md#warnings)")
        ->allow_extra_args(false);
    add_path_option(sub, "--train-profile", o->train_profile,
                    "A JSON file of train model values the timetable's warnings assume (see docs/train-model.md)");
    sub->callback([&chosen, o] { chosen = [o] { return run_compile(*o, std::cout, std::cerr); }; });
}
