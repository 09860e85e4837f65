#pragma once
// Whether the diagnostics on stderr are coloured.
#include <string>

// For a choice of "auto", "always" or "never": auto colours only a terminal, and
// not when NO_COLOR is set.
bool use_colour(const std::string& choice);
