#include "diagnostics/nearest_name.h"

#include <algorithm>
#include <numeric>

namespace {

size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), size_t{0});
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::optional<std::string> nearest_name(const std::string& word, const std::vector<std::string>& candidates) {
    std::optional<std::string> best;
    size_t best_distance = 3;
    for (const std::string& c : candidates) {
        // The distance is at least the difference of the lengths: a long word costs nothing.
        if ((word.size() > c.size() ? word.size() - c.size() : c.size() - word.size()) >= best_distance) continue;
        const size_t d = edit_distance(word, c);
        if (d < best_distance && 2 * d < word.size()) {
            best = c;
            best_distance = d;
        }
    }
    return best;
}
