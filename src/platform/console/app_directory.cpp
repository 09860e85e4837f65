#include "platform/app_directory.h"

#include <system_error>

#include "platform/io_failure.h"

std::filesystem::path app_directory() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw io_failure("/proc/self/exe", "locate the program file", ec.message());
    return exe.parent_path();
}
