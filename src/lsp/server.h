#pragma once
// The language server: the protocol's messages in, its answers and
// notifications out, on the compile session and the features beneath.
#include <chrono>
#include <filesystem>
#include <istream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "diagnostics/warning_choice.h"
#include "lsp/documents.h"
#include "lsp/features.h"
#include "lsp/scenario_check.h"
#include "lsp/transport.h"

struct server_settings {
    std::string version;  // the program's, in the initialize answer
    // The longest an edit is held back, so that a burst of them is compiled once.
    // An edit is held back only while the server has been idle for less time than
    // a compile takes (the median of the last few), and until it has: never longer.
    std::chrono::milliseconds debounce{200};
    // Taken as every compile's time in place of measuring it, for a test's clock.
    std::optional<std::chrono::milliseconds> compile_time;
};

class language_server {
public:
    using clock = std::chrono::steady_clock;

    language_server(std::ostream& out, server_settings settings);
    ~language_server();

    // One framed message, arrived at `now`.
    void handle(const framed_message& message, clock::time_point now);
    // A request (its id as JSON) the client cancelled before its turn: it is
    // answered as cancelled when it comes.
    void cancel(std::string id);
    // Compiles what the debounce held back once it is due.
    void tick(clock::time_point now);
    // When the held-back compiles are due; nothing when none is held back.
    std::optional<clock::time_point> deadline() const;
    // Compiles everything held back, now.
    void flush();

    bool exited() const;
    // 0 after shutdown, 1 when the client left without it.
    int exit_status() const;

private:
    struct impl;
    std::unique_ptr<impl> impl_;
};

// Serves the protocol on in and out (binary streams) until `exit` or the input's
// end; returns the exit status.
int serve_language(std::istream& in, std::ostream& out, const server_settings& settings);
