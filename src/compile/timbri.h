#pragma once
#include "model/modello.h"

// Stamp values of the reserved places.
constexpr int16_t TIMBRO_VOCE_LINEA = 610;   // parametro1 of record 85
constexpr int16_t TIMBRO_CELLA_UNO = 5121;   // dato1 of cell 1

// Stamps the reserved values and the competition codes into record 85 and cell 1.
// A reserved place that already holds a value stops the stamping and returns the
// numbered report for the edges to show: riservato_primo (first pair, nothing
// stamped) or riservato_secondo (second pair, the first pair stamped), and records
// it with its place in m.rapporto. Returns nessuno when every stamp is in. The
// grid must exist.
codice timbra_riservati(modello& m);
