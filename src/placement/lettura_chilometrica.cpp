#include "placement/lettura_chilometrica.h"

std::vector<riferimento_chilometrico> riferimenti_chilometrici(const std::array<voce, NUMERO_VOCI>& voci) {
    std::vector<riferimento_chilometrico> out;
    for (int i = VOCE_PROGRESSIVA_TRE; i <= VOCE_PROGRESSIVA_UNO; ++i) {
        const voce& r = voci[static_cast<size_t>(i)];
        // An unused reference is written 0, 0, 0.
        if (r.inizio_zona == 0 && r.fine_zona == 0 && r.progressiva == 0) continue;
        out.push_back({r.inizio_zona, r.fine_zona});
    }
    return out;
}

std::optional<int64_t> lettura_chilometrica(const std::array<voce, NUMERO_VOCI>& voci, int64_t p) {
    for (const riferimento_chilometrico& r : riferimenti_chilometrici(voci))
        if (p >= r.inizio) return r.lettura(p);
    return std::nullopt;
}
