// The server on the process's standard streams: framed messages read ahead on a
// thread, handled in turn on this one, the debounce's ticks between them.
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "lsp/message_intake.h"
#include "lsp/server.h"
#include "lsp/transport.h"

int serve_language(std::istream& in, std::ostream& out, const server_settings& settings) {
    // The messages are read ahead on a thread of their own, so that a held-back
    // compile runs when it is due even while no message comes, and a request
    // still queued can be cancelled. The queue is bounded: when it is full the
    // reader waits, and the client's writes with it.
    struct inbox {
        std::mutex m;
        std::condition_variable ready, room;
        std::deque<std::optional<framed_message>> queue;
        size_t queued_bytes = 0;
        std::vector<std::string> cancelled;  // ids, as JSON, seen ahead of their requests' turn
        bool ended = false, closed = false;
        bool full() const { return queue.size() >= MAX_QUEUED_MESSAGES || queued_bytes >= MAX_QUEUED_BYTES; }
    };
    auto box = std::make_shared<inbox>();
    // A stream tied to `out` (std::cin is, to std::cout) would flush it from the
    // reader's thread while this one writes.
    in.tie(nullptr);
    std::thread reader([box, &in] {
        message_reader messages(in);
        for (;;) {
            std::optional<framed_message> m = messages.next();
            const bool end = !m;
            const std::optional<std::string> cancel = m ? cancelled_request(m->body) : std::nullopt;
            {
                std::unique_lock<std::mutex> lock(box->m);
                if (cancel) box->cancelled.push_back(*cancel);
                box->room.wait(lock, [&] { return box->closed || !box->full(); });
                if (box->closed) return;
                box->queued_bytes += m ? m->body.size() : 0;
                box->queue.push_back(std::move(m));
                box->ended = end;
            }
            box->ready.notify_one();
            if (end) return;
        }
    });
    language_server server(out, settings);
    for (;;) {
        std::unique_lock<std::mutex> lock(box->m);
        const auto has = [&] { return !box->queue.empty(); };
        if (const auto due = server.deadline()) box->ready.wait_until(lock, *due, has);
        else box->ready.wait(lock, has);
        for (std::string& id : box->cancelled) server.cancel(std::move(id));
        box->cancelled.clear();
        if (box->queue.empty()) {
            lock.unlock();
            server.tick(language_server::clock::now());
            continue;
        }
        std::optional<framed_message> m = std::move(box->queue.front());
        box->queue.pop_front();
        box->queued_bytes -= m ? m->body.size() : 0;
        lock.unlock();
        box->room.notify_one();
        if (!m) break;
        server.handle(*m, language_server::clock::now());
        if (server.exited()) break;
        server.tick(language_server::clock::now());
    }
    bool ended = false;
    {
        std::lock_guard<std::mutex> lock(box->m);
        ended = box->ended;
        box->closed = true;
    }
    box->room.notify_one();
    // A reader still waiting on the input is left to the process's end.
    if (ended) reader.join();
    else reader.detach();
    return server.exit_status();
}
