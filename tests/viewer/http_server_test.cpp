// The viewer's server on a free port, driven over the loopback as a browser drives it.
#include <gtest/gtest.h>

#include <utility>  // before Asio 1.74, whose awaitable.hpp uses std::exchange without it
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <array>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

#ifdef __linux__
#include <unistd.h>
#endif

#include "cli/commands.h"
#include "platform/file_watch.h"
#include "viewer/routes.h"
#include "platform/file_ops.h"
#include "tests/support/carried_texts.h"
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

// Sends `request` as bytes and reads until the server closes: the status and what followed.
answer exchange(uint16_t port, const std::string& request) {
    asio::io_context io;
    tcp::socket socket(io);
    socket.connect(tcp::endpoint(asio::ip::address_v4::loopback(), port));
    asio::write(socket, asio::buffer(request));
    std::string reply;
    boost::system::error_code ec;
    asio::read(socket, asio::dynamic_buffer(reply), ec);
    unsigned status = 0;
    if (reply.rfind("HTTP/1.1 ", 0) == 0) status = static_cast<unsigned>(std::stoul(reply.substr(9, 3)));
    return {status, reply};
}

#ifdef __linux__
long resident_kib() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
#endif

// A server of the carried scenario on a free port, serving on its own thread.
struct serving_viewer {
    temp_dir dir;
    std::optional<live_compile> viewer;
    std::unique_ptr<http_server> server;
    std::thread thread;
    std::string here;
    serving_viewer() {
        const carried_files files = write_carried_texts(dir.path());
        viewer.emplace(viewer_inputs{files.route, files.train, {}, {}});
        viewer->compile();
        auto opened = http_server::open(
            0, [this](std::string_view p, std::string_view q) { return viewer_reply(*viewer, p, q); }, "/events");
        if (!opened) throw std::runtime_error(opened.error().message);
        server = std::move(*opened);
        server->publish("compiled", "1");
        here = "127.0.0.1:" + std::to_string(server->port());
        thread = std::thread([this] { server->run(); });
    }
    ~serving_viewer() {
        server->stop();
        thread.join();
    }
};

}  // namespace

// Requests a browser never sends, each answered with a status and closed.
TEST(HttpServer, HoldsItsLimitsForEveryRequest) {
    serving_viewer s;
    const uint16_t port = s.server->port();
    std::string empty_fields;
    for (int i = 0; i < 52966; ++i) empty_fields += "x:\r\n";
    const std::string host = "Host: " + s.here + "\r\n", close = "Connection: close\r\n";
    const struct {
        const char* what;
        std::string request;
        unsigned status;
        std::string part;
    } cases[] = {
        {"a head of empty fields over the limit", "GET / HTTP/1.1\r\n" + host + empty_fields + "\r\n", 431, "16 KiB"},
        {"a head of many short lines", "GET / HTTP/1.1\r\n" + host + empty_fields.substr(0, 4 * 200) + "\r\n", 431, "lines"},
        {"a head of 101 lines", "GET / HTTP/1.1\r\n" + host + close + empty_fields.substr(0, 4 * 98) + "\r\n", 431, "lines"},
        {"a head of 100 lines", "GET / HTTP/1.1\r\n" + host + close + empty_fields.substr(0, 4 * 97) + "\r\n", 200, "<!doctype html>"},
        {"two Host fields", "GET / HTTP/1.1\r\n" + host + host + "\r\n", 400, "Host"},
        {"no Host field", "GET / HTTP/1.1\r\n\r\n", 400, "Host"},
        {"a GET with a body", "GET / HTTP/1.1\r\n" + host + "Content-Length: 5\r\n\r\nhello", 400, "body"},
        {"a chunked GET", "GET / HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", 400, "body"},
        {"a POST with a body", "POST / HTTP/1.1\r\n" + host + "Content-Length: 3\r\n\r\nabc", 405, "Allow: GET"},
        {"a malformed request line", "GET /\r\n" + host + "\r\n", 400, "malformed"},
        {"a malformed field", "GET / HTTP/1.1\r\n" + host + "no colon\r\n\r\n", 400, "malformed"},
        {"a negative end alone", "GET /scene.svg?to=-1 HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n", 400, "after"},
        {"an empty stretch", "GET /scene.svg?from=0&to=0 HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n", 400, "after"},
        {"a start past the line's end", "GET /scene.svg?from=900000 HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n", 400, "after"},
        {"an end alone", "GET /scene.svg?to=1000 HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n", 200, "<svg"},
        {"a query on the state", "GET /state.json?x=1 HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n", 200, "\"ok\":true"},
    };
    for (const auto& c : cases) {
        const answer a = exchange(port, c.request);
        EXPECT_EQ(a.status, c.status) << c.what << ": " << a.body.substr(0, 300);
        EXPECT_NE(a.body.find(c.part), std::string::npos) << c.what << ": " << a.body.substr(0, 300);
    }

    // The event stream ignores its query as every other route does.
    asio::io_context io;
    tcp::socket events(io);
    events.connect(tcp::endpoint(asio::ip::address_v4::loopback(), port));
    asio::write(events, asio::buffer("GET /events?x=1 HTTP/1.1\r\n" + host + "\r\n"));
    std::string received;
    boost::system::error_code ec;
    asio::read_until(events, asio::dynamic_buffer(received), "data: 1\n\n", ec);
    EXPECT_EQ(received.rfind("HTTP/1.1 200", 0), 0u) << received;
    EXPECT_NE(received.find("text/event-stream"), std::string::npos) << received;

    // Streams past the cap are answered 503 and closed; the server still answers.
    std::vector<tcp::socket> streams;
    std::map<std::string, size_t> statuses;
    for (size_t i = 0; i < MAX_STREAMS; ++i) {
        tcp::socket& c = streams.emplace_back(io);
        c.connect(tcp::endpoint(asio::ip::address_v4::loopback(), port));
        asio::write(c, asio::buffer("GET /events HTTP/1.1\r\n" + host + "\r\n"));
        std::string head;
        asio::read_until(c, asio::dynamic_buffer(head), "\r\n", ec);
        ++statuses[head.substr(0, 12)];
    }
    EXPECT_EQ(statuses, (std::map<std::string, size_t>{{"HTTP/1.1 200", MAX_STREAMS - 1}, {"HTTP/1.1 503", 1}}));
    streams.clear();

#ifdef __linux__
    // Heads left unfinished cost no more than the limit each, and are refused
    // once they pass it.
    const long before = resident_kib();
    std::vector<tcp::socket> open;
    const std::string unfinished = "GET / HTTP/1.1\r\n" + host + empty_fields.substr(0, 20 * 1024);
    for (int i = 0; i < 200; ++i) {
        tcp::socket& c = open.emplace_back(io);
        c.connect(tcp::endpoint(asio::ip::address_v4::loopback(), port));
        asio::write(c, asio::buffer(unfinished));
    }
    for (tcp::socket& c : open) {
        std::string head;
        asio::read_until(c, asio::dynamic_buffer(head), "\r\n", ec);
        EXPECT_EQ(head.rfind("HTTP/1.1 431", 0), 0u) << head;
    }
    EXPECT_LT(resident_kib() - before, 40 * 1024);
#endif
}

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
        // A page asks for the sheet at its own size; the SVG says where its plan and axis lie.
        {"/scene.svg?width=1000&height=700&from=1000", here, 200, "data-axis=\"126 984\" data-stretch=\"1000 243000\""},
        {"/scene.svg?width=1000", here, 400, "together"},
        {"/scene.svg?width=100&height=100", here, 400, "pixels"},
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


// Past its drawing budget the viewer answers 503 for a new drawing, still the
// one it drew last for the same request, and everything else as ever.
TEST(HttpServer, DrawingsKeepToTheirBudget) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    live_compile viewer(viewer_inputs{files.route, files.train, {}, {}});
    viewer.compile();
    drawing_budget budget(0.0, std::chrono::nanoseconds(1));  // one drawing, then none
    const http_reply first = viewer_reply(viewer, "/scene.svg", "width=800&height=600", &budget);
    EXPECT_EQ(first.status, 200u);
    EXPECT_EQ(viewer_reply(viewer, "/scene.svg", "width=800&height=601", &budget).status, 503u);
    const http_reply again = viewer_reply(viewer, "/scene.svg", "width=800&height=600", &budget);
    EXPECT_EQ(again.status, 200u);
    EXPECT_EQ(again.body, first.body);
    EXPECT_EQ(viewer_reply(viewer, "/state.json", "", &budget).status, 200u);
}
