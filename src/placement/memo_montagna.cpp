#include "placement/memo_montagna.h"

#include <algorithm>
#include <string>

#include "model/numerico.h"
#include "model/run_time_failure.h"
#include "placement/griglia.h"

namespace {

// Types above this carry markers and mean the type less this value.
constexpr int32_t TIPO_CON_MARCATORI = 10;
// A span starting at most this far after the previous span's end gets type 3.
constexpr int32_t DISTANZA_RACCORDO = 150;
constexpr int32_t TIPO_RACCORDO = 3;
// Every fourth cell of a marked span gets the marker.
constexpr int64_t PASSO_MARCATORI = 4;
// The type among the span line's values, numbered as the reader records them.
constexpr size_t CAMPO_TIPO = 2;

}  // namespace

codice memo_montagna(modello& m, int32_t& inizio, int32_t& fine, int32_t& tipo) {
    // The span arrays hold spans 1 to MAX_MONTAGNE: any further span is refused whole.
    if (m.numero_montagne < 0 || m.numero_montagne >= MAX_MONTAGNE) return codice::montagne_esaurite;

    bool marcatori = false;
    if (tipo > TIPO_CON_MARCATORI) {
        marcatori = true;
        tipo -= TIPO_CON_MARCATORI;
    }

    const int32_t n = ++m.numero_montagne;
    m.montagne_inizio[static_cast<size_t>(n)] = inizio;
    m.montagne_fine[static_cast<size_t>(n)] = fine;
    const auto dopo_la_precedente = [&] {
        const int32_t fine_prima = m.montagne_fine[static_cast<size_t>(n - 1)];
        const registro_lettura& r = m.registro;
        return calcolo_campi(
            {0}, r.chiave_in_ultima(genere_riga::montagna), r.posto_in_ultima(0),
            [&] { return "the start less the previous span's end, " + conto(inizio, "-", fine_prima, int64_t{inizio} - fine_prima) + ","; },
            [&] { return long_sub(inizio, fine_prima); });
    };
    if (n > 1 && dopo_la_precedente() <= DISTANZA_RACCORDO) tipo = TIPO_RACCORDO;

    const int32_t prima = cella_valore(inizio);
    const int32_t ultima = cella_spostata(fine, -1);
    if (!m.griglia_allocata()) return codice::nessuno;
    // Cells outside the grid are not written, but the marker count runs from the first cell.
    const int64_t da = std::max<int64_t>(prima, 0);
    const int64_t a = std::min<int64_t>(ultima, m.numero_celle);
    if (da > a) return codice::nessuno;
    // The type as every cell of the span stores it.
    const luogo_testo campo_tipo = m.registro.posto_in_ultima(CAMPO_TIPO);
    const uint8_t tipo_celle =
        marcatori ? low8(tipo, m.registro, {"mountain type", "the type written less 10, for the markers", {campo_tipo}})
                  : low8(tipo, m.registro, {"mountain type", campo_tipo});
    for (int64_t i = da; i <= a; ++i) {
        cella* c = cella_in_griglia(m, i);
        if (c == nullptr) continue;
        c->tipo_montagna = tipo_celle;
        const int64_t conta = i - prima + 1;
        if (marcatori && conta % PASSO_MARCATORI == 0 && c->tipo_oggetto == OGGETTO_NESSUNO)
            c->tipo_oggetto = OGGETTO_MONTAGNA;
    }
    return codice::nessuno;
}
