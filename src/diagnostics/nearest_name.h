#pragma once
// The known name a mistyped one most likely meant, for "did you mean" hints.
#include <optional>
#include <string>
#include <vector>

// The candidate closest to `word` by edit distance, when it is close enough to
// be a typo (at most 2 edits, and fewer than half the word); nothing otherwise.
std::optional<std::string> nearest_name(const std::string& word, const std::vector<std::string>& candidates);
