#include "platform/file_ops.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "platform/exit_status.h"
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

namespace {

std::string size_text(uintmax_t n) { return std::to_string(n) + " bytes"; }

}  // namespace

opened_input::~opened_input() {
    if (file_) std::fclose(file_);
}

namespace {

failure unreadable(std::string reason) { return {EXIT_FAILURE_IO, std::move(reason)}; }

}  // namespace

result<opened_input> open_input(const std::filesystem::path& path, uintmax_t limit) {
    // Opened first, then checked on the descriptor: a check by name would let the
    // path be swapped between the two (for a FIFO, whose open would never return).
#ifdef _WIN32
    std::FILE* f = open_file(path, "rb");
    if (!f) return unreadable(std::strerror(errno));
    struct _stat64 st;
    const bool statted = _fstat64(_fileno(f), &st) == 0;
    const bool regular = statted && (st.st_mode & S_IFMT) == S_IFREG;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return unreadable(std::strerror(errno));
    struct stat st;
    const bool statted = ::fstat(fd, &st) == 0;
    const bool regular = statted && S_ISREG(st.st_mode);
    std::FILE* f = regular ? fdopen(fd, "rb") : nullptr;
    if (!f) {
        const int saved = errno;
        ::close(fd);
        if (regular) return unreadable(std::strerror(saved));
    }
#endif
    if (!statted || !regular) {
        if (f) std::fclose(f);
        const bool directory = statted && (st.st_mode & S_IFMT) == S_IFDIR;
        return unreadable(directory ? "is a directory, not a file" : "is not a regular file");
    }
    const auto size = static_cast<uintmax_t>(st.st_size);
    if (size > limit) {
        std::fclose(f);
        return unreadable(too_large(size, limit));
    }
    opened_input in;
    in.file_ = f;
    in.size_ = size;
    in.limit_ = limit;
    return in;
}

std::string too_large(uintmax_t size, uintmax_t limit) {
    return "is too large: " + size_text(size) + ", over the limit of " + size_text(limit);
}

result<std::string> opened_input::read_all() {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size_));
    char buffer[65536];
    size_t n;
    // The file may grow while it is read: the limit holds for what is read.
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) {
        if (bytes.size() + n > limit_) return unreadable(too_large(bytes.size() + n, limit_));
        bytes.append(buffer, n);
    }
    if (std::ferror(file_) != 0) return unreadable(std::strerror(errno));
    return bytes;
}

std::string read_file(const std::filesystem::path& path, uintmax_t limit) {
    result<opened_input> opened = open_input(path, limit);
    if (!opened) throw io_failure(path, "open", opened.error().message);
    result<std::string> bytes = opened->read_all();
    if (!bytes) throw io_failure(path, "read", bytes.error().message);
    return std::move(*bytes);
}

namespace {

// A file that did not exist before: O_EXCL, so that a name the user already
// has is never opened, let alone truncated.
std::FILE* create_new_file(const std::filesystem::path& path) {
#ifdef _WIN32
    const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (!f) _close(fd);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (!f) ::close(fd);
#endif
    return f;
}

// A new file named after the target in the target's directory: NAME.partial,
// NAME.partial2, ... Sets `temporary`; nullptr and errno when none can be made.
std::FILE* create_temporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    for (int n = 1; n <= 100; ++n) {
        temporary = target;
        temporary += n == 1 ? ".partial" : ".partial" + std::to_string(n);
        if (std::FILE* f = create_new_file(temporary)) return f;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

std::size_t standard_write(const void* data, std::size_t size, std::FILE* file) {
    return std::fwrite(data, 1, size, file);
}

// The reason a step failed: the system's, or a plain one when it gave none.
std::string reason_of(int error) { return error != 0 ? std::strerror(error) : "the write stopped short"; }

}  // namespace

void write_files(const std::vector<file_to_write>& files, write_step step) {
    if (!step) step = standard_write;
    // A directory under a target's name would only refuse the rename, after
    // earlier targets had been replaced: refuse before anything is written.
    for (const file_to_write& f : files) {
        std::error_code ec;
        if (std::filesystem::is_directory(f.path, ec)) throw io_failure(f.path, "write", std::strerror(EISDIR));
    }
    std::vector<std::filesystem::path> temporaries;
    auto discard = [&temporaries](std::size_t from) {
        std::error_code ec;
        for (std::size_t i = from; i < temporaries.size(); ++i) std::filesystem::remove(temporaries[i], ec);
    };
    for (const file_to_write& f : files) {
        std::filesystem::path temporary;
        errno = 0;
        std::FILE* out = create_temporary(f.path, temporary);
        if (!out) {
            const int error = errno;
            discard(0);
            throw io_failure(f.path, "create", reason_of(error != 0 ? error : EEXIST));
        }
        temporaries.push_back(temporary);
        errno = 0;
        int error = 0;
        const auto put = [&](std::string_view piece) {
            if (error == 0 && step(piece.data(), piece.size(), out) != piece.size()) error = errno != 0 ? errno : -1;
        };
        if (f.produce)
            f.produce(put);
        else
            put(f.bytes);
        if (std::fclose(out) != 0 && error == 0) error = errno != 0 ? errno : -1;
        if (error != 0) {
            discard(0);
            throw io_failure(f.path, "write", reason_of(error < 0 ? 0 : error));
        }
    }
    // Every byte is on disk: renames within a directory are what is left, and
    // std::filesystem's rename replaces an existing target on Windows too.
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code ec;
        std::filesystem::rename(temporaries[i], files[i].path, ec);
        if (ec) {
            discard(i);
            throw io_failure(files[i].path, "write", ec.message());
        }
    }
}

void write_file(const std::filesystem::path& path, const std::string& bytes) { write_files({{path, bytes, {}}}); }

void delete_file(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::remove(path, ec))
        throw io_failure(path, "delete", ec ? ec.message() : std::strerror(ENOENT));
}
