#pragma once
// An editor's Unicode text and the compiler's Windows-1252 bytes, and the
// columns of one in the units of the other.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/luogo_testo.h"

// The units an editor counts a line's characters in.
enum class position_encoding { utf8, utf16, utf32 };

// A character of the editor's text that Windows-1252 cannot hold, where it stands
// (its byte column in the converted text, which holds '?' there) and what it is.
struct unconvertible_character {
    luogo_testo place;
    std::string character;  // UTF-8
    char32_t code_point = 0;
};

struct text_1252 {
    std::string bytes;
    std::vector<unconvertible_character> unconvertible;
};

// The editor's text as the compiler reads it: one byte for each character.
// Invalid UTF-8 (which a JSON string cannot carry) is taken byte by byte.
text_1252 to_1252(std::string_view utf8, file_testo file);

// The lines of a text, split as the compiler splits them (CR LF, LF or CR), without their ends.
std::vector<std::string_view> split_lines(std::string_view text);

// The editor's units before the first `characters` characters of a UTF-8 line
// (the whole line when it has fewer), and the reverse: how many whole characters
// come before `units` units.
int32_t units_before(std::string_view utf8_line, int32_t characters, position_encoding e);
int32_t characters_before(std::string_view utf8_line, int32_t units, position_encoding e);
