#pragma once
// A small HTTP/1.1 server on the loopback only (127.0.0.1, and ::1 where the
// machine has it), on one thread: GET requests answered by a handler, one path
// kept open as a stream of server-sent events, and a periodic task on the same
// thread. A request whose Host is not this server's loopback name is refused,
// so that a page of another site cannot reach it through a rebound DNS name.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/failure.h"

// Connections held at once (event streams among them), and streams alone: a page
// keeps one stream and a few requests. Past them a client is answered 503.
inline constexpr size_t MAX_CONNECTIONS = 256;
inline constexpr size_t MAX_STREAMS = 32;

struct http_reply {
    unsigned status = 200;
    std::string content_type;
    std::string body;
};

class http_server {
public:
    // path: the target before any '?'; query: after it, possibly empty.
    using handler = std::function<http_reply(std::string_view path, std::string_view query)>;

    // Listens on `port` (0: one the system picks), or says why 127.0.0.1 cannot
    // be had. GET `events_path` is the event stream.
    static result<std::unique_ptr<http_server>> open(uint16_t port, handler respond, std::string events_path);
    ~http_server();
    http_server(const http_server&) = delete;
    http_server& operator=(const http_server&) = delete;

    uint16_t port() const;
    // Each `period` on the server's thread, from run() on.
    void every(std::chrono::milliseconds period, std::function<void()> task);
    // Sent as "event: NAME" with `data` (one line) to every open stream, and to
    // each stream that opens later as its first event. Server's thread only.
    void publish(std::string name, std::string data);
    // SIGINT (Ctrl-C; the console's Ctrl-C on Windows) and SIGTERM end run().
    void stop_on_signals();
    // Serves until stop() or a signal asked for.
    void run();
    // From any thread.
    void stop();

private:
    struct impl;
    explicit http_server(std::unique_ptr<impl> i);
    std::unique_ptr<impl> impl_;
};
