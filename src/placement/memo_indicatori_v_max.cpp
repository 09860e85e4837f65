#include "placement/memo_indicatori_v_max.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/numerico.h"
#include "model/run_time_failure.h"
#include "placement/griglia.h"

namespace {

// The stripe counts among the board line's values, numbered as the reader records them.
constexpr size_t STRISCE_PRIMO = 4, STRISCE_SECONDO = 8;

// The speed pairs among the board line's values: first group a, b, c, each with
// its second-group speed four values on.
constexpr size_t VELOCITA_PRIMO = 1, VELOCITA_SECONDO = 5;

// First-group speed in the hundreds, second-group speed / 5 below them. A pair that
// does not fit is a run-time failure at the first group's field, naming both.
int16_t coppia_velocita(const registro_lettura& r, size_t coppia, int32_t prima, int32_t seconda) {
    try {
        return nearest_integer(long_mul(prima, 20) + seconda / 5.0);
    } catch (const run_time_failure&) {
        const size_t campo = VELOCITA_PRIMO + coppia;
        std::string chiave(r.chiave_in_ultima(genere_riga::indicatori_vmax));
        chiave.erase(0, std::min(chiave.find_first_not_of(" \t"), chiave.size()));
        const int64_t centinaia = int64_t{prima} * 20;
        std::string come = std::to_string(prima) + " x 20";
        if (centinaia >= INT32_MIN && centinaia <= INT32_MAX) {
            come += " + " + std::to_string(seconda) + " / 5 = " +
                    std::to_string(static_cast<int64_t>(std::nearbyint(centinaia + seconda / 5.0))) +
                    " does not fit 16 bits (-32768 to 32767)";
        } else {
            come += " = " + std::to_string(centinaia) + " does not fit 32 bits (-2147483648 to 2147483647)";
        }
        throw run_time_failure("fields " + std::to_string(campo + 1) + " and " +
                                   std::to_string(campo + VELOCITA_SECONDO - VELOCITA_PRIMO + 1) + " of '" + chiave +
                                   "': " + come,
                               r.posto_in_ultima(campo));
    }
}

// A board reads each packed value back as two speeds in steps of 5 km/h, the
// first group's in the hundreds and the second's below them: a speed that is no
// such step, or a second one past 495, reads back otherwise than written.
void nota_passi(registro_lettura& r, size_t coppia, int32_t prima, int32_t seconda, int16_t valore) {
    if (valore < 0) return;
    static constexpr const char* PERCHE = "a board holds its speeds in steps of 5 km/h, from 0 to 495";
    const int32_t letta_prima = valore / 100 * 5, letta_seconda = valore % 100 * 5;
    // The first group's remainder spills into the second: one warning, at its cause.
    if (letta_prima != prima)
        r.arrotondati.push_back({"speed board value", r.posto_in_ultima(VELOCITA_PRIMO + coppia), prima, letta_prima,
                                 std::string(PERCHE) +
                                     (letta_seconda != seconda ? ", and its remainder turns the second group's " +
                                                                     std::to_string(seconda) + " into " +
                                                                     std::to_string(letta_seconda)
                                                               : "")});
    else if (letta_seconda != seconda)
        r.arrotondati.push_back(
            {"speed board value", r.posto_in_ultima(VELOCITA_SECONDO + coppia), seconda, letta_seconda, PERCHE});
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
    registro_lettura& r = m.registro;
    c->dato1 = coppia_velocita(r, 0, vas, vad);
    nota_passi(r, 0, vas, vad, c->dato1);
    c->dato2 = coppia_velocita(r, 1, vbs, vbd);
    nota_passi(r, 1, vbs, vbd, c->dato2);
    c->dato3 = coppia_velocita(r, 2, vcs, vcd);
    nota_passi(r, 2, vcs, vcd, c->dato3);
    const int32_t strisce = calcolo_campi(
        {STRISCE_PRIMO, STRISCE_SECONDO}, r.chiave_in_ultima(genere_riga::indicatori_vmax), r.posto_in_ultima(STRISCE_PRIMO),
        [&] {
            return std::to_string(strisces) + " x 10 + " + std::to_string(strisced) + " = " +
                   std::to_string(int64_t{strisces} * 10 + strisced);
        },
        [&] { return long_add(long_mul(strisces, 10), strisced); });
    c->dato4 = low16(strisce, r,
                     {"speed board stripes", "first group x 10 + second group",
                      {r.posto_in_ultima(STRISCE_PRIMO), r.posto_in_ultima(STRISCE_SECONDO)}});
    return codice::nessuno;
}
