#include "platform/format_reference.h"

#include <system_error>

#include "platform/app_directory.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

std::string format_reference(const std::filesystem::path& program_directory) {
    const std::filesystem::path places[] = {
        program_directory / "format.md",
        program_directory.parent_path() / "share" / "doc" / "scenario-compiler" / "format.md",
    };
    for (const auto& place : places) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(place, ec)) return utf8_path(place.lexically_normal());
    }
    return "docs/format.md";
}

std::string format_reference() {
    try {
        return format_reference(app_directory());
    } catch (const io_failure&) {
        // A program that cannot find itself still names the reference as the source tree does.
        return format_reference(std::filesystem::path());
    }
}
