#pragma once
// The command table: each command adds its subcommand; once the subcommand is
// parsed, its action is stored in `chosen` and run after parsing has succeeded.
#include <filesystem>
#include <functional>
#include <optional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "platform/failure.h"
#include "running/timetable.h"
#include "running/train_model.h"

using command_action = std::function<int()>;

// "scenario-compiler VERSION", for --version on every command.
std::string version_text();
// One exit status a command's help lists; without a meaning of its own, the one
// every command gives it.
struct exit_row {
    int status;
    const char* meaning = nullptr;
};
// A subcommand with the common flags (--help comes with every CLI11 app); its
// help ends with the example given and the exit statuses it returns. Nullptr
// when no word of the command line names it: it is added bare, listed in the
// program's help, and its caller adds nothing to it.
CLI::App* add_command(CLI::App& app, const std::string& name, const std::string& description,
                      const std::string& example, std::initializer_list<exit_row> statuses);

// An option or positional naming a file or folder: the arguments are UTF-8 on
// every platform, and Windows paths are wide.
CLI::Option* add_path_option(CLI::App* sub, const std::string& name, std::filesystem::path& target,
                             const std::string& description);

// ROUTE and TRAIN, the text files, and --route-id and --train-number, which
// default to their names; returns the two positionals.
std::pair<CLI::Option*, CLI::Option*> add_text_inputs(CLI::App* sub, std::filesystem::path& route,
                                                      std::filesystem::path& train,
                                                      std::optional<std::string>& route_id,
                                                      std::optional<std::string>& train_number);

// A whole number from 0 to INT32_MAX, refused in a few words ("takes a whole number from 0
// up"), `zero` saying what 0 means, if anything.
CLI::Validator whole_number_from_zero(const std::string& zero = "");

// The train model of a profile file (JSON), the default one for no file; an
// unreadable file is an input failure, a wrong value a usage one.
result<train_model> load_train_profile(const std::filesystem::path& file);

struct running_choice;

// The options of a running_choice: --train-profile, --stops, --stop and --pass.
void add_running_options(CLI::App* sub, running_choice& o);
// The train and the stops a running_choice names, station names as the records
// hold them; a name that is no timed station's of `stations` is a usage failure.
struct chosen_running {
    train_model train;
    stop_choice stops;
};
result<chosen_running> running_of(const running_choice& o);
maybe_failure unknown_stations(const stop_choice& stops, const std::vector<timed_station>& stations);

// "scenario-compiler COMMAND: MESSAGE": how a failure of the run is said, on stderr and in the machine forms.
std::string failure_line(const std::string& command, const std::string& message);
// Prints a failure's line (control characters shown as '?') and returns its exit status.
int print_failure(std::ostream& err, const std::string& command, const failure& f);
// Files a command is about to write that are already there, unless `force`: each
// is named on err, then that nothing is written; true when there was any.
bool refuse_taken(const std::vector<std::filesystem::path>& paths, bool force, const std::string& command,
                  std::ostream& err);
// A usage failure (exit status 2) saying `message`.
failure usage_error(const std::string& message);

// The one document a run in a machine form prints on stdout when it fails without
// an answer of its own (usage, a file, a run-time failure), saying `message`.
// compile: its summary (JSON or SARIF, as `format` says) with one diagnostic
// without code or place and no error state.
std::string compile_failure_document(const std::string& format, const std::string& message);
// inspect: {"error": {"message"}, "file", "kind"}, file and kind null where not known.
std::string inspect_failure_document(const std::optional<std::string>& file, const std::optional<std::string>& kind,
                                     const std::string& message);
// errors: {"error": {"message"}}.
std::string errors_failure_document(const std::string& message);

void add_inspect_command(CLI::App& app, command_action& chosen);
void add_compile_command(CLI::App& app, command_action& chosen);
void add_export_command(CLI::App& app, command_action& chosen);
void add_documents_command(CLI::App& app, command_action& chosen);
void add_errors_command(CLI::App& app, command_action& chosen);
void add_plot_command(CLI::App& app, command_action& chosen);
void add_serve_command(CLI::App& app, command_action& chosen);
void add_lsp_command(CLI::App& app, command_action& chosen);
void add_timetable_command(CLI::App& app, command_action& chosen);
