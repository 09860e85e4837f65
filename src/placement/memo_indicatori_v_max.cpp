#include "placement/memo_indicatori_v_max.h"

#include "model/numeric.h"
#include "placement/griglia.h"

namespace {

// The stripe counts among the board line's values, numbered as the reader records them.
constexpr size_t STRISCE_PRIMO = 4, STRISCE_SECONDO = 8;

// First-group speed in the hundreds, second-group speed / 5 below them.
int16_t coppia_velocita(int32_t prima, int32_t seconda) {
    return nearest_integer(long_mul(prima, 20) + seconda / 5.0);
}

}  // namespace

rifiuto_posa memo_indicatori_v_max(modello& m, int32_t posizione, int32_t& vas, int32_t& vbs, int32_t& vcs,
                           int32_t& strisces, int32_t& vad, int32_t& vbd, int32_t& vcd, int32_t& strisced) {
    const int32_t i = cella_oggetto(posizione);
    cella* c = cella_libera(m, i);
    if (c == nullptr) return rifiuto_cella(m, codice::indicatore_occupato, i);
    m.rivendica(static_cast<size_t>(i));
    // One field at a time: after an overflow the fields already stored stay.
    c->tipo_oggetto = OGGETTO_INDICATORE_V_MAX;
    c->dato1 = coppia_velocita(vas, vad);
    c->dato2 = coppia_velocita(vbs, vbd);
    c->dato3 = coppia_velocita(vcs, vcd);
    registro_lettura& r = m.registro;
    c->dato4 = low16(long_add(long_mul(strisces, 10), strisced), r,
                     {"speed board stripes", "first group x 10 + second group",
                      {r.posto_in_ultima(STRISCE_PRIMO), r.posto_in_ultima(STRISCE_SECONDO)}});
    return codice::nessuno;
}
