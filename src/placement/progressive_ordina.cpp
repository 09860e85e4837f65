#include "placement/progressive_ordina.h"

#include <array>

#include "model/numerico.h"

namespace {

// One kilometric series; its three values always move together.
struct serie {
    int32_t inizio = 0;       // start position (m)
    int32_t chilometrica = 0; // kilometric value at the start (m)
    int32_t flag = 0;         // 1: +100 correction
};

serie leggi(const voce& v) { return {v.inizio_zona, v.fine_zona, v.progressiva}; }

void scrivi(voce& v, const serie& s) {
    v.inizio_zona = s.inizio;
    v.fine_zona = s.chilometrica;
    v.progressiva = s.flag;
}

}  // namespace

void progressive_ordina(modello& m) {
    const serie t = leggi(m.voci[VOCE_PROGRESSIVA_TRE]);
    const serie d = leggi(m.voci[VOCE_PROGRESSIVA_DUE]);
    const serie u = leggi(m.voci[VOCE_PROGRESSIVA_UNO]);
    const serie zero{};

    // Slots 1, 2, 3 are records 81, 82, 83.
    std::array<serie, 3> slot{zero, zero, zero};
    if (long_add(long_add(t.inizio, d.inizio), u.inizio) != 0) {
        if (t.inizio > d.inizio && t.inizio > u.inizio) {
            slot = d.inizio <= u.inizio ? std::array{t, u, d} : std::array{t, d, u};
        } else if (d.inizio > t.inizio && d.inizio > u.inizio) {
            slot = t.inizio <= u.inizio ? std::array{d, u, t} : std::array{d, t, u};
        } else if (u.inizio > t.inizio && u.inizio > d.inizio) {
            slot = t.inizio <= d.inizio ? std::array{u, d, t} : std::array{u, t, d};
        }
        // A shared largest start leaves all three slots cleared.
    } else {
        // Every series starts together: the last holding rule wins.
        if (t.chilometrica > 0) slot = {t, d, u};
        if (d.chilometrica > 0) slot = {d, t, u};
        if (u.chilometrica > 0) slot = {u, d, t};
    }

    for (int k = 0; k < 3; ++k) scrivi(m.voci[VOCE_PROGRESSIVA_TRE + k], slot[k]);
    // Corrected slot by slot, so an overflow leaves the earlier slots corrected.
    for (int k = 0; k < 3; ++k) {
        voce& v = m.voci[VOCE_PROGRESSIVA_TRE + k];
        if (v.progressiva == 1) v.fine_zona = long_add(v.fine_zona, 100);
    }
}
