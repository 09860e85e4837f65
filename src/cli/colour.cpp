#include "cli/colour.h"

#include <cstdlib>

#include "platform/terminal.h"

bool use_colour(const std::string& choice) {
    if (choice == "never") return false;
    if (choice == "always") {
        enable_terminal_colours();  // a terminal that cannot still gets what was asked for
        return true;
    }
    const char* no_colour = std::getenv("NO_COLOR");
    return stderr_is_terminal() && (no_colour == nullptr || *no_colour == '\0') && enable_terminal_colours();
}
