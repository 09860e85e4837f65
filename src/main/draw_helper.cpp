// The drawing helper: the one executable that links cairo. The program hands it
// a drawing request on standard input; it answers on standard output with the
// PNG's or PDF's bytes and status 0, or with what went wrong and another status.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>

#include "drawing/draw_request.h"
#include "drawing/render_cairo.h"
#include "platform/exit_status.h"

namespace {

int answer(const std::string& bytes, int status) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
    return written ? status : EXIT_FAILURE_IO;
}

}  // namespace

int main(int argc, char**) {
    if (argc > 1 || ::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "%s: draws PNG and PDF for scenario-compiler plot, which starts it\n", draw_helper_name);
        return EXIT_USAGE;
    }
    std::string input;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) input.append(buffer, got);
    try {
        const result<draw_request> request = read_draw_request(input);
        if (!request) return answer(request.error().message, request.error().status);
        const result<std::string> drawn = draw_with_cairo(*request);
        return drawn ? answer(*drawn, EXIT_OK) : answer(drawn.error().message, drawn.error().status);
    } catch (const std::exception& e) {
        return answer(e.what(), EXIT_FAILURE_IO);
    }
}
