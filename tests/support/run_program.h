#pragma once
// Runs the real executable with arguments, as a user's shell would, and collects
// its exit status and both output streams.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

struct program_result {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs `command` (its first word found on PATH) in the working directory `cwd`.
inline program_result run_command(std::vector<std::string> command, const std::filesystem::path& cwd) {
    temp_dir capture;
    const auto out_path = capture.path() / "out", err_path = capture.path() / "err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || chdir(cwd.c_str()) != 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        for (std::string& a : command) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    program_result r;
    int wstatus = 0;
    if (pid > 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus)) r.status = WEXITSTATUS(wstatus);
    r.out = slurp(out_path);
    r.err = slurp(err_path);
    return r;
}

// Runs the program with `args` in the working directory `cwd`.
inline program_result run_program(const std::vector<std::string>& args,
                                  const std::filesystem::path& cwd = std::filesystem::current_path()) {
    std::vector<std::string> command = {test_paths::program};
    command.insert(command.end(), args.begin(), args.end());
    return run_command(std::move(command), cwd);
}
