#include "compile/timbri.h"

#include "compile/codice_gara.h"
#include "model/run_time_failure.h"

namespace {

// The report of the pair whose cell-1 value (or else record-85 value) is in use,
// placed on the line whose object claimed cell 1.
codice rapporto(modello& m, codice numero, bool in_cella) {
    rapporto_registrato r;
    r.numero = numero;
    r.posto = in_cella ? posto_riservato::cella_uno : posto_riservato::voce_linea;
    if (in_cella) r.riga = m.riga_cella(1);
    r.luogo = r.riga >= 0 ? m.luogo_riga(r.riga) : luogo_testo{in_cella ? file_testo::nessuno : file_testo::linea};
    m.rapporto = r;
    return numero;
}

}  // namespace

codice timbra_riservati(modello& m) {
    if (m.celle.size() < 2) throw run_time_failure("the grid has no cell 1 to stamp");
    voce& linea = m.voci[VOCE_LINEA];
    cella& uno = m.celle[1];

    if (linea.parametro1 != 0 || uno.dato1 != 0) return rapporto(m, codice::riservato_primo, uno.dato1 != 0);
    linea.parametro1 = TIMBRO_VOCE_LINEA;
    uno.dato1 = TIMBRO_CELLA_UNO;

    if (linea.orario != 0 || uno.dato2 != 0) return rapporto(m, codice::riservato_secondo, uno.dato2 != 0);
    linea.orario = codice_gara_st(m);
    uno.dato2 = codice_gara_og(m);
    return codice::nessuno;
}
