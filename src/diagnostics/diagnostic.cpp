#include "diagnostics/diagnostic.h"

#include <algorithm>
#include <tuple>

void sort_diagnostics(std::vector<diagnostic>& diagnostics, const registro_lettura& files) {
    const auto rank = [&](const diagnostic& d) {
        if (d.place.file.empty()) return 2;
        if (d.place.file == files.percorso_linea) return 0;
        return d.place.file == files.percorso_treno ? 1 : 2;
    };
    std::stable_sort(diagnostics.begin(), diagnostics.end(), [&](const diagnostic& a, const diagnostic& b) {
        return std::tuple(rank(a), a.place.line, a.place.column) < std::tuple(rank(b), b.place.line, b.place.column);
    });
}
