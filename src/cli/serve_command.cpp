#include <iostream>
#include <memory>

#include "cli/colour.h"
#include "cli/command_table.h"
#include "cli/commands.h"
#include "diagnostics/text_form.h"
#include "platform/exit_status.h"
#include "platform/open_browser.h"
#include "session/compile_session.h"
#include "viewer/live_loop.h"

namespace {

const std::string SERVE_PREFIX = "scenario-compiler serve: ";

// One line for each compile, after its diagnostics.
void report(std::ostream& err, const live_compile& live) {
    print_diagnostics(err, live.diagnostics(), live.sources(), use_colour("auto"));
    if (!live.failure_message().empty()) err << SERVE_PREFIX << printable(live.failure_message()) << '\n';
    else if (live.error_code() != 0) err << SERVE_PREFIX << "compiled: error state " << live.error_code() << '\n';
    else err << SERVE_PREFIX << "compiled: ok\n";
}

}  // namespace

int run_serve(const serve_options& o, std::ostream& out, std::ostream& err) {
    // What no edit of the files can mend ends it before it serves.
    session_inputs in;
    in.route = o.inputs.route, in.train = o.inputs.train;
    in.route_id = o.inputs.route_id, in.train_number = o.inputs.train_number;
    if (auto f = check_inputs(in)) return print_failure(err, "serve", *f);
    live_hooks hooks;
    hooks.compiled = [&err](const live_compile& live) { report(err, live); };
    hooks.listening = [&](uint16_t port) {
        const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
        out << url << std::endl;
        err << SERVE_PREFIX << "watching the two files; Ctrl-C ends\n";
        if (!o.open) return;
        const std::string fallback = "; open " + url + " yourself\n";
        const bool started = open_in_browser(url, [&err, fallback](int status) {
            err << SERVE_PREFIX + "the browser could not be opened (its opener ended with status " +
                       std::to_string(status) + ")" + fallback
                << std::flush;
        });
        if (!started) err << SERVE_PREFIX << "could not start a browser" << fallback;
    };
    if (auto f = serve_live(o.inputs, o.port, hooks)) return print_failure(err, "serve", *f);
    err << SERVE_PREFIX << "stopped\n";
    return EXIT_OK;
}

void add_serve_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<serve_options>();
    CLI::App* sub = add_command(
        app, "serve",
        "Show a scenario live in the browser: its drawing, diagnostics and state, compiled again (writing nothing) "
        "each time one of the two text files changes. Serves on 127.0.0.1 (and ::1) only, until Ctrl-C",
        "scenario-compiler serve Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt --open",
        {{EXIT_OK}, {EXIT_USAGE}, {EXIT_FAILURE_IO}});
    if (!sub) return;
    const auto [route, train] =
        add_text_inputs(sub, o->inputs.route, o->inputs.train, o->inputs.route_id, o->inputs.train_number);
    route->required();
    train->required();
    sub->add_option("--port", o->port, "The port on the loopback (0: any free one, printed)")->default_str("8765");
    sub->add_flag("--open", o->open, "Open the page in the browser");
    sub->callback([&chosen, o] { chosen = [o] { return run_serve(*o, std::cout, std::cerr); }; });
}
