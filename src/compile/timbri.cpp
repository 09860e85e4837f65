#include "compile/timbri.h"

#include "compile/codice_gara.h"
#include "model/run_time_failure.h"

codice timbra_riservati(modello& m) {
    if (m.celle.size() < 2) throw run_time_failure("the grid has no cell 1 to stamp");
    voce& linea = m.voci[VOCE_LINEA];
    cella& uno = m.celle[1];

    if (linea.parametro1 != 0 || uno.dato1 != 0) return codice::riservato_primo;
    linea.parametro1 = TIMBRO_VOCE_LINEA;
    uno.dato1 = TIMBRO_CELLA_UNO;

    if (linea.orario != 0 || uno.dato2 != 0) return codice::riservato_secondo;
    linea.orario = codice_gara_st(m);
    uno.dato2 = codice_gara_og(m);
    return codice::nessuno;
}
