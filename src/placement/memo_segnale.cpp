#include "placement/memo_segnale.h"

#include "model/numeric.h"
#include "placement/griglia.h"

namespace {

// side*10 + value, the packing shared by the three paired fields.
int16_t coppia(int32_t lato, int32_t valore) { return low16(long_add(long_mul(lato, 10), valore)); }

}  // namespace

rifiuto_posa memo_segnale(modello& m, int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2, int32_t& s3,
                  int32_t& rapp, int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3, int32_t& tempo) {
    const int32_t i = cella_oggetto(posizione);
    cella* c = cella_libera(m, i);
    if (c == nullptr) return rifiuto_cella(m, codice::segnale_occupato, i);
    m.rivendica(static_cast<size_t>(i));

    // One field at a time: after an overflow the fields already stored stay.
    c->tipo_oggetto = OGGETTO_SEGNALE;
    c->dato4 = low16(long_add(long_add(long_mul(rapp, 10), long_mul(sx, 3)), dx));
    c->dato1 = coppia(s1, d1);
    c->dato2 = coppia(s2, d2);
    c->dato3 = coppia(s3, d3);

    // A time of 1 to 100 is raised to 101, and the caller sees the raised value.
    if (tempo >= 1 && tempo <= 100) tempo = 101;
    c->tempo_segnale = sx == 2 ? low8(tempo) : 0;

    // Approach codes 100 to 400 m before the signal, written over whatever is there;
    // near the start of the line the cells before index 0 do not exist and are skipped.
    for (int32_t k = 1; k <= 4; ++k) {
        cella* a = cella_in_griglia(m, static_cast<int64_t>(i) - 2 * k);
        if (a == nullptr) continue;
        a->preavviso = low8(long_add(long_add(long_mul(sx, 30), long_mul(dx, 10)), k));
    }
    return codice::nessuno;
}
