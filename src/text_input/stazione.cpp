// The station steps of the train phase, in their order: a field already stored
// stays when a later check of the same station fails.
#include <cstdio>
#include <string>

#include "model/numerico.h"
#include "model/run_time_failure.h"
#include "text_input/contesto_lettura.h"

namespace {

constexpr int32_t SPAZIO_TRA_STAZIONI = 350;
// A shorter station has its field 5 cleared.
constexpr int32_t LUNGHEZZA_CAMPO_5 = 600;
// A non-zero field 6 takes a centred area's end, and so its mark, one cell on.
constexpr int32_t ALLUNGAMENTO_CAMPO_6 = METRI_CELLA;
// Fields 5 and 6: their index among the line's numbers, and their name.
struct campo_azzerato {
    size_t indice;
    const char* nome;
};
constexpr campo_azzerato CAMPO_5{4, "station field 5"}, CAMPO_6{5, "station field 6"};

// Clears a field that the station's kind or place clears; a value the author
// wrote there is recorded as replaced, at its field, with why.
template <class P>
void azzera(contesto_lettura& c, uint8_t& valore, campo_azzerato campo, P perche) {
    if (valore != 0) c.m.registro.sostituiti.push_back({campo.nome, c.posto_campo(campo.indice), valore, 0, perche()});
    valore = 0;
}

// The station's fields, numbered as its values are: the position first.
enum campo_stazione : size_t { POSIZIONE = 0, LUNGHEZZA = 2, OPZIONE_4 = 5, ORE = 13, MINUTI = 14, SECONDI = 15 };

// A value of the station made from its fields; an overflow names them.
template <class C, class F>
int32_t dai_campi(const contesto_lettura& c, std::initializer_list<size_t> campi, C come, F f) {
    return calcolo_campi(campi, c.chiave, c.posto_campo(*campi.begin()), come, f);
}

// A half-metre value as written in a message: 12 or 12.5.
std::string metri(double v) {
    char testo[40];
    std::snprintf(testo, sizeof testo, "%.1f", v);
    std::string t = testo;
    if (t.ends_with(".0")) t.resize(t.size() - 2);
    return t;
}

void area(contesto_lettura& c, voce& v, int32_t posizione, int32_t lunghezza) {
    const auto per_tipo = [&] {
        return "it is cleared for kinds 5 to 8 (this station is kind " + std::to_string(v.categoria) + ")";
    };
    const auto piu = [&](int32_t a, int32_t b, std::initializer_list<size_t> campi) {
        return dai_campi(c, campi, [&] { return conto(a, "+", b, int64_t{a} + b); }, [&] { return long_add(a, b); });
    };
    const auto meno = [&](int32_t a, int32_t b) {
        return dai_campi(c, {POSIZIONE, LUNGHEZZA}, [&] { return conto(a, "-", b, int64_t{a} - b); },
                         [&] { return long_sub(a, b); });
    };
    const auto mezzo = [&](double v, const char* op) {
        return dai_campi(
            c, {POSIZIONE, LUNGHEZZA},
            [&] { return std::to_string(posizione) + " " + op + " " + std::to_string(lunghezza) + " / 2 = " + metri(v); },
            [&] { return nearest_long(v); });
    };
    switch (v.categoria) {
        case 5:
        case 6:
            v.fine_zona = piu(posizione, 150, {POSIZIONE});
            v.inizio_zona = meno(posizione, lunghezza);
            azzera(c, v.opzione4, CAMPO_6, per_tipo);
            break;
        case 7:
        case 8:
            v.inizio_zona = meno(posizione, lunghezza);
            v.fine_zona = piu(posizione, lunghezza, {POSIZIONE, LUNGHEZZA});
            azzera(c, v.opzione4, CAMPO_6, per_tipo);
            break;
        default:
            v.inizio_zona = mezzo(posizione - lunghezza / 2.0, "-");
            v.fine_zona = mezzo(posizione + lunghezza / 2.0, "+");
            if (v.opzione4 != 0) v.fine_zona = piu(v.fine_zona, ALLUNGAMENTO_CAMPO_6, {POSIZIONE, LUNGHEZZA, OPZIONE_4});
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
    if (posizione % METRI_CELLA != 0) return c.rifiuta(codice::stazione_posizione, posizione);

    v.categoria = r.byte_field();
    int32_t lunghezza = r.long_field();
    nota(v.categoria);
    nota(lunghezza);
    if (lunghezza % 100 != 0) return c.rifiuta(codice::stazione_lunghezza, posizione, c.posto_campo(2));

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
    v.orario = dai_campi(
        c, {ORE, MINUTI, SECONDI},
        [&] {
            return "(" + std::to_string(ore) + " x 60 + " + std::to_string(minuti) + ") x 60 + " +
                   std::to_string(secondi) + " = " + std::to_string((int64_t{ore} * 60 + minuti) * 60 + secondi);
        },
        [&] { return long_add(long_mul(long_add(long_mul(ore, 60), minuti), 60), secondi); });
    v.testo = c.testo_valore("station name");
    c.registrata(indice).testo = v.testo;
    c.registrata(indice).posto_testo = r.posto();
    c.registrata(indice).posti = r.dal_segno();  // registered before its fields were read

    area(c, v, posizione, lunghezza);
    if (lunghezza < LUNGHEZZA_CAMPO_5)
        azzera(c, v.opzione5, CAMPO_5, [&] {
            return "it is cleared when the length (" + std::to_string(lunghezza) + " m) is below " +
                   std::to_string(LUNGHEZZA_CAMPO_5) + " m";
        });
    if (s == 1) {
        const auto prima = [] { return std::string("it is cleared for the first station"); };
        azzera(c, v.opzione4, CAMPO_6, prima);
        azzera(c, v.opzione5, CAMPO_5, prima);
    }

    if (v.categoria < 25) {
        // The mark must lie inside the grid before any cell is written.
        int32_t marca = cella_spostata(v.fine_zona, -1);
        if (marca > c.ultima_cella()) {
            c.esito(codice::oltre_griglia, posizione);
            return passo::fine_file;
        }
        if (v.categoria != 5 && v.categoria != 6) {
            for (int j = 1; j <= 4; ++j) {
                double k = v.fine_zona / static_cast<double>(METRI_CELLA) - j - 1;
                if (k > 1) c.cella_at(cella_spostata(v.fine_zona, -j - 1)).preavviso = static_cast<uint8_t>(80 + j);
            }
        }
        if (!(v.fine_zona / static_cast<double>(METRI_CELLA) - 1 > 1)) return c.rifiuta(codice::stazione_iniziale);
        cella& segno = c.cella_at(marca);
        m.rivendica(static_cast<size_t>(marca));
        segno.tipo_oggetto = OGGETTO_STAZIONE;
        segno.dato1 = low16(s);  // 1 to 79: always fits
    }

    const auto distanziato = [&] {
        return dai_campi(
            c, {POSIZIONE, LUNGHEZZA},
            [&] {
                return "the area's start " + conto(v.inizio_zona, "-", SPAZIO_TRA_STAZIONI,
                                                   int64_t{v.inizio_zona} - SPAZIO_TRA_STAZIONI);
            },
            [&] { return long_sub(v.inizio_zona, SPAZIO_TRA_STAZIONI); });
    };
    if (s > 1 && distanziato() < m.voci[static_cast<size_t>(s - 1)].fine_zona) {
        c.rifiuta(codice::stazioni_vicine, posizione);
        // The station before is the last one recorded before this line: a station that fails ends the reading.
        const voce& prima = m.voci[static_cast<size_t>(s - 1)];
        for (size_t i = indice; i-- > 0;) {
            if (m.registro.righe[i].genere != genere_riga::stazione) continue;
            m.annota_errore(m.luogo_riga(static_cast<int32_t>(i)),
                            "the station before, " + prima.testo + ", has its area from " +
                                std::to_string(prima.inizio_zona) + " to " + std::to_string(prima.fine_zona) +
                                " m; this one begins at " + std::to_string(v.inizio_zona) + " m");
            break;
        }
        return passo::ritorna;
    }

    c.numero_stazione = s + 1;
    if (c.numero_stazione >= c.cursore_cartelli) return c.rifiuta(codice::voci_esaurite);
    return passo::avanti;
}
