#include "viewer/http_server.h"

#include <algorithm>
#include <array>
#include <utility>  // before Asio 1.74, whose awaitable.hpp uses std::exchange without it
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <csignal>
#include <deque>
#include <exception>
#include <list>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "platform/exit_status.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

// A client that sends no whole request in this time is dropped.
constexpr auto REQUEST_TIMEOUT = std::chrono::seconds(30);
constexpr uint32_t HEADER_LIMIT = 16 * 1024;
// A browser's request has some twenty lines; the parser keeps one node a line,
// so this bounds what a head of empty fields costs beside its bytes.
constexpr size_t HEAD_LINE_LIMIT = 100;
// A client that takes no bytes of an answer or event in this time is dropped.
constexpr auto WRITE_TIMEOUT = std::chrono::seconds(10);
// Bytes of answers being written at once, over all connections: past them a
// request is answered 503 before its answer is made.
constexpr size_t MAX_REPLY_BYTES = 32u << 20;
// Events a stream may have waiting for a client that does not read them.
constexpr size_t MAX_WAITING_EVENTS = 16;
// When accept fails (as at the descriptor limit), the wait before the next try.
constexpr auto ACCEPT_BACKOFF = std::chrono::milliseconds(100);

void set_common_fields(http::response_header<>& h) {
    h.set(http::field::server, "scenario-compiler");
    h.set(http::field::cache_control, "no-store");
    h.set("X-Content-Type-Options", "nosniff");
    // The page loads its script, style and drawing from here and nothing else.
    h.set("Content-Security-Policy", "default-src 'self'; img-src 'self' data:; frame-ancestors 'none'");
}

// Counts what is alive in a count of the server's.
struct counted {
    size_t& count;
    explicit counted(size_t& c) : count(c) { ++count; }
    ~counted() { --count; }
    counted(const counted&) = delete;
    counted& operator=(const counted&) = delete;
};

}  // namespace

struct http_server::impl {
    // A stream of server-sent events: the header, then one event after another
    // until the client goes; reading only tells that it went.
    struct event_stream : std::enable_shared_from_this<event_stream> {
        beast::tcp_stream stream;
        impl& server;
        http::response<http::empty_body> head;
        std::optional<http::response_serializer<http::empty_body>> serializer;
        std::deque<std::string> queue;
        std::array<char, 512> scratch{};
        bool writing = false, ended = false;
        counted held;

        event_stream(beast::tcp_stream s, impl& owner) : stream(std::move(s)), server(owner), held(owner.stream_count) {}

        void start(unsigned version) {
            head.version(version);
            head.result(http::status::ok);
            head.set(http::field::content_type, "text/event-stream");
            set_common_fields(head);
            head.keep_alive(false);
            serializer.emplace(head);
            stream.expires_after(WRITE_TIMEOUT);
            http::async_write_header(stream, *serializer, [self = shared_from_this()](beast::error_code ec, size_t) {
                if (ec) return self->end();
                self->stream.expires_never();
                self->server.streams.insert(self);
                if (!self->server.last_event.empty()) self->send(self->server.last_event);
                self->watch_close();
            });
        }
        void watch_close() {
            stream.async_read_some(asio::buffer(scratch), [self = shared_from_this()](beast::error_code ec, size_t) {
                if (ec) return self->end();
                self->watch_close();
            });
        }
        void send(const std::string& text) {
            // A client that reads none of them is let go rather than queued for.
            if (queue.size() >= MAX_WAITING_EVENTS) return end();
            queue.push_back(text);
            if (!writing) write_next();
        }
        void write_next() {
            writing = !queue.empty() && !ended;
            if (!writing) return;
            // The timeout covers the read that watches for the close too: either way the stream ends.
            stream.expires_after(WRITE_TIMEOUT);
            asio::async_write(stream, asio::buffer(queue.front()), [self = shared_from_this()](beast::error_code ec, size_t) {
                self->queue.pop_front();
                if (ec) return self->end();
                self->stream.expires_never();
                self->write_next();
            });
        }
        void end() {
            if (ended) return;
            ended = true;
            server.streams.erase(shared_from_this());
            beast::error_code ignored;
            stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
            stream.close();
        }
    };

    // One connection: requests read and answered in turn while the client keeps it.
    // The head is read whole into a buffer of at most HEADER_LIMIT bytes before
    // it is parsed, so that every byte of it counts against the limit and a
    // connection never holds more than that of a request.
    struct connection : std::enable_shared_from_this<connection> {
        beast::tcp_stream stream;
        impl& server;
        std::string received;  // what the client sent and no request has taken yet
        std::optional<http::request_parser<http::empty_body>> parser;
        std::shared_ptr<http::response<http::string_body>> reply;
        std::array<char, 512> scratch{};
        counted held;
        size_t reply_bytes = 0;  // of the answer being written, counted in the server's

        connection(tcp::socket s, impl& owner) : stream(std::move(s)), server(owner), held(owner.connection_count) {}
        ~connection() { server.reply_bytes -= reply_bytes; }

        void read() {
            stream.expires_after(REQUEST_TIMEOUT);
            asio::async_read_until(stream, asio::dynamic_buffer(received, HEADER_LIMIT), "\r\n\r\n", [self = shared_from_this()](beast::error_code ec, size_t n) {
                if (ec == asio::error::not_found) return self->refuse(431, "the request's head is over 16 KiB\n");
                if (ec) return self->close();
                self->parse(n);
            });
        }
        void parse(size_t head_size) {
            const char* head = received.data();
            // The blank line that closes the head is no line of it.
            if (static_cast<size_t>(std::count(head, head + head_size, '\n')) - 1 > HEAD_LINE_LIMIT)
                return refuse(431, "the request's head has over " + std::to_string(HEAD_LINE_LIMIT) + " lines\n");
            parser.emplace();
            parser->header_limit(HEADER_LIMIT);
            parser->eager(false);
            beast::error_code ec;
            const size_t used = parser->put(asio::buffer(head, head_size), ec);
            received.erase(0, head_size);
            if (ec || used != head_size || !parser->is_header_done()) return refuse(400, "malformed request\n");
            const http::request<http::empty_body>& request = parser->get();
            // A request for this server carries no body; one that does is
            // answered and the connection closed, since its body is not read.
            if (!parser->is_done()) {
                if (request.method() != http::verb::get) return refuse(405, "only GET\n");
                return refuse(400, "a GET request takes no body\n");
            }
            const size_t hosts = request.count(http::field::host);
            if (hosts > 1 || (hosts == 0 && request.version() >= 11))
                return refuse(400, "an HTTP/1.1 request names its Host once\n");
            answer();
        }
        void answer() {
            const http::request<http::empty_body>& request = parser->get();
            const std::string_view target(request.target().data(), request.target().size());
            if (server.allowed(request) && request.method() == http::verb::get &&
                target.substr(0, target.find('?')) == server.events_path) {
                if (server.stream_count >= MAX_STREAMS)
                    return refuse(503, "over " + std::to_string(MAX_STREAMS) + " event streams are open\n");
                std::make_shared<event_stream>(std::move(stream), server)->start(request.version());
                return;
            }
            // Answers not yet taken by their clients hold memory: past the bound no
            // more are made until they are.
            if (server.reply_bytes >= MAX_REPLY_BYTES) return refuse(503, "busy: try again shortly\n");
            reply = std::make_shared<http::response<http::string_body>>(server.response_to(request));
            reply_bytes = reply->body().size();
            server.reply_bytes += reply_bytes;
            stream.expires_after(WRITE_TIMEOUT);
            http::async_write(stream, *reply, [self = shared_from_this()](beast::error_code ec, size_t) {
                self->server.reply_bytes -= std::exchange(self->reply_bytes, 0);
                const bool again = !ec && self->reply->keep_alive();
                self->reply.reset();  // not held while the client thinks of its next request
                if (!again) return self->close();
                self->read();
            });
        }
        // Answers a request that cannot be served, then closes.
        void refuse(unsigned status, std::string text) {
            reply = std::make_shared<http::response<http::string_body>>(static_cast<http::status>(status), 11);
            reply->set(http::field::content_type, "text/plain; charset=utf-8");
            set_common_fields(*reply);
            if (status == 405) reply->set(http::field::allow, "GET");
            if (status == 503) reply->set(http::field::retry_after, "1");
            reply->keep_alive(false);
            reply->body() = std::move(text);
            reply->prepare_payload();
            stream.expires_after(WRITE_TIMEOUT);
            http::async_write(stream, *reply, [self = shared_from_this()](beast::error_code, size_t) { self->close(); });
        }
        // Ends the sending side, then reads what the client still sends until it
        // closes too (or the timeout): closing with unread bytes would reset the
        // connection and could lose the answer before the client read it.
        void close() {
            beast::error_code ignored;
            stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
            stream.expires_after(std::chrono::seconds(2));
            drain();
        }
        void drain() {
            stream.async_read_some(asio::buffer(scratch), [self = shared_from_this()](beast::error_code ec, size_t) {
                if (!ec) self->drain();
            });
        }
    };

    asio::io_context io;  // first, so that it outlives every socket
    handler respond;
    std::string events_path;
    uint16_t port = 0;
    std::list<tcp::acceptor> acceptors;
    // One a listener: the wait after a failed accept, made before it is needed
    // (at the descriptor limit, as little as possible is made anew).
    std::list<asio::steady_timer> backoffs;
    std::string last_event;
    std::set<std::shared_ptr<event_stream>> streams;
    size_t connection_count = 0, stream_count = 0, reply_bytes = 0;
    // A task run every period, timed from the end of the last run.
    struct periodic {
        asio::steady_timer timer;
        std::chrono::milliseconds period;
        std::function<void()> task;
        periodic(asio::io_context& io, std::chrono::milliseconds p, std::function<void()> t)
            : timer(io), period(p), task(std::move(t)) {}
        void arm() {
            timer.expires_after(period);
            timer.async_wait([this](beast::error_code ec) {
                if (ec) return;
                task();
                arm();
            });
        }
    };
    std::list<periodic> periodics;
    std::optional<asio::signal_set> signals;

    void listen(const asio::ip::address& address) {
        tcp::acceptor& a = acceptors.emplace_back(io);
        backoffs.emplace_back(io);
        const tcp::endpoint at(address, port);
        a.open(at.protocol());
        if (address.is_v6()) a.set_option(asio::ip::v6_only(true));
#ifndef _WIN32
        // A restart may take the port back at once. (On Windows the option would
        // let a second server take a port in use.)
        a.set_option(tcp::acceptor::reuse_address(true));
#endif
        a.bind(at);
        a.listen();
        port = a.local_endpoint().port();
        accept(a, backoffs.back());
    }
    void accept(tcp::acceptor& a, asio::steady_timer& backoff) {
        a.async_accept([this, &a, &backoff](beast::error_code ec, tcp::socket socket) {
            if (ec == asio::error::operation_aborted) return;
            if (ec) {
                // Out of descriptors (or the like): trying again at once would spin
                // while nothing frees one; the connections waiting keep till then.
                backoff.expires_after(ACCEPT_BACKOFF);
                backoff.async_wait([this, &a, &backoff](beast::error_code e) {
                    if (!e) accept(a, backoff);
                });
                return;
            }
            auto c = std::make_shared<connection>(std::move(socket), *this);
            // Counted with itself: past the cap it is answered and closed.
            if (connection_count + stream_count > MAX_CONNECTIONS)
                c->refuse(503, "over " + std::to_string(MAX_CONNECTIONS) + " connections are open\n");
            else
                c->read();
            accept(a, backoff);
        });
    }

    // The names a browser on this machine sends for this server, port included.
    bool allowed(const http::request<http::empty_body>& request) const {
        const beast::string_view host = request[http::field::host];
        const std::string suffix = ":" + std::to_string(port);
        for (const std::string name : {"127.0.0.1", "[::1]", "localhost"})
            if (beast::iequals(host, name + suffix)) return true;
        return false;
    }

    http::response<http::string_body> response_to(const http::request<http::empty_body>& request) const {
        http_reply r;
        if (!allowed(request)) {
            r = {403, "text/plain; charset=utf-8", "forbidden: this server answers only to 127.0.0.1, [::1] or localhost\n"};
        } else if (request.method() != http::verb::get) {
            r = {405, "text/plain; charset=utf-8", "only GET\n"};
        } else {
            const std::string_view target(request.target().data(), request.target().size());
            const size_t q = target.find('?');
            try {
                r = respond(target.substr(0, q), q == std::string_view::npos ? "" : target.substr(q + 1));
            } catch (const std::exception& e) {
                r = {500, "text/plain; charset=utf-8", std::string(e.what()) + "\n"};
            }
        }
        http::response<http::string_body> response{static_cast<http::status>(r.status), request.version()};
        response.set(http::field::content_type, r.content_type);
        set_common_fields(response);
        if (r.status == 405) response.set(http::field::allow, "GET");
        if (r.status == 503) response.set(http::field::retry_after, "1");
        response.keep_alive(request.keep_alive());
        response.body() = std::move(r.body);
        response.prepare_payload();
        return response;
    }
};

http_server::http_server(std::unique_ptr<impl> i) : impl_(std::move(i)) {}

result<std::unique_ptr<http_server>> http_server::open(uint16_t port, handler respond, std::string events_path) {
    auto i = std::make_unique<impl>();
    i->respond = std::move(respond);
    i->events_path = std::move(events_path);
    i->port = port;
    try {
        i->listen(asio::ip::address_v4::loopback());
    } catch (const boost::system::system_error& e) {
        return failure{EXIT_FAILURE_IO, "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + e.code().message()};
    }
    // The same port on ::1, where the machine has IPv6; without it 127.0.0.1 serves alone.
    try {
        i->listen(asio::ip::address_v6::loopback());
    } catch (const boost::system::system_error&) {
        i->acceptors.pop_back();
        i->backoffs.pop_back();
    }
    return std::unique_ptr<http_server>(new http_server(std::move(i)));
}

http_server::~http_server() = default;

uint16_t http_server::port() const { return impl_->port; }

void http_server::every(std::chrono::milliseconds period, std::function<void()> task) {
    impl::periodic& p = impl_->periodics.emplace_back(impl_->io, period, std::move(task));
    p.arm();
}

void http_server::publish(std::string name, std::string data) {
    impl_->last_event = "event: " + name + "\ndata: " + data + "\n\n";
    for (const auto& s : std::vector(impl_->streams.begin(), impl_->streams.end())) s->send(impl_->last_event);
}

void http_server::stop_on_signals() {
    impl_->signals.emplace(impl_->io, SIGINT, SIGTERM);
    impl_->signals->async_wait([this](beast::error_code ec, int) {
        if (!ec) impl_->io.stop();
    });
}

void http_server::run() { impl_->io.run(); }

void http_server::stop() { impl_->io.stop(); }
