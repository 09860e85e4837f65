#pragma once
// `serve`: a live view of a scenario in the browser. The two text files are
// compiled as `compile --check` does (nothing written) and again whenever one
// changes; the page shows the drawing, the diagnostics and the compile's state.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/http_server.h"
#include "cli/viewer.h"

struct serve_options {
    viewer_inputs inputs;
    uint16_t port = 8765;  // 0: one the system picks
    bool open = false;     // open the page in the browser
};

// GET PATH?QUERY of the viewer: the page and its files, /state.json, /scene.svg
// (from=M&to=M, whole metres, the stretch drawn). Anything else is 404; nothing
// of a request names a file.
http_reply viewer_reply(const route_viewer& viewer, std::string_view path, std::string_view query);

// Serves until Ctrl-C, then returns 0; the address goes to out, each compile's
// diagnostics to err.
int run_serve(const serve_options& options, std::ostream& out, std::ostream& err);
