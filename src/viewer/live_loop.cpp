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

}  // namespace

maybe_failure serve_live(const viewer_inputs& inputs, uint16_t port, const live_hooks& hooks) {
    live_compile live(inputs);
    file_watch watch({inputs.route, inputs.train});
    live.compile();
    hooks.compiled(live);
    const auto announce = [&live] {
        return nlohmann::json{{"version", live.version()}, {"error_code", live.error_code()}}.dump();
    };
    auto opened = http_server::open(
        port, [&live](std::string_view path, std::string_view query) { return viewer_reply(live, path, query); },
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
