#pragma once
// A file that cannot be created, opened, read, written or deleted. Outside the
// scenario reader it ends the run with exit status 3.
#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/path_text.h"

struct io_failure : std::runtime_error {
    io_failure(const std::filesystem::path& path, const std::string& action, const std::string& reason)
        : std::runtime_error("cannot " + action + " " + utf8_path(path) + ": " + reason), path(path) {}
    std::filesystem::path path;
};
