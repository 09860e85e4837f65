// The station steps of the train phase, in their order: a field already stored
// stays when a later check of the same station fails.
#include "model/numeric.h"
#include "text_input/contesto_lettura.h"

namespace {

constexpr int32_t SPAZIO_TRA_STAZIONI = 350;

void area(voce& v, int32_t posizione, int32_t lunghezza) {
    switch (v.categoria) {
        case 5:
        case 6:
            v.fine_zona = long_add(posizione, 150);
            v.inizio_zona = long_sub(posizione, lunghezza);
            v.opzione4 = 0;
            break;
        case 7:
        case 8:
            v.inizio_zona = long_sub(posizione, lunghezza);
            v.fine_zona = long_add(posizione, lunghezza);
            v.opzione4 = 0;
            break;
        default:
            v.inizio_zona = nearest_long(posizione - lunghezza / 2.0);
            v.fine_zona = nearest_long(posizione + lunghezza / 2.0);
            if (v.opzione4 != 0) v.fine_zona = long_add(v.fine_zona, 50);
    }
}

}  // namespace

passo stazione(contesto_lettura& c) {
    modello& m = c.m;
    lettore_campi& r = c.lettore();
    const int32_t s = c.numero_stazione;
    voce& v = m.voci[static_cast<size_t>(s)];
    size_t indice = c.registra(genere_riga::stazione);
    auto nota = [&](int32_t x) { c.registrata(indice).valori.push_back(x); };

    int32_t posizione = r.long_field();
    v.progressiva = posizione;
    nota(posizione);
    if (c.oltre_griglia(posizione, 800)) return passo::fine_file;
    if (posizione % 50 != 0) return c.rifiuta(codice::stazione_posizione, posizione);

    v.categoria = r.byte_field();
    int32_t lunghezza = r.long_field();
    nota(v.categoria);
    nota(lunghezza);
    if (lunghezza % 100 != 0) return c.rifiuta(codice::stazione_lunghezza, posizione);

    v.opzione1 = r.byte_field();
    v.opzione5 = r.byte_field();
    v.opzione4 = r.byte_field();
    v.parametro1 = r.integer_field();
    v.parametro2 = r.integer_field();
    v.opzione2 = r.byte_field();
    v.parametro3 = r.integer_field();
    v.parametro4 = r.integer_field();
    v.parametro5 = r.integer_field();
    v.opzione3 = r.byte_field();
    int32_t ore = r.long_field();
    int32_t minuti = r.long_field();
    int32_t secondi = r.long_field();
    for (int32_t x : {int32_t{v.opzione1}, int32_t{v.opzione5}, int32_t{v.opzione4}, int32_t{v.parametro1},
                      int32_t{v.parametro2}, int32_t{v.opzione2}, int32_t{v.parametro3}, int32_t{v.parametro4},
                      int32_t{v.parametro5}, int32_t{v.opzione3}, ore, minuti, secondi})
        nota(x);
    v.orario = long_add(long_mul(long_add(long_mul(ore, 60), minuti), 60), secondi);
    v.testo = c.testo_valore();
    c.registrata(indice).testo = v.testo;

    area(v, posizione, lunghezza);
    if (lunghezza < 600) v.opzione5 = 0;
    if (s == 1) {
        v.opzione4 = 0;
        v.opzione5 = 0;
    }

    if (v.categoria < 25) {
        // The mark must lie inside the grid before any cell is written.
        int32_t marca = nearest_long(v.fine_zona / 50.0 - 1);
        if (marca > c.ultima_cella()) {
            c.esito(codice::oltre_griglia, posizione);
            return passo::fine_file;
        }
        if (v.categoria != 5 && v.categoria != 6) {
            for (int j = 1; j <= 4; ++j) {
                double k = v.fine_zona / 50.0 - j - 1;
                if (k > 1) c.cella_at(nearest_long(k)).preavviso = static_cast<uint8_t>(80 + j);
            }
        }
        if (!(v.fine_zona / 50.0 - 1 > 1)) return c.rifiuta(codice::stazione_iniziale);
        cella& segno = c.cella_at(marca);
        m.rivendica(static_cast<size_t>(marca));
        segno.tipo_oggetto = OGGETTO_STAZIONE;
        segno.dato1 = low16(s);
    }

    if (s > 1 && long_sub(v.inizio_zona, SPAZIO_TRA_STAZIONI) < m.voci[static_cast<size_t>(s - 1)].fine_zona)
        return c.rifiuta(codice::stazioni_vicine, posizione);

    c.numero_stazione = s + 1;
    if (c.numero_stazione >= c.cursore_cartelli) return c.rifiuta(codice::voci_esaurite);
    return passo::avanti;
}
