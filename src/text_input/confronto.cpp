#include "text_input/confronto.h"

#include <algorithm>

namespace {

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool contains(std::string_view field, std::string_view word) {
    return field.find(word) != std::string_view::npos;
}

size_t find_ignore_case(std::string_view field, std::string_view word) {
    auto it = std::search(field.begin(), field.end(), word.begin(), word.end(),
                          [](char a, char b) { return fold(a) == fold(b); });
    return it == field.end() && !word.empty() ? std::string_view::npos : static_cast<size_t>(it - field.begin());
}

bool contains_ignore_case(std::string_view field, std::string_view word) {
    return find_ignore_case(field, word) != std::string_view::npos;
}
