#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/inspect.h"

void add_inspect_command(CLI::App& app, command_action& chosen) {
    auto options = std::make_shared<inspect_options>();
    CLI::App* sub = add_command(app, "inspect",
                                "Decode a compiled file (route .dat, scenario .sim or cell .dat) into readable text",
                                "scenario-compiler inspect Lidonia_Sabrio_914.dat --cells 32-34");
    add_path_option(sub, "FILE", options->file, "The compiled file")->required();
    sub->add_option("--kind", options->kind, "route, scenario or cells (default: from the file's name)")
        ->check(CLI::IsMember({"route", "scenario", "cells"}));
    sub->add_flag("--json", options->json, "Print one JSON object instead of text");
    sub->add_option("--cells", options->cells, "Cell indices FROM-TO to list in full (cell files)");
    sub->add_option("--points", options->points, "Metres FROM-TO whose raw points to list (route files)");
    sub->callback([&chosen, options] { chosen = [options] { return run_inspect(*options, std::cout, std::cerr); }; });
}
