#pragma once
// `errors`: every error code, what it means and how an author mends it.
#include <optional>
#include <ostream>

struct errors_options {
    std::optional<int> code;  // one code; none: all of them
    bool json = false;
    bool verbose = false;  // also which stage records it and what the run does next
};

// Returns the exit status: 0, or 2 for a code that does not exist.
int run_errors(const errors_options& options, std::ostream& out, std::ostream& err);
