#pragma once
// The keyword tests: containment, with or without case. Case folding covers
// ASCII letters only, so Windows-1252 bytes above 127 compare as they are.
#include <string_view>

bool contains(std::string_view field, std::string_view word);
bool contains_ignore_case(std::string_view field, std::string_view word);
