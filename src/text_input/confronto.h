#pragma once
// The keyword tests: containment, with or without case. Case folding covers
// ASCII letters only, so Windows-1252 bytes above 127 compare as they are.
#include <cstddef>
#include <string_view>

bool contains(std::string_view field, std::string_view word);
bool contains_ignore_case(std::string_view field, std::string_view word);
// Where word first stands in field, ignoring case; npos when it does not.
size_t find_ignore_case(std::string_view field, std::string_view word);
