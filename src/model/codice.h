#pragma once
// The codes of the run's error state, and the two numbers of the numbered report.
// Every place that records a fault names it here; the numbers are what authors,
// the compiled-file peers and the conformance vectors know.
#include <cstdint>
#include <ostream>

enum class codice : int32_t {
    nessuno = 0,
    lunghezza_eccessiva = 1,
    progressiva_non_multipla = 2,
    ripetizione_inizio = 3,
    ripetizione_fine = 4,
    ripetizione_codici = 5,
    cartello_occupato = 6,
    abbattimento_occupato = 7,
    stazione_posizione = 8,
    stazione_lunghezza = 9,
    voci_esaurite = 10,
    taglio_segnale = 11,
    taglio_avvicinamento = 12,
    taglio_lungo = 13,
    montagne_esaurite = 14,
    oltre_griglia = 15,
    segnale_occupato = 16,
    avviso_occupato = 17,
    inizio_occupato = 18,
    fine_occupata = 19,
    preavviso_occupato = 20,
    indicatore_occupato = 21,
    stazioni_vicine = 22,
    stazione_iniziale = 24,
    lettura_fallita = 25,
    linea_mancante = 101,
    generale_mancante = 102,
    curva_senza_classe = 103,
    // The numbered report: never recorded in the error state, it ends the run.
    riservato_primo = 1250,
    riservato_secondo = 1251,
};

inline int32_t numero(codice c) { return static_cast<int32_t>(c); }

inline std::ostream& operator<<(std::ostream& out, codice c) { return out << numero(c); }
