#include "lsp/transport.h"

#include <charconv>
#include <cctype>
#include <string_view>

namespace {

bool header_named(std::string_view line, std::string_view name) {
    if (line.size() <= name.size() || line[name.size()] != ':') return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != std::tolower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

}  // namespace

std::optional<framed_message> read_message(std::istream& in) {
    std::optional<size_t> length;
    bool bad_length = false;
    std::string line;
    bool any = false;
    for (;;) {
        if (!std::getline(in, line)) return std::nullopt;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) {
            if (any) break;
            continue;  // blank lines between messages are no header
        }
        any = true;
        if (line.size() > 4096) bad_length = true;
        if (!header_named(line, "Content-Length")) continue;
        std::string_view v = std::string_view(line).substr(15);
        while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
        size_t n = 0;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (ec != std::errc() || end != v.data() + v.size()) bad_length = true;
        else length = n;
    }
    framed_message m;
    if (bad_length || !length) {
        m.problem = "a message header without a valid Content-Length";
        return m;
    }
    if (*length > MAX_MESSAGE_BYTES) {
        in.ignore(static_cast<std::streamsize>(*length));
        if (static_cast<size_t>(in.gcount()) < *length) return std::nullopt;
        m.problem = "a message of " + std::to_string(*length) + " bytes, over the limit of " +
                    std::to_string(MAX_MESSAGE_BYTES);
        return m;
    }
    m.body.resize(*length);
    if (!in.read(m.body.data(), static_cast<std::streamsize>(*length))) return std::nullopt;
    return m;
}

void write_message(std::ostream& out, const std::string& body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    out.flush();
}
