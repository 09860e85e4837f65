#include "placement/memo_segnale.h"

#include <string>

#include "model/numerico.h"
#include "model/run_time_failure.h"
#include "placement/griglia.h"

namespace {

// The signal line's fields, numbered as the reader records its values.
enum campo_segnale : size_t { SX = 1, S1, S2, S3, RAPP, DX, D1, D2, D3, TEMPO };

// A time value in this range is raised to TEMPO_ALZATO; the cell keeps it when sx is SX_CON_TEMPO.
constexpr int32_t TEMPO_MINIMO = 1, TEMPO_MASSIMO = 100, TEMPO_ALZATO = 101;
constexpr int32_t SX_CON_TEMPO = 2;

// side*10 + value, the packing shared by the three paired fields.
int16_t coppia(registro_lettura& r, int32_t lato, int32_t valore, const char* come, campo_segnale campo_lato,
               campo_segnale campo_valore) {
    const int32_t v = calcolo_campi(
        {campo_lato, campo_valore}, r.chiave_in_ultima(genere_riga::segnale), r.posto_in_ultima(campo_lato),
        [&] {
            return std::to_string(lato) + " x 10 + " + std::to_string(valore) + " = " +
                   std::to_string(int64_t{lato} * 10 + valore);
        },
        [&] { return long_add(long_mul(lato, 10), valore); });
    return low16(v, r, {"signal value", come, {r.posto_in_ultima(campo_lato), r.posto_in_ultima(campo_valore)}});
}

}  // namespace

rifiuto_posa memo_segnale(modello& m, int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2, int32_t& s3,
                  int32_t& rapp, int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3, int32_t& tempo) {
    const int32_t i = cella_oggetto(posizione);
    cella* c = cella_libera(m, i);
    if (c == nullptr) return rifiuto_cella(m, codice::segnale_occupato, i);
    m.rivendica(static_cast<size_t>(i));
    registro_lettura& r = m.registro;

    // One field at a time: after an overflow the fields already stored stay.
    c->tipo_oggetto = OGGETTO_SEGNALE;
    const int32_t quarto = calcolo_campi(
        {RAPP, SX, DX}, r.chiave_in_ultima(genere_riga::segnale), r.posto_in_ultima(RAPP),
        [&] {
            return std::to_string(rapp) + " x 10 + " + std::to_string(sx) + " x 3 + " + std::to_string(dx) + " = " +
                   std::to_string(int64_t{rapp} * 10 + int64_t{sx} * 3 + dx);
        },
        [&] { return long_add(long_add(long_mul(rapp, 10), long_mul(sx, 3)), dx); });
    c->dato4 = low16(quarto, r,
                     {"signal value", "rapp x 10 + sx x 3 + dx",
                      {r.posto_in_ultima(RAPP), r.posto_in_ultima(SX), r.posto_in_ultima(DX)}});
    c->dato1 = coppia(r, s1, d1, "s1 x 10 + d1", S1, D1);
    c->dato2 = coppia(r, s2, d2, "s2 x 10 + d2", S2, D2);
    c->dato3 = coppia(r, s3, d3, "s3 x 10 + d3", S3, D3);

    // A time of 1 to 100 is raised to 101, and the caller sees the raised value;
    // the cell keeps it only when sx is 2.
    const bool con_tempo = sx == SX_CON_TEMPO;
    if (tempo >= TEMPO_MINIMO && tempo <= TEMPO_MASSIMO) {
        if (con_tempo)
            r.sostituiti.push_back({"signal time value", r.posto_in_ultima(TEMPO), tempo, TEMPO_ALZATO,
                                    "a time value from " + std::to_string(TEMPO_MINIMO) + " to " +
                                        std::to_string(TEMPO_MASSIMO) + " is raised to " +
                                        std::to_string(TEMPO_ALZATO)});
        tempo = TEMPO_ALZATO;
    }
    c->tempo_segnale = con_tempo ? low8(tempo, r, {"signal time value", r.posto_in_ultima(TEMPO)}) : 0;

    // Approach codes 100 to 400 m before the signal, written over whatever is there;
    // near the start of the line the cells before index 0 do not exist and are skipped.
    static constexpr const char* PREAVVISI[] = {"sx x 30 + dx x 10 + 1", "sx x 30 + dx x 10 + 2",
                                                "sx x 30 + dx x 10 + 3", "sx x 30 + dx x 10 + 4"};
    for (int32_t k = 1; k <= 4; ++k) {
        cella* a = cella_in_griglia(m, static_cast<int64_t>(i) - 2 * k);
        if (a == nullptr) continue;
        const int32_t codice_avviso = calcolo_campi(
            {SX, DX}, r.chiave_in_ultima(genere_riga::segnale), r.posto_in_ultima(SX),
            [&] {
                return std::to_string(sx) + " x 30 + " + std::to_string(dx) + " x 10 + " + std::to_string(k) + " = " +
                       std::to_string(int64_t{sx} * 30 + int64_t{dx} * 10 + k);
            },
            [&] { return long_add(long_add(long_mul(sx, 30), long_mul(dx, 10)), k); });
        a->preavviso = low8(codice_avviso, r,
                            {"approach code", PREAVVISI[k - 1], {r.posto_in_ultima(SX), r.posto_in_ultima(DX)}});
    }
    return codice::nessuno;
}
