// The viewer's server on a free port, driven over the loopback as a browser drives it.
#include <gtest/gtest.h>

#include <utility>  // before Asio 1.74, whose awaitable.hpp uses std::exchange without it
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <array>
#include <sstream>
#include <thread>

#include "cli/commands.h"
#include "platform/file_watch.h"
#include "viewer/routes.h"
#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;

namespace {

struct answer {
    unsigned status = 0;
    std::string body;
};

answer fetch(uint16_t port, const std::string& target, const std::string& host) {
    asio::io_context io;
    boost::beast::tcp_stream stream(io);
    stream.connect(tcp::endpoint(asio::ip::address_v4::loopback(), port));
    http::request<http::empty_body> request{http::verb::get, target, 11};
    request.set(http::field::host, host);
    http::write(stream, request);
    boost::beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(stream, buffer, response);
    return {response.result_int(), response.body()};
}

}  // namespace

TEST(HttpServer, AnswersOnlyItsOwnRoutesAndHostsAndPushesEachCompile) {
    temp_dir dir;
    std::ostringstream quiet;
    ASSERT_EQ(run_export({dir.path()}, quiet, quiet), 0);
    const auto route = dir.path() / "Lidonia_Sabrio_linea.txt", train = dir.path() / "Lidonia_Sabrio_914-.txt";
    live_compile viewer({route, train, {}, {}});
    viewer.compile();
    file_watch watch({route, train});
    auto opened =
        http_server::open(0, [&](std::string_view p, std::string_view q) { return viewer_reply(viewer, p, q); }, "/events");
    ASSERT_TRUE(opened);
    http_server& server = **opened;
    const auto announce = [&] { server.publish("compiled", std::to_string(viewer.version())); };
    announce();
    server.every(std::chrono::milliseconds(50), [&] {
        if (watch.changed()) viewer.compile(), announce();
    });
    std::thread serving([&] { server.run(); });
    const uint16_t port = server.port();
    const std::string here = "127.0.0.1:" + std::to_string(port);

    const struct {
        std::string target, host;
        unsigned status;
        std::string part;
    } cases[] = {
        {"/", here, 200, "<script src=\"/page.js\""},
        {"/", "localhost:" + std::to_string(port), 200, "<!doctype html>"},
        {"/", "rebound.example:" + std::to_string(port), 403, "forbidden"},
        {"/", "127.0.0.1:1", 403, "forbidden"},
        {"/page.js", here, 200, "EventSource('/events')"},
        {"/state.json", here, 200, "\"ok\":true"},
        {"/scene.svg", here, 200, "data-kind=\"station\""},
        {"/scene.svg?from=1000&to=5000", here, 200, "<svg"},
        {"/scene.svg?from=5000&to=1000", here, 400, "after"},
        {"/scene.svg?from=1e3", here, 400, "whole metres"},
        {"/../Lidonia_Sabrio_linea.txt", here, 404, "not found"},
        {"/nothing", here, 404, "not found"},
    };
    for (const auto& c : cases) {
        const answer a = fetch(port, c.target, c.host);
        EXPECT_EQ(a.status, c.status) << c.target << " for " << c.host;
        EXPECT_NE(a.body.find(c.part), std::string::npos) << c.target << ": " << a.body.substr(0, 200);
    }

    // The stream opens with the current compile, then brings the edited one.
    asio::io_context io;
    tcp::socket events(io);
    events.connect(tcp::endpoint(asio::ip::address_v4::loopback(), port));
    asio::write(events, asio::buffer("GET /events HTTP/1.1\r\nHost: " + here + "\r\n\r\n"));
    std::string received;
    std::array<char, 4096> chunk{};
    bool reading = false;
    const auto wait_for = [&](const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (received.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            if (!reading) {
                reading = true;
                events.async_read_some(asio::buffer(chunk), [&](boost::system::error_code ec, size_t n) {
                    reading = ec.failed();  // a closed stream reads no more
                    received.append(chunk.data(), n);
                });
            }
            io.restart();
            io.run_for(deadline - std::chrono::steady_clock::now());
        }
        return received.find(text) != std::string::npos;
    };
    EXPECT_TRUE(wait_for("event: compiled\ndata: 1\n\n")) << received;
    EXPECT_NE(received.find("Content-Type: text/event-stream"), std::string::npos) << received;
    // A second signal in the first one's cell.
    std::string text = read_file(train);
    const std::string second = "segnale,    4450,   2, 4, 1,";
    ASSERT_NE(text.find(second), std::string::npos);
    text.replace(text.find(second), second.size(), "segnale,    1650,   2, 4, 1,");
    write_file(train, text);
    EXPECT_TRUE(wait_for("data: 2\n\n")) << received;
    const answer state = fetch(port, "/state.json", here);
    EXPECT_NE(state.body.find("\"error_code\":16"), std::string::npos) << state.body;
    EXPECT_NE(state.body.find("\"line\":79"), std::string::npos) << state.body;

    server.stop();
    serving.join();
}

