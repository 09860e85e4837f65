#pragma once
#include "model/modello.h"

// A model with the identifiers the fixed run sets.
inline modello modello_corsa() {
    modello m;
    m.nome_linea = "Lidonia_Sabrio";
    m.numero_treno = "914";
    return m;
}
