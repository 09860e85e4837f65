#include "viewer/live_loop.h"

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <string_view>

#include "platform/file_watch.h"
#include "viewer/http_server.h"
#include "viewer/routes.h"

namespace {

// Often enough that an edit shows within a second, seldom enough to cost nothing.
// A change is compiled once it has settled: at the first poll that finds the
// files as the one before did.
constexpr std::chrono::milliseconds POLL{250};
// Drawing may take half the server's time, with half a second's reserve: a
// page's redraws while zooming fit easily, a flood of large sheets leaves room
// for the rest.
constexpr double DRAWING_SHARE = 0.5;
constexpr std::chrono::milliseconds DRAWING_RESERVE{500};

}  // namespace

maybe_failure serve_live(const viewer_inputs& inputs, uint16_t port, const live_hooks& hooks) {
    live_compile live(inputs);
    file_watch watch({inputs.route, inputs.train});
    live.compile();
    hooks.compiled(live);
    const auto announce = [&live] {
        return nlohmann::json{{"version", live.version()}, {"error_code", live.error_code()}}.dump();
    };
    drawing_budget budget(DRAWING_SHARE, DRAWING_RESERVE);
    auto opened = http_server::open(
        port,
        [&live, &budget](std::string_view path, std::string_view query) { return viewer_reply(live, path, query, &budget); },
        "/events");
    if (!opened) return opened.error();
    http_server& server = **opened;
    server.publish("compiled", announce());
    server.every(POLL, [&] {
        if (!watch.settled()) return;
        live.compile();
        hooks.compiled(live);
        server.publish("compiled", announce());
    });
    server.stop_on_signals();
    hooks.listening(server.port());
    server.run();
    return std::nullopt;
}
