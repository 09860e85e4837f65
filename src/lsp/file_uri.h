#pragma once
// file: URIs, as editors name documents, and the paths they stand for.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The path of a file: URI (percent-escapes decoded; on Windows "/C:/x" is "C:/x");
// nothing for another scheme.
std::optional<std::filesystem::path> path_of_uri(std::string_view uri);
// The file: URI of an absolute path.
std::string uri_of_path(const std::filesystem::path& path);
