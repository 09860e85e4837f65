// Train phase of the reader and the end processing after the train file.
#include "model/numerico.h"
#include "placement/memo_rallentamento.h"
#include "placement/memo_segnale.h"
#include "text_input/campi_righe.h"
#include "text_input/confronto.h"
#include "text_input/contesto_lettura.h"

namespace {

// A cell holds the line speed in steps of 5 km/h.
int32_t quinto_velocita(int32_t velocita) { return nearest_long(velocita / 5.0); }

// The speed fill stores the previous speed / 5, which must fit a byte; tested only
// when a cell is about to be written.
void riempi_velocita(contesto_lettura& c, int64_t fino, bool ferma) {
    c.riempi(c.cursore_velocita, fino, &cella::v_limite, ferma, [&] {
        int32_t quinto = quinto_velocita(c.velocita_precedente);
        if (quinto < 0 || quinto > 255)
            throw run_time_failure("field 2 of " + c.chiave_di(c.origine_velocita, genere_riga::velocita) +
                                       ": " + std::to_string(c.velocita_precedente) + " / 5 = " +
                                       std::to_string(quinto) + " does not fit a byte (0 to 255)",
                                   c.origine_velocita);
        return static_cast<uint8_t>(quinto);
    });
}

void riempi_aderenza(contesto_lettura& c, int64_t fino) {
    const origine_valore origine("adhesion", c.origine_aderenza);
    c.riempi(c.cursore_aderenza, fino, &cella::aderenza, false,
             [&] { return low8(c.aderenza_precedente, c.m.registro, origine); });
}

// Reads position and value of a run-value line; status 15 when the position is
// out of bounds, otherwise the cell bound of its fill.
std::optional<int32_t> riga_valore(contesto_lettura& c, genere_riga genere, int32_t& valore) {
    int32_t posizione = c.lettore().long_field();
    valore = c.lettore().long_field();
    c.registra(genere, {posizione, valore});
    if (c.oltre_griglia(posizione)) return std::nullopt;
    return cella_valore(posizione);
}

passo velocita(contesto_lettura& c) {
    int32_t valore;
    std::optional<int32_t> n = riga_valore(c, genere_riga::velocita, valore);
    if (!n) return passo::fine_file;
    if (*n > 0) riempi_velocita(c, *n, true);
    c.velocita_precedente = valore;
    c.origine_velocita = c.posto_campo(1);
    // A speed past a byte's steps is the fill's fault, not a rounding.
    if (const int32_t quinto = quinto_velocita(valore); quinto >= 0 && quinto <= 255 && quinto * 5 != valore)
        c.m.registro.arrotondati.push_back(
            {"line speed", c.origine_velocita, valore, quinto * 5, "a cell holds the line speed in steps of 5 km/h"});
    return passo::avanti;
}

passo aderenza(contesto_lettura& c) {
    int32_t valore;
    std::optional<int32_t> n = riga_valore(c, genere_riga::aderenza, valore);
    if (!n) return passo::fine_file;
    if (*n > 0) riempi_aderenza(c, *n);
    c.aderenza_precedente = valore;
    c.origine_aderenza = c.posto_campo(1);
    return passo::avanti;
}

passo segnale(contesto_lettura& c) {
    int32_t v[11];
    for (int32_t& x : v) x = c.lettore().long_field();
    c.registra(genere_riga::segnale, {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]});
    if (c.oltre_griglia(v[0])) return passo::fine_file;
    return c.dopo_posa(memo_segnale(c.m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]), v[0]);
}

passo rallentamento(contesto_lettura& c) {
    int32_t v[6];
    for (int32_t& x : v) x = c.lettore().long_field();
    c.registra(genere_riga::rallentamento, {v[0], v[1], v[2], v[3], v[4], v[5]});
    if (c.oltre_griglia(v[0])) return passo::fine_file;
    return c.dopo_posa(memo_rallentamento(c.m, v[0], v[1], v[2], v[3], v[4], v[5]), v[0]);
}

passo abbattimento(contesto_lettura& c) {
    int32_t posizione = c.lettore().long_field();
    int32_t valore = c.lettore().long_field();
    c.registra(genere_riga::abbattimento, {posizione, valore});
    if (c.oltre_griglia(posizione)) return passo::fine_file;
    const int32_t k = cella_valore(posizione);
    cella& cut = c.cella_at(k);
    if (!e_libera(cut)) return c.rifiuta_occupata(codice::abbattimento_occupato, posizione, k);
    c.m.rivendica(static_cast<size_t>(k));
    if (valore > 0) {
        cut.tipo_oggetto = OGGETTO_ABBATTIMENTO;
        cut.dato1 = low16(valore, c.m.registro, {"code cut value", c.posto_campo(1)});
    } else {
        cut.tipo_oggetto = OGGETTO_ABBATTIMENTO_SENZA_VALORE;
    }
    return passo::avanti;
}

passo riga_treno(contesto_lettura& c, const std::string& chiave) {
    modello& m = c.m;
    lettore_campi& r = c.lettore();
    passo p = passo::avanti;
    if (legge_come(chiave, genere_riga::frenata)) {
        m.voci[VOCE_TRENO_LINEA].inizio_zona = r.long_field();
        c.registra(genere_riga::frenata, {m.voci[VOCE_TRENO_LINEA].inizio_zona});
    }
    if (legge_come(chiave, genere_riga::vetture)) {
        m.voci[VOCE_TRENO_LINEA].progressiva = r.long_field();
        c.registra(genere_riga::vetture, {m.voci[VOCE_TRENO_LINEA].progressiva});
    }
    if (legge_come(chiave, genere_riga::velocita) && (p = velocita(c)) != passo::avanti) return p;
    if (legge_come(chiave, genere_riga::aderenza) && (p = aderenza(c)) != passo::avanti) return p;
    voce& treno = m.voci[VOCE_TRENO];
    if (legge_come(chiave, genere_riga::orologio)) {
        treno.parametro3 = r.integer_field();
        treno.parametro4 = r.integer_field();
        treno.parametro5 = r.integer_field();
        c.registra(genere_riga::orologio, {treno.parametro3, treno.parametro4, treno.parametro5});
    }
    if (legge_come(chiave, genere_riga::sabbia)) {
        treno.parametro1 = r.integer_field();
        c.registra(genere_riga::sabbia, {treno.parametro1});
    }
    if (legge_come(chiave, genere_riga::segnale) && (p = segnale(c)) != passo::avanti) return p;
    if (legge_come(chiave, genere_riga::rallentamento) && (p = rallentamento(c)) != passo::avanti) return p;
    if (legge_come(chiave, genere_riga::abbattimento) && (p = abbattimento(c)) != passo::avanti) return p;
    if (legge_come(chiave, genere_riga::stazione)) p = stazione(c);
    return p;
}

// The route line of the first kilometric reference that is not on a cell's start,
// for the diagnostics of status 2 (the reordering keeps the values' residues).
luogo_testo riferimento_non_multiplo(const modello& m) {
    const registro_lettura& reg = m.registro;
    for (size_t i = 0; i < reg.righe.size(); ++i) {
        const riga_letta& r = reg.righe[i];
        if (r.genere == genere_riga::progressiva && (r.valori[0] % METRI_CELLA != 0 || r.valori[1] % METRI_CELLA != 0))
            return m.luogo_riga(static_cast<int32_t>(i));
    }
    return {file_testo::linea, 0};
}

}  // namespace

void fase_treno(contesto_lettura& c) {
    modello& m = c.m;
    if (c.punto != punto_lettura::corpo_treno) {
        c.apri(file_testo::treno);
        lettore_campi& r = c.lettore();
        m.registro.treno_vuoto = r.fine();
        bool generale = false;
        c.sezione = sezione_riga::treno;
        while (!r.fine()) {
            const std::string campo = r.testo();
            if ((generale = contains_ignore_case(campo, "[generale]"))) break;
            c.posto_chiave = r.posto();
            c.nota_sezione(campo);
        }
        m.registro.treno_senza_generale = !generale;
        c.punto = punto_lettura::corpo_treno;
    }
    for (;;) {
        c.inizio_riga();
        std::optional<std::string> chiave = c.chiave_corpo();
        if (!chiave) break;
        passo p = riga_treno(c, *chiave);
        if (p == passo::ritorna) return;
        if (p == passo::fine_file) break;
        c.nota_se_ignoto(*chiave);
    }

    c.chiudi_e_cancella();
    int64_t fino = int64_t{c.ultima_cella()} - 2;
    riempi_velocita(c, fino, false);
    riempi_aderenza(c, fino);
    for (int i = VOCE_PROGRESSIVA_TRE; i <= VOCE_PROGRESSIVA_UNO; ++i) {
        if (m.voci[i].inizio_zona % METRI_CELLA != 0 || m.voci[i].fine_zona % METRI_CELLA != 0) {
            m.registra_errore(codice::progressiva_non_multipla, riferimento_non_multiplo(m));
        }
    }
}
