#include <cmath>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/colour.h"
#include "cli/command_table.h"
#include "cli/commands.h"
#include "diagnostics/text_form.h"
#include "documents/documenti_autore.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "running/timetable.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/input_files.h"
#include "platform/path_text.h"
#include "session/compile_session.h"

namespace {

const char* const COMMAND = "documents";

// What the train's running times add to the card: each timed station's margin,
// on its record's row, and the train's top speed and braked-mass cap. Speeds are
// cut to whole km/h downward, so that the card never allows more than the train.
dati_marcia marcia_del_treno(const modello& m, const timetable_figures& f) {
    dati_marcia marcia;
    size_t stazioni = 0;
    for (const riga_letta& r : m.registro.righe) stazioni += r.genere == genere_riga::stazione;
    marcia.recupero_s.resize(stazioni);
    for (size_t k = 1; k < f.stations.size(); ++k) {
        const size_t riga = static_cast<size_t>(f.stations[k].number) - 1;
        if (riga < marcia.recupero_s.size()) marcia.recupero_s[riga] = margin_of(f.sections[k]);
    }
    marcia.velocita_massima = static_cast<int32_t>(std::floor(f.train.top_speed_kmh));
    marcia.limite_massa_frenata = static_cast<int32_t>(std::floor(f.train.braking_cap_kmh));
    return marcia;
}

}  // namespace

int run_documents(const documents_options& o, std::ostream&, std::ostream& err) {
    std::string notes;
    if (!o.notes.empty()) {
        result<std::string> read = read_input_file(o.notes);
        if (!read) return print_failure(err, COMMAND, read.error());
        notes = std::move(*read);
        // Most editors save UTF-8 today: such a text is taken into the sheet's code page.
        if (notes.starts_with("\xEF\xBB\xBF")) notes.erase(0, 3);
        if (sembra_utf8(notes))
            if (result<std::string> cp1252 = cp1252_da_utf8(notes)) notes = std::move(*cp1252);
    }
    const result<chosen_running> running = running_of(o);
    if (!running) return print_failure(err, COMMAND, running.error());
    session_inputs in;
    in.route = o.route, in.train = o.train;
    in.route_id = o.route_id, in.train_number = o.train_number;
    in.warnings.train = running->train;
    result<session_compile> compiled = compile_in_memory(in);
    if (!compiled) return print_failure(err, COMMAND, compiled.error());
    const session_compile& c = *compiled;
    print_diagnostics(err, c.diagnostics, c.sources, use_colour(o.color));
    if (c.esito.rapporto != codice::nessuno) {
        err << testo_errore(std::to_string(numero(c.esito.rapporto))) << '\n';
        return EXIT_RESERVED;
    }
    if (c.m.codice_errore != codice::nessuno || !c.esito.griglia_allocata) {
        err << "scenario-compiler documents: the scenario has an error; nothing written\n";
        return EXIT_ERROR_STATE;
    }

    const timetable_figures figures = timetable_of(c.m, running->train, running->stops);
    if (auto unknown = unknown_stations(running->stops, figures.stations)) return print_failure(err, COMMAND, *unknown);
    const std::vector<file_to_write> files = {
        {percorso_file(o.output, nome_scheda_treno(c.m)), testo_tabella(scheda_autore(c.m, marcia_del_treno(c.m, figures)))},
        {percorso_file(o.output, nome_rallentamenti(c.m)), testo_tabella(ordine_autore(c.m))},
        {percorso_file(o.output, nome_note(c.m)), testo_tabella(note_autore(c.m, notes))},
    };
    // The scenario's own files are never written over, --force or not.
    std::error_code ec;
    for (const file_to_write& f : files)
        for (const std::filesystem::path& input : {o.route, o.train, o.notes})
            if (!input.empty() && std::filesystem::equivalent(f.path, input, ec))
                return print_failure(err, COMMAND,
                                     usage_error("the output " + utf8_path(f.path.filename()) +
                                                 " would overwrite the input " + utf8_path(input)));
    if (auto f = check_output_folder(o.output)) return print_failure(err, COMMAND, *f);
    // All three or none, and an author's edited papers are not lost unasked.
    std::vector<std::filesystem::path> paths;
    for (const file_to_write& f : files) paths.push_back(f.path);
    if (refuse_taken(paths, o.force, COMMAND, err)) return EXIT_USAGE;
    if (auto f = write_output_files(files)) return print_failure(err, COMMAND, *f);
    return EXIT_OK;
}

void add_documents_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<documents_options>();
    CLI::App* sub = add_command(
        app, COMMAND, "Write the driver's timetable card, slowdown order and notes sheet for a scenario",
        "scenario-compiler documents Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt -o papers",
        {{EXIT_OK}, {EXIT_ERROR_STATE, "the scenario has an error: nothing written"}, {EXIT_USAGE}, {EXIT_FAILURE_IO},
         {EXIT_RESERVED}});
    if (!sub) return;
    auto [route, train] = add_text_inputs(sub, o->route, o->train, o->route_id, o->train_number);
    route->required(), train->required();
    add_running_options(sub, *o);
    add_path_option(sub, "-o,--output", o->output,
                    "Output directory, created when it does not exist (default: the current directory)");
    add_path_option(sub, "--notes", o->notes,
                    "A text file (Windows-1252) whose lines close the notes sheet, wrapped at 78 characters");
    sub->add_flag("--force", o->force, "Overwrite documents already in the output directory");
    sub->add_option("--color", o->color, "Colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->default_str("auto");
    sub->callback([&chosen, o] { chosen = [o] { return run_documents(*o, std::cout, std::cerr); }; });
}
