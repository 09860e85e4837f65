#include "text_input/memorizza_dati.h"

#include <exception>
#include <system_error>

#include "text_input/contesto_lettura.h"
#include "platform/path_text.h"

void leggi_fasi(contesto_lettura& c) {
    modello& m = c.m;
    try {
        if (c.punto == punto_lettura::corpo_treno || fase_linea(c)) fase_treno(c);
    } catch (const std::exception& e) {
        c.guasto(e);
        c.campi.reset();
        if (c.ingressi.cancella_testi) {
            std::error_code ec;
            std::filesystem::remove(c.ingressi.linea, ec);
            std::filesystem::remove(c.ingressi.treno, ec);
        }
        m.registro.guasto = e.what();
    }
}

void memorizza_dati(modello& m, const ingressi_lettore& ingressi) {
    contesto_lettura c(m, ingressi);
    m.registro.pulisci();
    m.registro.percorso_linea = utf8_path(ingressi.linea);
    m.registro.percorso_treno = utf8_path(ingressi.treno);
    // The grid and the geometry exist only once this run's route length sizes them.
    m.libera_celle();
    m.tracciato = tracciato_t{};
    m.numero_celle = 0;
    m.lunghezza_estesa = 0;
    m.voci[VOCE_LINEA].testo = m.nome_linea;
    m.voci[VOCE_TRENO].testo = m.numero_treno;
    leggi_fasi(c);
}
