#include "platform/terminal.h"

#include <unistd.h>

bool stderr_is_terminal() { return isatty(STDERR_FILENO) == 1; }

// POSIX terminals act on escape sequences as they are.
bool enable_terminal_colours() { return true; }
