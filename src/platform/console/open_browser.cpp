#include "platform/open_browser.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>
#include <utility>

extern char** environ;

bool open_in_browser(const std::string& url, std::function<void(int status)> failed_later) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // xdg-open's own chatter would mix with the server's lines.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string program = "xdg-open", argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    // Reaped aside, so that no zombie is left while the server runs; a desktop
    // with no browser to hand is told only by the exit status.
    if (started)
        std::thread([pid, failed = std::move(failed_later)] {
            int status = 0;
            if (waitpid(pid, &status, 0) != pid) return;
            const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            if (code != 0 && failed) failed(code);
        }).detach();
    return started;
}
