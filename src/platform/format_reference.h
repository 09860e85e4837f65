#pragma once
// Where the author's reference to the text files (docs/format.md) is, for the
// "see:" references that name its sections.
#include <filesystem>
#include <string>

// The reference as a path (UTF-8) a reader can open: beside the program (the
// Windows zip), in the package's documentation folder (the .deb), or else the
// source tree's docs/format.md, relative as the source tree names it.
std::string format_reference(const std::filesystem::path& program_directory);
// The same, for the running program.
std::string format_reference();
