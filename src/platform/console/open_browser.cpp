#include "platform/open_browser.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

bool open_in_browser(const std::string& url) {
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
    // Reaped aside, so that no zombie is left while the server runs.
    if (started) std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return started;
}
