#pragma once
// A model with an allocated grid, and cells as printable tuples, for the placement tests.
#include <cstdint>
#include <tuple>

#include "model/cella.h"
#include "model/modello.h"

inline modello con_griglia(int32_t numero_celle) {
    modello m;
    m.numero_celle = numero_celle;
    m.alloca_celle(numero_celle);
    return m;
}

inline auto campi(const cella& c) {
    return std::tuple(c.tipo_oggetto, c.dato1, c.dato2, c.dato3, c.dato4, c.tempo_segnale, c.preavviso,
                      c.tipo_montagna, c.v_limite, c.pendenza, c.aderenza);
}
