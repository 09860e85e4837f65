#pragma once
#include "model/modello.h"

// Value of every code-cut cell the pass inserts.
constexpr int16_t VALORE_ABBATTIMENTO_INSERITO = 180;

// The grid compile pass: inserts code-cut cells before every signal that precedes
// a restriction warning point, at the approach points of every restriction start,
// along slow restrictions and before the first signal after each restriction.
// Faults go to the error state (11, 12, 13); the pass never stops on them.
// The grid must exist.
void passata_griglia(modello& m);
