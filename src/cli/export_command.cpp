#include <iostream>
#include <memory>

#include "app/scenario_trasportato.h"
#include "cli/commands.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

namespace {

int run_export(const std::filesystem::path& directory) {
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        std::cerr << "scenario-compiler export: " << utf8_path(directory) << ": not a directory\n";
        return EXIT_FAILURE_IO;
    }
    // The carried scenario's own identifiers name the files, as in the fixed run.
    modello m;
    identifica_scenario(m);
    try {
        for (const scrittore_scenario& s : scrittori_scenario()) s.scrivi(directory, m);
    } catch (const io_failure& e) {
        std::cerr << "scenario-compiler export: " << e.what() << '\n';
        return EXIT_FAILURE_IO;
    }
    return EXIT_OK;
}

}  // namespace

void add_export_command(CLI::App& app, command_action& chosen) {
    auto directory = std::make_shared<std::filesystem::path>();
    CLI::App* sub = add_command(app, "export",
                                "Write the carried scenario's two text files and three documents into DIR");
    add_path_option(sub, "DIR", *directory, "An existing directory")->required();
    sub->callback([&chosen, directory] { chosen = [directory] { return run_export(*directory); }; });
}
