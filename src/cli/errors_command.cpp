#include <iostream>

#include "cli/commands.h"
#include "compile/codici_errore.h"
#include "platform/exit_status.h"

void add_errors_command(CLI::App& app, command_action& chosen) {
    CLI::App* sub = add_command(app, "errors", "List every error code with its meaning and what the reader does next");
    sub->callback([&chosen] {
        chosen = [] {
            for (const voce_errore& e : tabella_errori())
                std::cout << "error " << e.numero << ": " << e.significato << "\n    recorded by: " << e.chi
                          << "\n    position: " << e.posizione << "\n    next: " << e.seguito << "\n";
            return static_cast<int>(EXIT_OK);
        };
    });
}
