#include "placement/memo_rallentamento.h"

#include <string>

#include "model/numerico.h"
#include "model/run_time_failure.h"
#include "placement/griglia.h"

namespace {

// A start up to this position has no warning cell and no pre-warning cells.
constexpr int32_t SOGLIA_AVVISO = 1500;

// The restriction line's fields, numbered as the reader records its values.
enum campo_rallentamento : size_t { VELOCITA = 1, LUNGHEZZA = 2, F_TT = 3, D_V = 5 };

// The object code and, when given (d_v not 0), d_v as stored: what every
// restriction cell gets first.
void marca(modello& m, int64_t k, uint8_t tipo, int32_t d_v, int16_t d_v_memorizzato) {
    cella& c = m.cella_da_scrivere(static_cast<size_t>(k));
    m.rivendica(static_cast<size_t>(k));
    c.tipo_oggetto = tipo;
    if (d_v != 0) c.dato2 = d_v_memorizzato;
}

}  // namespace

rifiuto_posa memo_rallentamento(modello& m, int32_t x, int32_t& v, int32_t& l, int32_t& f_tt, int32_t f_ta,
                        int32_t& d_v) {
    // All four indices first: an overflowing x + l fails whatever the cells hold.
    const registro_lettura& letto = m.registro;
    const std::string_view chiave = letto.chiave_in_ultima(genere_riga::rallentamento);
    const int32_t avanti = calcolo_campi(
        {0}, chiave, letto.posto_in_ultima(0), [&] { return conto(x, "-", 1200, int64_t{x} - 1200); },
        [&] { return long_sub(x, 1200); });
    const int32_t oltre = calcolo_campi(
        {0, LUNGHEZZA}, chiave, letto.posto_in_ultima(0), [&] { return conto(x, "+", l, int64_t{x} + l); },
        [&] { return long_add(x, l); });
    const int32_t w = cella_oggetto(avanti);
    const int32_t s = cella_oggetto(x);
    const int32_t e = cella_oggetto(oltre);
    const int32_t q = cella_valore(avanti);  // no + 1: the cell before w, or two before on a half cell

    const bool con_avviso = x > SOGLIA_AVVISO;
    cella* avviso = nullptr;
    if (con_avviso) {
        avviso = cella_libera(m, w);
        if (avviso == nullptr) return rifiuto_cella(m, codice::avviso_occupato, w);
    }
    cella* inizio = cella_libera(m, s);
    if (inizio == nullptr) return rifiuto_cella(m, codice::inizio_occupato, s);
    // An end beyond the grid, or before cell 0 for a negative length, is refused here too.
    cella* fine = cella_libera(m, e);
    if (fine == nullptr) return rifiuto_cella(m, codice::fine_occupata, e);

    // Each value once, as every cell that gets it stores it.
    registro_lettura& r = m.registro;
    const int16_t d_v_celle = d_v != 0 ? low16(d_v, r, {"restriction cell value", r.posto_in_ultima(D_V)}) : 0;
    const int16_t velocita = low16(v, r, {"restriction speed", r.posto_in_ultima(VELOCITA)});
    const int16_t f_tt_celle = low16(f_tt, r, {"restriction start and end value", r.posto_in_ultima(F_TT)});

    // The end goes first, so a start in the same cell leaves its own code.
    marca(m, e, OGGETTO_FINE_RALLENTAMENTO, d_v, d_v_celle);
    marca(m, s, OGGETTO_INIZIO_RALLENTAMENTO, d_v, d_v_celle);
    if (con_avviso) {
        marca(m, w, OGGETTO_AVVISO_RALLENTAMENTO, d_v, d_v_celle);
        avviso->dato1 = velocita;
    }
    inizio->dato1 = velocita;
    fine->dato1 = velocita;
    inizio->dato3 = f_tt_celle;
    fine->dato3 = f_tt_celle;

    if (!con_avviso || f_ta == 0) return codice::nessuno;
    cella* preavviso[4];
    for (int n = 0; n < 4; ++n) {
        preavviso[n] = cella_libera(m, static_cast<int64_t>(q) - n);
        // The warning, start and end cells stay written.
        if (preavviso[n] == nullptr) return rifiuto_cella(m, codice::preavviso_occupato, static_cast<int64_t>(q) - n);
    }
    // Numbered 1 to 4 going back from the warning cell.
    for (int n = 0; n < 4; ++n) {
        m.rivendica(static_cast<size_t>(q - n));
        preavviso[n]->tipo_oggetto = OGGETTO_PREAVVISO_RALLENTAMENTO;
        preavviso[n]->dato1 = static_cast<int16_t>(n + 1);
        if (d_v != 0) preavviso[n]->dato2 = static_cast<int16_t>(n + 1);
    }
    return codice::nessuno;
}
