#include "cli/command_line.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <memory>

#include "cli/command_table.h"
#include "diagnostics/nearest_name.h"
#include "diagnostics/text_form.h"
#include "platform/exit_status.h"
#include "platform/path_text.h"

std::string version_text() { return "scenario-compiler " SCENARIO_COMPILER_VERSION; }

namespace {

const std::string VERSION_FLAGS = "-V,--version";
// The last line of a usage error, as CLI11 ends its own.
const std::string MORE_HELP = "Run with --help for more information.\n";

// The words of the command line being parsed. A command none of them names is
// added bare, its name and description for the program's help: adding every
// command's options would take as long as the rest of the program's start-up.
std::vector<std::string> words_given;

// What each exit status means in the commands' help.
std::string exit_meaning(int status) {
    switch (status) {
        case EXIT_OK: return "ok";
        case EXIT_ERROR_STATE: return "the compile ended with a non-zero error state";
        case EXIT_USAGE: return "usage error";
        case EXIT_FAILURE_IO: return "a file could not be read or written";
        case EXIT_RESERVED: return "a reserved value already in use (numbered report)";
        default: return "";
    }
}

}  // namespace

CLI::App* add_command(CLI::App& app, const std::string& name, const std::string& description,
                      const std::string& example, std::initializer_list<exit_row> statuses) {
    CLI::App* sub = app.add_subcommand(name, description);
    sub->allow_windows_style_options(false);  // "/x/A_linea.txt" is a path, on Windows too
    if (std::find(words_given.begin(), words_given.end(), name) == words_given.end()) return nullptr;
    std::string listed;
    for (const exit_row& row : statuses)
        listed += "\n  " + std::to_string(row.status) + "  " + (row.meaning ? row.meaning : exit_meaning(row.status));
    sub->footer("Example:\n  " + example + "\n\nExit status:" + listed);
    sub->set_version_flag(VERSION_FLAGS, version_text(), "Print the version and exit");
    return sub;
}

CLI::Option* add_path_option(CLI::App* sub, const std::string& name, std::filesystem::path& target,
                             const std::string& description) {
    return sub->add_option_function<std::string>(
        name, [&target](const std::string& text) { target = path_from_utf8(text); }, description);
}

std::pair<CLI::Option*, CLI::Option*> add_text_inputs(CLI::App* sub, std::filesystem::path& route,
                                                      std::filesystem::path& train,
                                                      std::optional<std::string>& route_id,
                                                      std::optional<std::string>& train_number) {
    CLI::Option* r = add_path_option(sub, "ROUTE", route, "The route text file (ID_linea.txt)");
    CLI::Option* t = add_path_option(sub, "TRAIN", train, "The train text file (ID_N-.txt)");
    sub->add_option("--route-id", route_id, "Route identifier (default: from ROUTE's name)");
    sub->add_option("--train-number", train_number, "Train number (default: from TRAIN's name)");
    return {r, t};
}

CLI::Validator whole_number_from_zero(const std::string& zero) {
    const std::string refusal = "takes a whole number from 0" + zero + " up to " + std::to_string(INT32_MAX);
    return CLI::Validator(
        [refusal](std::string& text) {
            int32_t n = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            return ec == std::errc{} && end == text.data() + text.size() && n >= 0 ? std::string() : refusal;
        },
        "NONNEGATIVE");  // as CLI11's own check names it in the help
}

failure usage_error(const std::string& message) { return {EXIT_USAGE, message}; }

bool refuse_taken(const std::vector<std::filesystem::path>& paths, bool force, const std::string& command,
                  std::ostream& err) {
    bool taken = false;
    for (const std::filesystem::path& path : paths) {
        std::error_code ec;
        if (force || !std::filesystem::exists(std::filesystem::symlink_status(path, ec))) continue;
        err << "scenario-compiler " << command << ": " << utf8_path(path) << " already exists\n";
        taken = true;
    }
    if (taken) err << "scenario-compiler " << command << ": nothing written; give --force to overwrite\n";
    return taken;
}

std::string failure_line(const std::string& command, const std::string& message) {
    return "scenario-compiler " + command + ": " + message;
}

int print_failure(std::ostream& err, const std::string& command, const failure& f) {
    err << printable(failure_line(command, f.message)) << '\n';
    return f.status;
}

namespace {

// "did you mean" for the first argument that names no command, or no option
// of the command given; nothing when no known name is near it.
std::string hint(const CLI::App& app, int argc, char** argv) {
    std::vector<std::string> commands;
    for (const CLI::App* sub : app.get_subcommands({})) commands.push_back(sub->get_name());
    const CLI::App* command = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!command) {
            if (word.rfind('-', 0) == 0) continue;
            for (const CLI::App* sub : app.get_subcommands({}))
                if (sub->get_name() == word) command = sub;
            if (command) continue;
            std::string text = "scenario-compiler: unknown command '" + word + "'";
            if (const auto near = nearest_name(word, commands)) return text + "; did you mean '" + *near + "'?";
            text += " (the commands:";
            for (const std::string& c : commands) text += " " + c;
            return text + ")";
        }
        if (word.rfind("--", 0) != 0) continue;
        const std::string name = word.substr(0, word.find('='));
        std::vector<std::string> options;
        for (const CLI::Option* o : command->get_options())
            for (const std::string& l : o->get_lnames()) options.push_back("--" + l);
        if (std::find(options.begin(), options.end(), name) != options.end()) continue;
        const auto near = nearest_name(name, options);
        return near ? "scenario-compiler " + command->get_name() + ": unknown option '" + name + "'; did you mean '" +
                          *near + "'?"
                    : "";
    }
    return "";
}

// The commands with a machine form on stdout, and the document each prints for a
// failure before it has an answer of its own.
struct machine_command {
    const char* name;
    bool format_option;  // --format=json|sarif as well as --json
    std::string (*document)(const std::string& form, const std::string& message);
};
const machine_command MACHINE_COMMANDS[] = {
    {"compile", true, compile_failure_document},
    {"inspect", false, [](const std::string&, const std::string& m) { return inspect_failure_document({}, {}, m); }},
    {"errors", false, [](const std::string&, const std::string& m) { return errors_failure_document(m); }},
};

// The command given and the machine form its arguments ask for ("json" or
// "sarif"), read from the words themselves, since parsing them may have failed;
// nullptr when there is no such command or it was not asked for.
std::pair<const machine_command*, std::string> machine_form(int argc, char** argv) {
    const machine_command* command = nullptr;
    int i = 1;
    for (; i < argc && !command; ++i) {
        const std::string word = argv[i];
        if (word.rfind('-', 0) == 0) continue;
        for (const machine_command& c : MACHINE_COMMANDS)
            if (word == c.name) command = &c;
        if (!command) return {nullptr, ""};  // the first word naming no command with a machine form
    }
    std::string form;
    bool json = false;  // --json, which wins over any --format, as its callback runs after the options
    for (; command && i < argc; ++i) {
        const std::string word = argv[i];
        json = json || word == "--json";
        if (!command->format_option) continue;
        std::optional<std::string> value;
        if (word.rfind("--format=", 0) == 0) value = word.substr(9);
        else if (word == "--format" && i + 1 < argc) value = argv[i + 1];
        if (value == "json" || value == "sarif") form = *value;
        if (value == "text") form.clear();
    }
    if (json) form = "json";
    return {form.empty() ? nullptr : command, form};
}

// `help [COMMAND]`: the program's help, or the command's, as --help prints it.
void add_help_command(CLI::App& app, command_action& chosen) {
    std::vector<std::string> names;
    for (const CLI::App* sub : app.get_subcommands({})) names.push_back(sub->get_name());
    auto command = std::make_shared<std::string>();
    CLI::App* sub = add_command(app, "help", "Print the program's help, or a command's", "scenario-compiler help compile",
                                {{EXIT_OK}, {EXIT_USAGE}});
    if (!sub) return;
    sub->add_option("COMMAND", *command, "The command whose help to print")->check(CLI::IsMember(names));
    sub->callback([&app, &chosen, command] {
        chosen = [&app, command] {
            // The formatter itself: the app's own help() would show the help of `help`, the command chosen.
            const CLI::App* shown = command->empty() ? &app : app.get_subcommand(*command);
            const std::string name = command->empty() ? app.get_name() : app.get_name() + " " + *command;
            std::cout << app.get_formatter()->make_help(shown, name, CLI::AppFormatMode::Normal);
            return EXIT_OK;
        };
    });
}

}  // namespace

int run_command_line(int argc, char** argv) {
    CLI::App app{"Compiles a train-driving simulator's scenario (a route text file and a train text file) into "
                 "the binary files the simulator loads. Without arguments: the fixed run of the carried scenario.",
                 "scenario-compiler"};
    app.allow_windows_style_options(false);  // CLI11's default on Windows would take "/x" for an option
    app.set_version_flag(VERSION_FLAGS, version_text(), "Print the version and exit");
    app.require_subcommand(1);
    words_given.assign(argv + 1, argv + argc);
    command_action chosen;
    add_compile_command(app, chosen);
    add_export_command(app, chosen);
    add_documents_command(app, chosen);
    add_inspect_command(app, chosen);
    add_errors_command(app, chosen);
    add_plot_command(app, chosen);
    add_serve_command(app, chosen);
    add_lsp_command(app, chosen);
    add_timetable_command(app, chosen);
    add_help_command(app, chosen);
    // A run asked for a machine form answers in it on stdout whatever happens,
    // its arguments refused or the run failing.
    const auto [machine, form] = machine_form(argc, argv);
    const auto answer = [&, machine = machine, form = form](const std::string& message) {
        if (machine) std::cout << machine->document(form, message) << std::endl;
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // A mistyped name gets its own message, with the name it was near.
        if (e.get_exit_code() != 0)
            if (const std::string h = hint(app, argc, argv); !h.empty()) {
                std::cerr << h << '\n' << MORE_HELP;
                answer(h);
                return EXIT_USAGE;
            }
        // --help and --version are answers in text, not failures.
        if (e.get_exit_code() != 0 && machine) answer(failure_line(machine->name, e.what()));
        // A missing argument is shown with the usage line of the command it is missing from.
        if (dynamic_cast<const CLI::RequiredError*>(&e)) {
            const CLI::App* command = &app;
            std::string name = app.get_name();
            while (!command->get_subcommands().empty()) {
                command = command->get_subcommands().front();
                name += " " + command->get_name();
            }
            const std::string help = command->get_formatter()->make_help(command, name, CLI::AppFormatMode::Normal);
            const size_t usage = help.find("Usage:");
            std::cerr << e.what() << '\n' << help.substr(usage, help.find('\n', usage) + 1 - usage) << MORE_HELP;
            return EXIT_USAGE;
        }
        const int code = app.exit(e, std::cout, std::cerr);
        return code == 0 ? EXIT_OK : EXIT_USAGE;
    }
    if (!chosen) return EXIT_USAGE;
    try {
        return chosen();
    } catch (const std::exception& e) {
        answer(failure_line(machine ? machine->name : "", e.what()));
        throw;  // the program's edge says it on stderr and ends with its status
    }
}
