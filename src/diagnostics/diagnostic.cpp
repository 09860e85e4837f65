#include "diagnostics/diagnostic.h"

#include <algorithm>
#include <tuple>

std::string fix_description(const fix_it& f) {
    return (f.place.length == 0 ? "insert '" : "replace with '") + f.text + "'";
}

void sort_diagnostics(std::vector<diagnostic>& diagnostics) {
    std::stable_sort(diagnostics.begin(), diagnostics.end(), [](const diagnostic& a, const diagnostic& b) {
        return std::tuple(a.place.file, a.place.line, a.place.column) <
               std::tuple(b.place.file, b.place.line, b.place.column);
    });
}
