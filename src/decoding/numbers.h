#pragma once
// Numbers and index ranges as the inspect views write and read them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The shortest text that reads back as the same double.
std::string exact_number(double v);
std::string fixed_number(double v, int decimals);

// An inclusive range of indices given as FROM-TO (or a single index).
struct index_range {
    int64_t from = 0;
    int64_t to = 0;
};
std::optional<index_range> parse_index_range(std::string_view text);

