#include <exception>
#include <iostream>

#include "app/form_load.h"
#include "platform/app_directory.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"
#include "platform/process_end.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        std::cerr << "usage: " << argv[0] << "   (no arguments: performs the fixed run)\n";
        return EXIT_USAGE;
    }
    try {
        Form1 form;
        return Form_Load(form, app_directory(), std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "scenario-compiler: " << e.what() << '\n';
        return EXIT_FAILURE_IO;
    }
}
