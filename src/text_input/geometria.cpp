#include "text_input/geometria.h"

bool passo_geometria(tracciato_t& t, int32_t c, double k) {
    if (c > t.ultimo_metro) return false;
    double x1 = t.valore(c - 1, 0);
    double y1 = t.valore(c - 1, 1);
    double dx = x1 - t.valore(c - 2, 0);
    double dy = y1 - t.valore(c - 2, 1);
    if (k == 0.0) {
        t.imposta_reale(c, 0, x1 + dx);
        t.imposta_reale(c, 1, y1 + dy);
    } else {
        t.imposta_reale(c, 0, x1 + (dx + k * dy));
        t.imposta_reale(c, 1, y1 + (dy - k * dx));
    }
    return true;
}
