#pragma once
// The ordering of the kilometric series, once every line is read.
#include "model/modello.h"

// Orders the kilometric series in voci 81 to 83 by start and applies the +100
// correction to flagged series.
void progressive_ordina(modello& m);
