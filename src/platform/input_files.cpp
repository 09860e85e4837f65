#include "platform/input_files.h"

#include <system_error>

#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

namespace {

// The failure of a path the reason is about.
failure path_failure(const std::filesystem::path& path, const std::string& reason) {
    return {EXIT_FAILURE_IO, utf8_path(path) + ": " + reason};
}

}  // namespace

maybe_failure check_input_file(const std::filesystem::path& path, uintmax_t limit) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        if (ec && ec != std::errc::no_such_file_or_directory) return path_failure(path, ec.message());
        return path_failure(path, "no such file");
    }
    if (std::filesystem::is_directory(status)) return path_failure(path, "is a directory, not a file");
    if (!std::filesystem::is_regular_file(status)) return path_failure(path, "is not a regular file");
    // What the name showed may be swapped before the open: checked again on what opens.
    const result<opened_input> opened = open_input(path, limit);
    if (!opened) return path_failure(path, opened.error().message);
    return std::nullopt;
}

maybe_failure check_output_folder(const std::filesystem::path& path, bool create) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) return std::nullopt;
    if (std::filesystem::exists(status)) return path_failure(path, "exists and is not a directory");
    if (ec && ec != std::errc::no_such_file_or_directory) return path_failure(path, ec.message());
    if (!create) return std::nullopt;
    std::filesystem::create_directories(path, ec);
    if (ec) return path_failure(path, ec.message());
    return std::nullopt;
}

result<std::string> read_input_file(const std::filesystem::path& path) {
    if (auto f = check_input_file(path)) return *f;
    return read_file_bytes(path);
}

// The file layer throws io_failure for the core's run-time failures; here it becomes a value.
result<std::string> read_file_bytes(const std::filesystem::path& path, uintmax_t limit) {
    try {
        return read_file(path, limit);
    } catch (const io_failure& e) {
        return failure{EXIT_FAILURE_IO, e.what()};
    }
}

maybe_failure write_output_files(const std::vector<file_to_write>& files) {
    try {
        write_files(files);
    } catch (const io_failure& e) {
        return failure{EXIT_FAILURE_IO, e.what()};
    }
    return std::nullopt;
}

maybe_failure write_output_file(const std::filesystem::path& path, const std::string& bytes) {
    return write_output_files({{path, bytes, {}}});
}
