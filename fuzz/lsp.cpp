// The language server's transport and dispatcher on any bytes: framed messages
// (or not), each handled a second after the one before, so that every edit is
// compiled. "$DIR" in the input names the target's folder, which holds a route
// file A_linea.txt for the train files opened there. Whatever comes in, what goes
// out is well-framed JSON.
#include <chrono>
#include <sstream>

#include <nlohmann/json.hpp>

#include "fuzz/fuzz_support.h"
#include "lsp/message_intake.h"
#include "lsp/server.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = [] {
        fuzz::scrivi("A_linea.txt", "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\n[fine]\r\n");
        return fuzz::cartella().string();
    }();
    std::string input(reinterpret_cast<const char*>(data), size);
    for (size_t at = input.find("$DIR"); at != std::string::npos; at = input.find("$DIR", at + folder.size()))
        input.replace(at, 4, folder);
    std::istringstream in(input);
    std::ostringstream out;
    {
        language_server server(out, {});
        auto now = language_server::clock::time_point{};
        message_reader messages(in);
        while (!server.exited()) {
            const std::optional<framed_message> m = messages.next();
            if (m)
                if (const std::optional<std::string> id = cancelled_request(m->body)) server.cancel(*id);
            if (!m) break;
            now += std::chrono::seconds(1);
            server.handle(*m, now);
            server.tick(now);
        }
        server.flush();
    }
    const std::string sent = out.str();
    for (size_t at = 0; at < sent.size();) {
        constexpr std::string_view head = "Content-Length: ";
        if (sent.compare(at, head.size(), head) != 0) __builtin_trap();
        const size_t end = sent.find("\r\n\r\n", at);
        if (end == std::string::npos) __builtin_trap();
        const size_t n = std::stoul(sent.substr(at + head.size(), end - at - head.size()));
        if (end + 4 + n > sent.size()) __builtin_trap();
        if (!nlohmann::json::accept(sent.substr(end + 4, n))) __builtin_trap();
        at = end + 4 + n;
    }
    return 0;
}
