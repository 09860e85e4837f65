#include "platform/file_ops.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/io_failure.h"

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
    // Windows paths are wide: the narrow fopen would go through the ANSI code page.
    const std::wstring wmode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

bool file_exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string read_file(const std::filesystem::path& path) {
    std::FILE* f = open_file(path, "rb");
    if (!f) throw io_failure(path, "open", std::strerror(errno));
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    bool failed = std::ferror(f) != 0;
    int saved = errno;
    std::fclose(f);
    if (failed) throw io_failure(path, "read", std::strerror(saved));
    return bytes;
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".partial";
    std::FILE* f = open_file(temporary, "wb");
    if (!f) throw io_failure(path, "create", std::strerror(errno));
    std::string reason;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) reason = std::strerror(errno);
    if (std::fclose(f) != 0 && reason.empty()) reason = std::strerror(errno);
    std::error_code ec;
    // std::filesystem's rename replaces an existing target on Windows too.
    if (reason.empty()) {
        std::filesystem::rename(temporary, path, ec);
        if (ec) reason = ec.message();
    }
    if (!reason.empty()) {
        std::filesystem::remove(temporary, ec);
        throw io_failure(path, "write", reason);
    }
}

void delete_file(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::remove(path, ec))
        throw io_failure(path, "delete", ec ? ec.message() : std::strerror(ENOENT));
}
