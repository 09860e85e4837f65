#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "content/dati_linea.h"
#include "content/dati_treno.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"

namespace {

int run_export(const std::filesystem::path& directory) {
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        std::cerr << "scenario-compiler export: " << directory.string() << ": not a directory\n";
        return EXIT_FAILURE_IO;
    }
    // The carried scenario's own identifiers name the files, as in the fixed run.
    modello m;
    m.nome_linea = "Lidonia_Sabrio";
    m.numero_treno = "914";
    try {
        dati_linea(directory, m);
        dati_treno(directory, m);
        dati_note(directory, m);
        dati_rallentamenti(directory, m);
        dati_scheda(directory, m);
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
    sub->add_option("DIR", *directory, "An existing directory")->required();
    sub->callback([&chosen, directory] { chosen = [directory] { return run_export(*directory); }; });
}
