#include "platform/input_files.h"


#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

std::optional<std::string> input_problem(const std::filesystem::path& path, uintmax_t limit) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        if (ec && ec != std::errc::no_such_file_or_directory) return ec.message();
        return "no such file";
    }
    if (std::filesystem::is_directory(status)) return "is a directory, not a file";
    if (!std::filesystem::is_regular_file(status)) return "is not a regular file";
    // What the name showed may be swapped before the open: checked again on what opens.
    auto opened = open_input(path, limit);
    if (std::string* problem = std::get_if<std::string>(&opened)) return *problem;
    return std::nullopt;
}

std::optional<std::string> output_problem(const std::filesystem::path& path, bool create) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) return std::nullopt;
    if (std::filesystem::exists(status)) return "exists and is not a directory";
    if (ec && ec != std::errc::no_such_file_or_directory) return ec.message();
    if (!create) return std::nullopt;
    std::filesystem::create_directories(path, ec);
    if (ec) return ec.message();
    return std::nullopt;
}

result<std::string> read_input_file(const std::filesystem::path& path) {
    if (auto problem = input_problem(path)) return failure{EXIT_FAILURE_IO, utf8_path(path) + ": " + *problem};
    try {
        return read_file(path);
    } catch (const io_failure& e) {
        return failure{EXIT_FAILURE_IO, e.what()};
    }
}

maybe_failure write_output_file(const std::filesystem::path& path, const std::string& bytes) {
    try {
        write_file(path, bytes);
    } catch (const io_failure& e) {
        return failure{EXIT_FAILURE_IO, e.what()};
    }
    return std::nullopt;
}
