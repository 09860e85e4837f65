#include <exception>
#include <iostream>

#include "app/form_load.h"
#include "cli/command_line.h"
#include "platform/app_directory.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"

int main(int argc, char** argv) {
    try {
        // With arguments the program is the author's command line; without, the fixed run.
        if (argc > 1) return run_command_line(argc, argv);
        Form1 form;
        return Form_Load(form, app_directory(), std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "scenario-compiler: " << e.what() << '\n';
        return EXIT_FAILURE_IO;
    }
}
