#include "text_input/geometria.h"

bool passo_geometria(tracciato_t& t, int32_t c, double k) {
    if (c > t.ultimo_metro) return false;
    double x1 = t.at(c - 1, 0).valore();
    double y1 = t.at(c - 1, 1).valore();
    double dx = x1 - t.at(c - 2, 0).valore();
    double dy = y1 - t.at(c - 2, 1).valore();
    if (k == 0.0) {
        t.at(c, 0) = elemento_tracciato::da_reale(x1 + dx);
        t.at(c, 1) = elemento_tracciato::da_reale(y1 + dy);
    } else {
        t.at(c, 0) = elemento_tracciato::da_reale(x1 + (dx + k * dy));
        t.at(c, 1) = elemento_tracciato::da_reale(y1 + (dy - k * dx));
    }
    return true;
}
