#pragma once
// The live view: compile the two text files, serve the state on the loopback,
// and compile again and tell every open page whenever one of the files changes.
#include <cstdint>
#include <functional>

#include "platform/failure.h"
#include "viewer/live_compile.h"

struct live_hooks {
    std::function<void(const live_compile&)> compiled;  // after each compile, the first included
    std::function<void(uint16_t port)> listening;       // once the server listens, before it serves
};

// Serves until Ctrl-C (or SIGTERM); the failure when the server cannot listen.
maybe_failure serve_live(const viewer_inputs& inputs, uint16_t port, const live_hooks& hooks);
