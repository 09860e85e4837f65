#include "lsp/transport.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <string_view>

#include "lsp/protocol.h"

namespace {

constexpr std::string_view LENGTH = "Content-Length";

bool same_letters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool header_named(std::string_view line, std::string_view name) {
    return line.size() > name.size() && line[name.size()] == ':' && same_letters(line.substr(0, name.size()), name);
}

std::string_view trimmed(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return v;
}

// The length a malformed value still plainly says ("+2", "0x2", "2 bytes"), to
// skip the body it announced; nothing when it says none.
std::optional<size_t> lenient_length(std::string_view v) {
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    int base = 10;
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) v.remove_prefix(2), base = 16;
    size_t n = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n, base);
    if (ec != std::errc() || end == v.data()) return std::nullopt;
    return n;
}

// Where the line names Content-Length, anywhere in it.
size_t find_length_header(std::string_view line) {
    for (size_t at = 0; at + LENGTH.size() < line.size(); ++at)
        if (header_named(line.substr(at), LENGTH)) return at;
    return std::string_view::npos;
}

// Skips n bytes; false when the stream ends first.
bool skip(std::istream& in, size_t n) {
    while (n > 0) {
        const auto piece = static_cast<std::streamsize>(std::min<size_t>(n, 1u << 20));
        in.ignore(piece);
        if (in.gcount() < piece) return false;
        n -= static_cast<size_t>(piece);
    }
    return true;
}

}  // namespace

std::optional<std::string> message_reader::line(bool& overlong) {
    overlong = false;
    std::string out;
    std::streambuf* b = in_.rdbuf();
    for (;;) {
        const int c = b->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in_.setstate(std::ios::eofbit);
            if (out.empty() && !overlong) return std::nullopt;
            break;
        }
        if (c == '\n') break;
        if (out.size() < MAX_HEADER_LINE + 1) out.push_back(static_cast<char>(c));
        else overlong = true;
    }
    if (!out.empty() && out.back() == '\r') out.pop_back();
    if (out.size() > MAX_HEADER_LINE) overlong = true, out.resize(MAX_HEADER_LINE);
    return out;
}

void message_reader::resynchronise() {
    bool overlong = false;
    while (std::optional<std::string> l = line(overlong)) {
        if (const size_t at = find_length_header(*l); at != std::string_view::npos && !overlong) {
            carried_ = l->substr(at);
            return;
        }
    }
}

std::optional<framed_message> message_reader::next() {
    std::optional<size_t> length, lenient;
    bool bad = false, any = false;
    for (;;) {
        bool overlong = false;
        std::optional<std::string> l = std::move(carried_);
        carried_.reset();
        if (!l) l = line(overlong);
        if (!l) return std::nullopt;
        if (l->empty() && !overlong) {
            if (any) break;
            continue;  // blank lines between messages are no header
        }
        any = true;
        if (overlong) {
            bad = true;
            continue;
        }
        if (!header_named(*l, LENGTH)) continue;
        const std::string_view v = trimmed(std::string_view(*l).substr(LENGTH.size() + 1));
        size_t n = 0;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (ec == std::errc() && end == v.data() + v.size()) length = n;
        else bad = true, lenient = lenient_length(v);
    }
    framed_message m;
    if (bad || !length) {
        m.problem = rpc_failure(rpc_error::invalid_request, "a message header without a valid Content-Length");
        // The body's bytes go with their header; without a length to tell them,
        // the next Content-Length is where the stream is taken up again.
        if (const std::optional<size_t> body = length ? length : lenient) {
            if (!skip(in_, *body)) return std::nullopt;
        } else {
            resynchronise();
        }
        return m;
    }
    if (*length > MAX_MESSAGE_BYTES) {
        if (!skip(in_, *length)) return std::nullopt;
        m.problem = rpc_failure(rpc_error::invalid_request, "a message of " + std::to_string(*length) +
                                                                " bytes, over the limit of " + std::to_string(MAX_MESSAGE_BYTES));
        return m;
    }
    m.body.resize(*length);
    if (!in_.read(m.body.data(), static_cast<std::streamsize>(*length))) return std::nullopt;
    return m;
}

void write_message(std::ostream& out, const std::string& body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    out.flush();
}
