#include "platform/helper_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/app_directory.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"

extern char** environ;

namespace {

failure helper_failure(const std::string& name, const std::string& what) { return {EXIT_FAILURE_IO, name + ": " + what}; }

// Where the helper is: beside this program, else its bare name for a search of
// PATH; `folder` gets this program's folder where it is known.
std::string helper_path(const std::string& name, std::string& folder) {
    try {
        const std::filesystem::path own = app_directory();
        folder = own.string();
        const std::filesystem::path beside = own / name;
        if (::access(beside.c_str(), X_OK) == 0) return beside.string();
    } catch (const io_failure&) {
        // No program file to look beside: PATH alone.
    }
    return name;
}

struct spawn_actions {
    posix_spawn_file_actions_t a;
    spawn_actions() { posix_spawn_file_actions_init(&a); }
    ~spawn_actions() { posix_spawn_file_actions_destroy(&a); }
};

}  // namespace

result<helper_output> run_helper(const std::string& name, std::string_view input) {
    // The input from an unnamed temporary file, so that a helper that stops
    // reading early can never leave this side blocked on a full pipe.
    const std::unique_ptr<FILE, decltype(&std::fclose)> in(std::tmpfile(), &std::fclose);
    if (!in || std::fwrite(input.data(), 1, input.size(), in.get()) != input.size() || std::fflush(in.get()) != 0 ||
        ::lseek(fileno(in.get()), 0, SEEK_SET) != 0)
        return helper_failure(name, std::string("cannot write its input to a temporary file: ") + std::strerror(errno));
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return helper_failure(name, std::string("cannot make a pipe: ") + std::strerror(errno));
    spawn_actions actions;
    posix_spawn_file_actions_adddup2(&actions.a, fileno(in.get()), 0);
    posix_spawn_file_actions_adddup2(&actions.a, out[1], 1);
    std::string folder;
    const std::string path = helper_path(name, folder);
    char* argv[] = {const_cast<char*>(name.c_str()), nullptr};
    pid_t pid = 0;
    const int started = path.find('/') == std::string::npos
                            ? posix_spawnp(&pid, path.c_str(), &actions.a, nullptr, argv, environ)
                            : posix_spawn(&pid, path.c_str(), &actions.a, nullptr, argv, environ);
    ::close(out[1]);
    if (started != 0) {
        ::close(out[0]);
        if (started == ENOENT)
            return helper_failure(name, "not found beside this program" + (folder.empty() ? "" : " (in " + folder + ")") +
                                            " or on PATH");
        return helper_failure(name, std::string("cannot be started: ") + std::strerror(started));
    }
    helper_output o;
    char buffer[65536];
    int read_error = 0;
    for (;;) {
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got > 0) o.bytes.append(buffer, static_cast<size_t>(got));
        else if (got == 0) break;
        else if (errno != EINTR) {
            read_error = errno;
            break;
        }
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return helper_failure(name, std::string("lost: ") + std::strerror(errno));
    if (read_error) return helper_failure(name, std::string("cannot read its output: ") + std::strerror(read_error));
    if (!WIFEXITED(status)) return helper_failure(name, "ended on signal " + std::to_string(WTERMSIG(status)));
    o.status = WEXITSTATUS(status);
    return o;
}
