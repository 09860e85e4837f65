#include "compile/memorizza_percorso.h"

#include "compile/file_compilati.h"
#include "compile/passata_griglia.h"
#include "compile/timbri.h"

esito_compilazione memorizza_percorso(modello& m, int32_t j, const opzioni_compilazione& opzioni) {
    m.nuova_lettura(j);

    memorizza_dati(m, opzioni.ingressi);

    esito_compilazione esito;
    esito.errori_lettura = m.errori.size();
    // Without a grid there is nothing to pass over, stamp or write.
    esito.griglia_allocata = m.griglia_allocata();
    if (!esito.griglia_allocata) return esito;

    passata_griglia(m);
    esito.rapporto = timbra_riservati(m);
    if (esito.rapporto != codice::nessuno) return esito;
    const bool scrivi = opzioni.scrittura == scrittura_compilati::sempre ||
                        (opzioni.scrittura == scrittura_compilati::senza_errori && m.codice_errore == codice::nessuno);
    if (scrivi && (!opzioni.consenti_scrittura || opzioni.consenti_scrittura(m))) esito.scritti = scrivi_file_compilati(m, opzioni.cartella);
    return esito;
}
