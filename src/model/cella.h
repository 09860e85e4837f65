#pragma once
#include <cstdint>

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
};

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
inline bool is_free(const cella& c) {
    return c.tipo_oggetto == OGGETTO_NESSUNO || c.tipo_oggetto == OGGETTO_MONTAGNA;
}
