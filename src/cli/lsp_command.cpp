#include <iostream>
#include <memory>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/command_table.h"
#include "cli/commands.h"
#include "lsp/server.h"
#include "platform/exit_status.h"

int run_lsp(const lsp_options&, std::istream& in, std::ostream& out) {
    server_settings settings;
    settings.version = version_text();
    return serve_language(in, out, settings);
}

void add_lsp_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<lsp_options>();
    CLI::App* sub = add_command(
        app, "lsp",
        "Serve the Language Server Protocol on stdin and stdout, for editors: diagnostics as `compile --check` "
        "finds them, field names, hovers, completion and symbols for the route and train files an editor opens",
        "scenario-compiler lsp", {{EXIT_OK, "the client asked for shutdown, then exit"}, {1, "the client left without shutdown"}});
    if (!sub) return;
    sub->add_flag("--stdio", o->stdio, "Talk over stdin and stdout (the only way; accepted as clients pass it)");
    sub->callback([&chosen, o] {
        chosen = [o] {
#ifdef _WIN32
            // The protocol counts bytes: no CR LF translation on the way in.
            _setmode(_fileno(stdin), _O_BINARY);
#endif
            // Messages are read in blocks, not a character at a time through stdio.
            std::ios_base::sync_with_stdio(false);
            return run_lsp(*o, std::cin, std::cout);
        };
    });
}
