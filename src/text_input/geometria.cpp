#include "text_input/geometria.h"

#include <algorithm>
#include <utility>

bool passo_geometria(tracciato_t& t, int32_t c, double k) { return passi_geometria(t, c, c, k) > c; }

int32_t passi_geometria(tracciato_t& t, int32_t da, int32_t a, double k) {
    const int32_t fine = std::min(a, t.ultimo_metro);
    if (da > fine) return da;
    if (t.numero_elementi() == 0) return fine + 1;  // measured only
    // The two points before, as stored (the first steps start from integers);
    // from then on each step's own results, which are what it stores.
    double x2 = t.valore(da - 2, 0), y2 = t.valore(da - 2, 1);
    double x1 = t.valore(da - 1, 0), y1 = t.valore(da - 1, 1);
    auto avanti = [&](double x, double y) {
        x2 = x1;
        y2 = y1;
        x1 = x;
        y1 = y;
        return std::pair{x, y};
    };
    if (k == 0.0)
        t.imposta_reali(da, fine, [&] {
            double dx = x1 - x2;
            double dy = y1 - y2;
            return avanti(x1 + dx, y1 + dy);
        });
    else
        t.imposta_reali(da, fine, [&] {
            double dx = x1 - x2;
            double dy = y1 - y2;
            return avanti(x1 + (dx + k * dy), y1 + (dy - k * dx));
        });
    return fine + 1;
}
