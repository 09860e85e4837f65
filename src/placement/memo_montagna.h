#pragma once
#include <cstdint>

#include "model/modello.h"

// Records one mountain span and marks its cells; an 81st span sets codice_errore 14.
void memo_montagna(modello& m, int32_t& inizio, int32_t& fine, int32_t& tipo);
