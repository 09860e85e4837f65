#include "platform/file_ops.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/io_failure.h"

bool file_exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string read_file(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
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
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) throw io_failure(path, "create", std::strerror(errno));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int saved = errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        std::remove(temporary.c_str());
        throw io_failure(path, "write", std::strerror(saved));
    }
}

void delete_file(const std::filesystem::path& path) {
    if (std::remove(path.c_str()) != 0) throw io_failure(path, "delete", std::strerror(errno));
}
