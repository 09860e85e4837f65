#include <exception>
#include <iostream>

#include "app/form_load.h"
#include "cli/command_line.h"
#include "platform/app_directory.h"
#include "platform/entry.h"
#include "platform/exit_status.h"
#include "platform/run_time_report.h"
#include "platform/wait_window.h"

namespace {

// The window lives until the run's last report has been dismissed.
struct fine_finestra {
    ~fine_finestra() { close_wait_window(); }
};

}  // namespace

int program(int argc, char** argv) {
    // With arguments the program is the author's command line; without, the fixed run.
    if (argc > 1) {
        try {
            return run_command_line(argc, argv);
        } catch (const std::exception& e) {
            std::cerr << "scenario-compiler: " << e.what() << '\n';
            return EXIT_FAILURE_IO;
        }
    }
    fine_finestra finestra;
    try {
        Form1 form;
        return Form_Load(form, app_directory(), std::cerr);
    } catch (const std::exception& e) {
        report_run_time_failure(e.what(), std::cerr);
        return EXIT_FAILURE_IO;
    }
}
