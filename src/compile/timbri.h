#pragma once
#include "model/modello.h"

// Stamp values of the reserved places.
constexpr int16_t TIMBRO_VOCE_LINEA = 610;   // parametro1 of record 85
constexpr int16_t TIMBRO_CELLA_UNO = 5121;   // dato1 of cell 1

// Stamps the reserved values and the competition codes into record 85 and cell 1.
// A reserved place that already holds a value ends the process with the numbered
// report 1250 (first pair) or 1251 (second pair). The grid must exist.
void timbra_riservati(modello& m);
