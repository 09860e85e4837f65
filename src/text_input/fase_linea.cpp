// Route phase of the reader: the general section, the body, the route file's end.
#include <algorithm>

#include "model/numerico.h"
#include "model/run_time_failure.h"
#include "placement/memo_indicatori_v_max.h"
#include "placement/memo_montagna.h"
#include "placement/progressive_ordina.h"
#include "platform/file_ops.h"
#include "text_input/campi_righe.h"
#include "text_input/confronto.h"
#include "text_input/contesto_lettura.h"
#include "text_input/geometria.h"

namespace {

constexpr int32_t MARGINE_LINEA = 7000;
constexpr int32_t CURSORE_GEOMETRIA_MASSIMO = 1000000;

// Skips everything up to the first "[generale]" field; false (status 102) when
// the file ends first.
bool trova_generale(contesto_lettura& c) {
    lettore_campi& r = c.lettore();
    c.linea_chiave = r.linea_campo();
    c.posto_chiave = {c.file, c.linea_chiave, 0, 0};
    for (;;) {
        if (r.fine()) return false;
        std::string campo = r.testo();
        c.inizia_chiave(campo);
        if (r.fine()) return false;
        if (contains_ignore_case(campo, "[generale]")) return true;
        c.nota_sezione(campo);
    }
}

passo lunghezza(contesto_lettura& c) {
    modello& m = c.m;
    int32_t lunghezza = c.lettore().long_field();
    c.registra(genere_riga::lunghezza, {lunghezza});
    m.voci[VOCE_TRENO_LINEA].fine_zona = lunghezza;
    if (lunghezza > LUNGHEZZA_MASSIMA || lunghezza < 0) return c.rifiuta(codice::lunghezza_eccessiva);
    m.lunghezza_estesa = lunghezza + MARGINE_LINEA;
    m.numero_celle = cella_valore(m.lunghezza_estesa);  // the last cell: where the extended line ends
    m.alloca_celle(m.numero_celle);
    if (m.genera_tracciato != 0) {
        if (c.ingressi.tracciato_misurato)
            m.tracciato.misura(m.lunghezza_estesa);
        else
            m.tracciato.dimensiona(m.lunghezza_estesa);
    }
    return passo::avanti;
}

void tre_long(contesto_lettura& c, genere_riga genere, int32_t& a, int32_t& b, int32_t& d) {
    lettore_campi& r = c.lettore();
    a = r.long_field();
    b = r.long_field();
    d = r.long_field();
    c.registra(genere, {a, b, d});
}

passo ripetizione_segnali(contesto_lettura& c, const std::string& chiave) {
    voce& v = c.m.voci[VOCE_TRENO];
    v.inizio_zona = c.lettore().long_field();
    v.fine_zona = c.lettore().long_field();
    c.registra(genere_riga::ripetizione_segnali, {v.inizio_zona, v.fine_zona});
    if (v.inizio_zona % METRI_CELLA != 0) return c.rifiuta(codice::ripetizione_inizio);
    if (v.fine_zona % METRI_CELLA != 0) return c.rifiuta(codice::ripetizione_fine);
    if (contains(chiave, "4"))
        v.progressiva = 4;
    else if (contains(chiave, "9"))
        v.progressiva = 9;
    else
        return c.rifiuta(codice::ripetizione_codici);
    if (v.fine_zona == 0) v.progressiva = 0;
    return passo::avanti;
}

passo riga_generale(contesto_lettura& c, const std::string& chiave) {
    modello& m = c.m;
    if (legge_come(chiave, genere_riga::lunghezza)) {
        if (passo p = lunghezza(c); p != passo::avanti) return p;
    }
    struct riferimento {
        const char* parola;
        int voce;
    };
    for (riferimento rif : {riferimento{"tre", VOCE_PROGRESSIVA_TRE}, riferimento{"due", VOCE_PROGRESSIVA_DUE},
                            riferimento{"uno", VOCE_PROGRESSIVA_UNO}}) {
        if (contains(chiave, rif.parola) && contains(chiave, "progressiva")) {
            voce& v = m.voci[rif.voce];
            tre_long(c, genere_riga::progressiva, v.inizio_zona, v.fine_zona, v.progressiva);
        }
    }
    voce& linea = m.voci[VOCE_LINEA];
    struct sfondo {
        const char* parola;
        int32_t voce::*campo;
    };
    for (sfondo sf : {sfondo{"uno", &voce::inizio_zona}, sfondo{"due", &voce::progressiva},
                      sfondo{"tre", &voce::fine_zona}}) {
        if (contains(chiave, "sfondo") && contains(chiave, sf.parola)) {
            linea.*sf.campo = c.lettore().long_field();
            c.registra(genere_riga::sfondo, {linea.*sf.campo});
        }
    }
    if (legge_come(chiave, genere_riga::ripetizione_segnali)) return ripetizione_segnali(c, chiave);
    return passo::avanti;
}

// The first body kind, in the body's order, that the keyword field would be read
// as after the general section.
std::optional<genere_riga> genere_corpo(const std::string& chiave) {
    for (const genere_campi& g : generi_campi())
        if (g.sezione == sezione_riga::corpo && legge_come(chiave, g.genere)) return g.genere;
    return std::nullopt;
}

bool fine_sezione_generale(const std::string& chiave) {
    size_t primo = chiave.find_first_not_of(" \t");
    bool commento = primo != std::string::npos && chiave[primo] == '-';
    return !commento && contains(chiave, "[") && contains(chiave, "]");
}

// False when the reader returns.
bool sezione_generale(contesto_lettura& c) {
    lettore_campi& r = c.lettore();
    c.sezione = sezione_riga::generale;
    for (;;) {
        if (r.fine()) return true;
        std::string chiave = c.campo_chiave();
        if (r.fine()) return true;
        // The general section's comment skips do not test for the end of the file.
        for (int i = 0; i < 10; ++i) {
            if (!contains(chiave, "-")) continue;
            c.passa_commento(chiave);
            chiave = c.campo_chiave();
        }
        c.inizia_chiave(chiave);
        if (riga_generale(c, chiave) == passo::ritorna) return false;
        if (fine_sezione_generale(chiave)) {
            c.nota_sezione(chiave);
            c.m.registro.fine_generale = c.linea_chiave;
            if (c.m.registro.corpo_nel_generale) c.m.registro.corpo_nel_generale->fine = c.posto_chiave;
            return true;
        }
        // A body line here is one the section's end was meant to come before.
        std::optional<genere_riga> corpo;
        if (!c.riconosciuto && !contains(chiave, "-") && (corpo = genere_corpo(chiave)))
            c.nota_corpo_in_generale(*corpo);
        else
            c.nota_se_ignoto(chiave);
    }
}

void inizio_geometria(modello& m) {
    if (!m.tracciato.allocato())
        throw run_time_failure(std::string("the geometry is used before the route length sized it: ") + SENZA_LUNGHEZZA);
    if (m.tracciato.numero_elementi() == 0) return;  // measured only
    m.tracciato.imposta(0, 0, elemento_tracciato::da_intero(0));
    m.tracciato.imposta(1, 0, elemento_tracciato::da_intero(0));
    m.tracciato.imposta(0, 1, elemento_tracciato::da_intero(0));
    m.tracciato.imposta(1, 1, elemento_tracciato::da_intero(1));
}

// The gradient fill: each cell gets the previous gradient + 100, in one byte.
constexpr int32_t SCARTO_PENDENZA = 100;
void riempi_pendenza(contesto_lettura& c, int64_t fino) {
    const origine_valore origine("gradient", c.origine_pendenza);
    c.riempi(c.cursore_pendenza, fino, &cella::pendenza, false, [&] {
        const int32_t p = c.pendenza_precedente;
        const int32_t scartata = calcolo_campi(
            {1}, c.chiave_scritta(c.origine_pendenza, genere_riga::pendenza), c.origine_pendenza,
            [&] { return conto(p, "+", SCARTO_PENDENZA, int64_t{p} + SCARTO_PENDENZA); },
            [&] { return long_add(p, SCARTO_PENDENZA); });
        return low8(scartata, c.m.registro, origine, SCARTO_PENDENZA);
    });
}

passo pendenza(contesto_lettura& c) {
    int32_t posizione = c.lettore().long_field();
    int32_t valore = c.lettore().long_field();
    c.registra(genere_riga::pendenza, {posizione, valore});
    if (c.oltre_griglia(posizione)) return passo::fine_file;
    int32_t n = cella_valore(posizione);
    if (n > 0) riempi_pendenza(c, n);
    c.pendenza_precedente = valore;
    c.origine_pendenza = c.posto_campo(1);
    return passo::avanti;
}

double svolta(const std::string& chiave) {
    static constexpr double per_classe[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
    for (int classe = 0; classe < 6; ++classe)
        if (contains(chiave, std::string(1, static_cast<char>('1' + classe)))) return per_classe[classe];
    return 0.0;
}

passo curva(contesto_lettura& c, const std::string& chiave) {
    modello& m = c.m;
    int32_t inizio = c.lettore().long_field();
    int32_t lunghezza = c.lettore().long_field();
    size_t indice = c.registra(genere_riga::curva, {inizio, lunghezza});
    if (c.oltre_griglia(inizio)) return passo::fine_file;
    double k = svolta(chiave);
    if (k == 0.0) return c.rifiuta(codice::curva_senza_classe);
    if (contains_ignore_case(chiave, "s")) k = -k;
    // Steps from the cursor to metre fino; true when the cursor has passed the
    // geometry's limit, which it does right after the step at the limit, or
    // after its one step when it was already past it.
    auto avanza = [&](int32_t fino, double svolta_passo) {
        if (c.cursore_geometria > fino) return false;
        const int32_t ultimo = std::max(c.cursore_geometria, std::min(fino, CURSORE_GEOMETRIA_MASSIMO));
        if (passi_geometria(m.tracciato, c.cursore_geometria, ultimo, svolta_passo) <= ultimo)
            c.registrata(indice).oltre_geometria = true;
        c.cursore_geometria = ultimo + 1;
        return c.cursore_geometria > CURSORE_GEOMETRIA_MASSIMO;
    };
    if (avanza(inizio, 0.0)) return c.rifiuta(codice::curva_senza_classe);
    const int32_t fine = calcolo_campi(
        {0, 1}, c.chiave, c.posto_campo(0), [&] { return conto(inizio, "+", lunghezza, int64_t{inizio} + lunghezza); },
        [&] { return long_add(inizio, lunghezza); });
    if (avanza(fine, k)) return c.rifiuta(codice::curva_senza_classe);
    return passo::avanti;
}

passo montagna(contesto_lettura& c) {
    lettore_campi& r = c.lettore();
    int32_t inizio = r.long_field();
    int32_t fine = r.long_field();
    int32_t tipo = r.long_field();
    c.registra(genere_riga::montagna, {inizio, fine, tipo});
    if (c.oltre_griglia(inizio)) return passo::fine_file;
    return c.dopo_posa(memo_montagna(c.m, inizio, fine, tipo), inizio);
}

passo indicatori_v_max(contesto_lettura& c) {
    lettore_campi& r = c.lettore();
    int32_t v[9];
    for (int32_t& x : v) x = r.long_field();
    c.registra(genere_riga::indicatori_vmax, {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]});
    if (c.oltre_griglia(v[0])) return passo::fine_file;
    return c.dopo_posa(memo_indicatori_v_max(c.m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]), v[0]);
}

passo cartello_indicatore(contesto_lettura& c) {
    modello& m = c.m;
    int32_t posizione = c.lettore().long_field();
    std::string testo = c.testo_valore("board text");
    riga_letta& riga = c.registrata(c.registra(genere_riga::cartello_indicatore, {posizione}));
    riga.testo = testo;
    riga.posto_testo = c.lettore().posto();
    if (c.oltre_griglia(posizione)) return passo::fine_file;
    const int32_t k = cella_oggetto(posizione);
    cella& b = c.cella_at(k);
    if (!e_libera(b)) return c.rifiuta_occupata(codice::cartello_occupato, posizione, k);
    // Entry 1 stays for the first station.
    if (c.cursore_cartelli < 2) return c.rifiuta(codice::voci_esaurite, posizione);
    m.rivendica(static_cast<size_t>(k));
    b.tipo_oggetto = OGGETTO_CARTELLO_INDICATORE;
    b.dato1 = low16(c.cursore_cartelli);  // 80 down to 2: always fits
    m.voci[static_cast<size_t>(c.cursore_cartelli)].testo = testo;
    --c.cursore_cartelli;
    return passo::avanti;
}

passo riga_corpo(contesto_lettura& c, const std::string& chiave) {
    passo p = passo::avanti;
    if (legge_come(chiave, genere_riga::pendenza) && (p = pendenza(c)) != passo::avanti) return p;
    if (legge_come(chiave, genere_riga::curva)) {
        // With the geometry off a curve line is not read; its numbers become
        // keyword fields of their own. It is still a known keyword.
        if (c.m.genera_tracciato == 0)
            c.riconosciuto = true;
        else if ((p = curva(c, chiave)) != passo::avanti)
            return p;
    }
    if (legge_come(chiave, genere_riga::montagna) && (p = montagna(c)) != passo::avanti) return p;
    if (legge_come(chiave, genere_riga::indicatori_vmax) && (p = indicatori_v_max(c)) != passo::avanti) return p;
    if (legge_come(chiave, genere_riga::cartello_indicatore)) p = cartello_indicatore(c);
    return p;
}

}  // namespace

namespace {

// Up to the route body's first line; false when the reader returns.
bool inizio_linea(contesto_lettura& c) {
    modello& m = c.m;
    if (c.ingressi.testi == nullptr && !file_exists(c.ingressi.linea)) {
        m.registra_errore(codice::linea_mancante, {file_testo::linea, 0});
        return false;
    }
    c.apri(file_testo::linea);
    if (!trova_generale(c)) {
        c.rifiuta(codice::generale_mancante);
        return false;
    }
    if (!sezione_generale(c)) return false;

    progressive_ordina(m);
    // The span count restarts with every read: the model may have been read before.
    m.numero_montagne = 0;
    if (m.genera_tracciato != 0) inizio_geometria(m);

    c.sezione = sezione_riga::corpo;
    c.punto = punto_lettura::corpo_linea;
    return true;
}

}  // namespace

bool fase_linea(contesto_lettura& c) {
    modello& m = c.m;
    if (c.punto != punto_lettura::corpo_linea && !inizio_linea(c)) return false;
    for (;;) {
        c.inizio_riga();
        std::optional<std::string> chiave = c.chiave_corpo();
        if (!chiave) break;
        passo p = riga_corpo(c, *chiave);
        if (p == passo::ritorna) return false;
        if (p == passo::fine_file) break;
        c.nota_se_ignoto(*chiave);
    }

    c.chiudi_e_cancella();
    riempi_pendenza(c, int64_t{c.ultima_cella()} - 2);
    if (m.genera_tracciato != 0 && c.cursore_geometria <= m.lunghezza_estesa - 2) {
        passi_geometria(m.tracciato, c.cursore_geometria, m.lunghezza_estesa - 2, 0.0);
        c.cursore_geometria = m.lunghezza_estesa - 1;
    }
    return true;
}
