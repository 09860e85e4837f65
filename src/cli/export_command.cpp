#include <iostream>
#include <memory>
#include <vector>

#include "app/scenario_trasportato.h"
#include "cli/command_table.h"
#include "cli/commands.h"
#include "model/nomi_file.h"
#include "platform/exit_status.h"
#include "platform/input_files.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

int run_export(const export_options& o, std::ostream&, std::ostream& err) {
    if (auto f = check_output_folder(o.directory)) return print_failure(err, "export", *f);
    // The carried scenario's own identifiers name the files, as in the fixed run.
    modello m;
    identifica_scenario(m);
    // An author's edited copy is not lost to a second export: all or nothing.
    std::vector<std::filesystem::path> paths;
    for (const scrittore_scenario& s : scrittori_scenario()) paths.push_back(percorso_file(o.directory, s.nome_file(m)));
    if (refuse_taken(paths, o.force, "export", err)) return EXIT_USAGE;
    // The carried scenario is written by the core, which throws io_failure when it cannot.
    try {
        for (const scrittore_scenario& s : scrittori_scenario()) s.scrivi(o.directory, m);
    } catch (const io_failure& e) {
        return print_failure(err, "export", {EXIT_FAILURE_IO, e.what()});
    }
    return EXIT_OK;
}

void add_export_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<export_options>();
    CLI::App* sub = add_command(app, "export",
                                "Write the carried scenario's two text files and three documents into DIR",
                                "scenario-compiler export my-route",
                                {{EXIT_OK}, {EXIT_USAGE}, {EXIT_FAILURE_IO}});
    if (!sub) return;
    add_path_option(sub, "DIR", o->directory, "The folder, created when it does not exist")->required();
    sub->add_flag("--force", o->force, "Overwrite files already in DIR");
    sub->callback([&chosen, o] { chosen = [o] { return run_export(*o, std::cout, std::cerr); }; });
}
