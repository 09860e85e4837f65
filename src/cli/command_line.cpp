#include "cli/command_line.h"

#include <iostream>

#include "cli/commands.h"
#include "platform/exit_status.h"
#include "platform/path_text.h"

std::string version_text() { return "scenario-compiler " SCENARIO_COMPILER_VERSION; }

CLI::App* add_command(CLI::App& app, const std::string& name, const std::string& description) {
    CLI::App* sub = app.add_subcommand(name, description);
    sub->set_version_flag("--version", version_text(), "Print the version and exit");
    return sub;
}

CLI::Option* add_path_option(CLI::App* sub, const std::string& name, std::filesystem::path& target,
                             const std::string& description) {
    return sub->add_option_function<std::string>(
        name, [&target](const std::string& text) { target = path_from_utf8(text); }, description);
}

int run_command_line(int argc, char** argv) {
    CLI::App app{"Compiles a train-driving simulator's scenario (a route text file and a train text file) into "
                 "the binary files the simulator loads. Without arguments: the fixed run of the carried scenario.",
                 "scenario-compiler"};
    app.set_version_flag("--version", version_text(), "Print the version and exit");
    app.require_subcommand(1);
    command_action chosen;
    add_compile_command(app, chosen);
    add_export_command(app, chosen);
    add_inspect_command(app, chosen);
    add_errors_command(app, chosen);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, std::cout, std::cerr);
        return code == 0 ? EXIT_OK : EXIT_USAGE;
    }
    return chosen ? chosen() : EXIT_USAGE;
}
