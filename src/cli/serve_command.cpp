#include <charconv>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "cli/commands.h"
#include "cli/diagnostics.h"
#include "cli/file_watch.h"
#include "cli/serve.h"
#include "cli/viewer_files.h"
#include "platform/exit_status.h"
#include "platform/open_browser.h"
#include "platform/path_text.h"

namespace {

const std::string SERVE_PREFIX = "scenario-compiler serve: ";
// Often enough that an edit shows within a second, seldom enough to cost nothing.
constexpr std::chrono::milliseconds POLL{250};

http_reply text_reply(unsigned status, std::string text) { return {status, "text/plain; charset=utf-8", text + "\n"}; }

// "from=M&to=M", either or both, in any order; nothing when a value is no whole number.
std::optional<std::pair<std::optional<int32_t>, std::optional<int32_t>>> range_of(std::string_view query) {
    std::pair<std::optional<int32_t>, std::optional<int32_t>> range;
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view item = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        const size_t eq = item.find('=');
        const std::string_view key = item.substr(0, eq);
        if (key != "from" && key != "to") continue;
        if (eq == std::string_view::npos) return std::nullopt;
        const std::string_view text = item.substr(eq + 1);
        int32_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
        (key == "from" ? range.first : range.second) = value;
    }
    return range;
}

// One line for each compile, after its diagnostics.
void report(std::ostream& err, const route_viewer& viewer) {
    print_diagnostics(err, viewer.diagnostics(), viewer.sources(), use_colour("auto"));
    if (!viewer.failure().empty()) err << SERVE_PREFIX << printable(viewer.failure()) << '\n';
    else if (viewer.error_code() != 0) err << SERVE_PREFIX << "compiled: error state " << viewer.error_code() << '\n';
    else err << SERVE_PREFIX << "compiled: ok\n";
}

}  // namespace

http_reply viewer_reply(const route_viewer& viewer, std::string_view path, std::string_view query) {
    if (path == "/") return {200, "text/html; charset=utf-8", std::string(page_html)};
    if (path == "/page.js") return {200, "text/javascript; charset=utf-8", std::string(page_js)};
    if (path == "/page.css") return {200, "text/css; charset=utf-8", std::string(page_css)};
    if (path == "/state.json") return {200, "application/json", viewer.state_json()};
    if (path != "/scene.svg") return text_reply(404, "not found");
    const auto range = range_of(query);
    if (!range) return text_reply(400, "from and to take whole metres");
    try {
        const auto svg = viewer.svg(range->first, range->second);
        if (!svg) return text_reply(404, "no compile could be drawn yet");
        return {200, "image/svg+xml", *svg};
    } catch (const std::invalid_argument& e) {
        return text_reply(400, e.what());
    }
}

int run_serve(const serve_options& o, std::ostream& out, std::ostream& err) {
    for (const auto& file : {o.inputs.route, o.inputs.train})
        if (std::error_code ec; !std::filesystem::is_regular_file(file, ec))
            return err << SERVE_PREFIX << printable(utf8_path(file)) << ": no such file\n", EXIT_FAILURE_IO;
    route_viewer viewer(o.inputs);
    file_watch watch({o.inputs.route, o.inputs.train});
    viewer.compile();
    report(err, viewer);
    const auto announce = [&viewer] {
        return nlohmann::json{{"version", viewer.version()}, {"error_code", viewer.error_code()}}.dump();
    };
    std::unique_ptr<http_server> server;
    try {
        server = std::make_unique<http_server>(
            o.port, [&viewer](std::string_view path, std::string_view query) { return viewer_reply(viewer, path, query); },
            "/events");
    } catch (const std::runtime_error& e) {
        return err << SERVE_PREFIX << e.what() << '\n', EXIT_FAILURE_IO;
    }
    server->publish("compiled", announce());
    server->every(POLL, [&] {
        if (!watch.changed()) return;
        viewer.compile();
        report(err, viewer);
        server->publish("compiled", announce());
    });
    server->stop_on_signals();
    const std::string url = "http://127.0.0.1:" + std::to_string(server->port()) + "/";
    out << url << std::endl;
    err << SERVE_PREFIX << "watching the two files; Ctrl-C ends\n";
    if (o.open) {
        const std::string fallback = "; open " + url + " yourself\n";
        const bool started = open_in_browser(url, [&err, fallback](int status) {
            err << SERVE_PREFIX + "the browser could not be opened (its opener ended with status " +
                       std::to_string(status) + ")" + fallback
                << std::flush;
        });
        if (!started) err << SERVE_PREFIX << "could not start a browser" << fallback;
    }
    server->run();
    err << SERVE_PREFIX << "stopped\n";
    return EXIT_OK;
}

void add_serve_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<serve_options>();
    CLI::App* sub = add_command(
        app, "serve",
        "Show a scenario live in the browser: its drawing, diagnostics and state, compiled again (writing nothing) "
        "each time one of the two text files changes. Serves on 127.0.0.1 (and ::1) only, until Ctrl-C",
        "scenario-compiler serve Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt --open");
    const auto [route, train] =
        add_text_inputs(sub, o->inputs.route, o->inputs.train, o->inputs.route_id, o->inputs.train_number);
    route->required();
    train->required();
    sub->add_option("--port", o->port, "The port on the loopback (0: any free one, printed)")->default_str("8765");
    sub->add_flag("--open", o->open, "Open the page in the browser");
    sub->callback([&chosen, o] { chosen = [o] { return run_serve(*o, std::cout, std::cerr); }; });
}
