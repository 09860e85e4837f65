#pragma once
#include <cstdint>

#include "model/campi_file.h"
#include "model/numerico.h"

// Every cell covers this many metres of the line: cell k from k * 50 on.
constexpr int32_t METRI_CELLA = 50;

// The cell of a position moved on by `celle` whole cells: nearest(posizione / 50 +
// celle), halves to even. The shift is added before the rounding, which an odd
// shift after it would not match on a half cell.
inline int32_t cella_spostata(int32_t posizione, int32_t celle) {
    return nearest_long(posizione / static_cast<double>(METRI_CELLA) + celle);
}
// The cell an object at a position lies in: nearest(posizione / 50 + 1).
inline int32_t cella_oggetto(int32_t posizione) { return cella_spostata(posizione, 1); }
// The cell a run value (gradient, speed, adhesion) from a position starts at, and
// a code cut's cell: nearest(posizione / 50).
inline int32_t cella_valore(int32_t posizione) { return cella_spostata(posizione, 0); }

// One 50-metre track cell; 15 bytes on disk, fields in this order.
struct cella {
    uint8_t tipo_oggetto = 0;
    int16_t dato1 = 0;
    int16_t dato2 = 0;
    int16_t dato3 = 0;
    int16_t dato4 = 0;
    uint8_t tempo_segnale = 0;
    uint8_t preavviso = 0;
    uint8_t tipo_montagna = 0;
    uint8_t v_limite = 0;
    uint8_t pendenza = 0;
    uint8_t aderenza = 0;

    bool operator==(const cella&) const = default;
};

// The cell's fields in their file order, each handed to f as (name, field).
template <class C, class F>
    requires std::same_as<std::remove_const_t<C>, cella>
constexpr void per_campo(C& c, F&& f) {
    f("tipo_oggetto", c.tipo_oggetto);
    f("dato1", c.dato1);
    f("dato2", c.dato2);
    f("dato3", c.dato3);
    f("dato4", c.dato4);
    f("tempo_segnale", c.tempo_segnale);
    f("preavviso", c.preavviso);
    f("tipo_montagna", c.tipo_montagna);
    f("v_limite", c.v_limite);
    f("pendenza", c.pendenza);
    f("aderenza", c.aderenza);
}

constexpr size_t BYTE_CELLA = byte_record<cella>();
static_assert(BYTE_CELLA == 15, "the compiled cell layout changed");

// Object codes of tipo_oggetto.
enum : uint8_t {
    OGGETTO_NESSUNO = 0,
    OGGETTO_SEGNALE = 1,
    OGGETTO_FINE_RALLENTAMENTO = 2,
    OGGETTO_INIZIO_RALLENTAMENTO = 3,
    OGGETTO_AVVISO_RALLENTAMENTO = 4,
    OGGETTO_PREAVVISO_RALLENTAMENTO = 5,
    OGGETTO_INDICATORE_V_MAX = 6,
    OGGETTO_STAZIONE = 10,
    OGGETTO_MONTAGNA = 11,
    OGGETTO_ABBATTIMENTO = 12,
    OGGETTO_ABBATTIMENTO_SENZA_VALORE = 13,
    OGGETTO_CARTELLO_INDICATORE = 14,
};

// The one occupancy rule: empty, or only the mountain-span marker.
inline bool e_libera(const cella& c) {
    return c.tipo_oggetto == OGGETTO_NESSUNO || c.tipo_oggetto == OGGETTO_MONTAGNA;
}
