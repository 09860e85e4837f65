#include "lsp/file_uri.h"

#include <cctype>

#include "platform/path_text.h"

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::filesystem::path> path_of_uri(std::string_view uri) {
    constexpr std::string_view scheme = "file://";
    if (uri.size() < scheme.size()) return std::nullopt;
    for (size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(uri[i])) != scheme[i]) return std::nullopt;
    uri.remove_prefix(scheme.size());
    // An authority (a host) before the path is not a local file's.
    const size_t slash = uri.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = uri.substr(0, slash);
    if (!host.empty() && host != "localhost") return std::nullopt;
    uri.remove_prefix(slash);
    std::string path;
    for (size_t i = 0; i < uri.size(); ++i) {
        int hi = 0, lo = 0;
        if (uri[i] == '%' && i + 2 < uri.size() && (hi = hex_value(uri[i + 1])) >= 0 && (lo = hex_value(uri[i + 2])) >= 0) {
            path += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if (uri[i] == '?' || uri[i] == '#') {
            break;
        } else {
            path += uri[i];
        }
    }
#ifdef _WIN32
    if (path.size() >= 3 && path[0] == '/' && std::isalpha(static_cast<unsigned char>(path[1])) && path[2] == ':')
        path.erase(0, 1);
#endif
    return path_from_utf8(path);
}

std::string uri_of_path(const std::filesystem::path& path) {
    std::string p = utf8_path(path);
#ifdef _WIN32
    for (char& c : p)
        if (c == '\\') c = '/';
#endif
    if (p.empty() || p[0] != '/') p.insert(0, 1, '/');
    static const char* const digits = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : p) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || std::string_view("-._~/").find(ch) != std::string_view::npos ||
            (ch == ':' && uri.size() == 9)) {
            uri += ch;
        } else {
            uri += '%';
            uri += digits[c >> 4];
            uri += digits[c & 15];
        }
    }
    return uri;
}
