#pragma once
// Paths as UTF-8 text on every platform: what messages and JSON carry, and what
// the command line's UTF-8 arguments name.
#include <filesystem>
#include <string>
#include <string_view>

inline std::string utf8_path(const std::filesystem::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

inline std::filesystem::path path_from_utf8(std::string_view s) {
    return std::filesystem::path(std::u8string(s.begin(), s.end()));
}
