#pragma once
// Another program of this package, run as a helper: found beside this program's
// own file, else on PATH; started without a shell.
#include <string>
#include <string_view>

#include "platform/failure.h"

struct helper_output {
    int status = 0;      // its exit status
    std::string bytes;   // what it wrote on its standard output
};

// Runs `name` with `input` on its standard input and waits for it. A failure when
// it cannot be found or started, or ends on a signal; its standard error is ours.
result<helper_output> run_helper(const std::string& name, std::string_view input);
