#pragma once
#include <cstdint>
#include <string>

#include "model/campi_file.h"

// One of the 87 general records; on disk 34 + n bytes for a text of n bytes.
struct voce {
    uint8_t categoria = 0;
    int32_t inizio_zona = 0;
    int32_t fine_zona = 0;
    int32_t progressiva = 0;
    uint8_t opzione1 = 0;
    std::string testo;  // Windows-1252 bytes, never transcoded
    int16_t parametro1 = 0;
    int16_t parametro2 = 0;
    int16_t parametro3 = 0;
    int16_t parametro4 = 0;
    int16_t parametro5 = 0;
    uint8_t opzione2 = 0;
    uint8_t opzione3 = 0;
    uint8_t opzione4 = 0;
    uint8_t opzione5 = 0;
    int32_t orario = 0;

    bool operator==(const voce&) const = default;
};

// The record's fields in their file order, each handed to f as (name, field): the
// one layout that the compiled-file writer and its reader both follow.
template <class V, class F>
    requires std::same_as<std::remove_const_t<V>, voce>
constexpr void per_campo(V& v, F&& f) {
    f("categoria", v.categoria);
    f("inizio_zona", v.inizio_zona);
    f("fine_zona", v.fine_zona);
    f("progressiva", v.progressiva);
    f("opzione1", v.opzione1);
    f("testo", v.testo);
    f("parametro1", v.parametro1);
    f("parametro2", v.parametro2);
    f("parametro3", v.parametro3);
    f("parametro4", v.parametro4);
    f("parametro5", v.parametro5);
    f("opzione2", v.opzione2);
    f("opzione3", v.opzione3);
    f("opzione4", v.opzione4);
    f("opzione5", v.opzione5);
    f("orario", v.orario);
}

// A record on disk without its text's own bytes.
constexpr size_t BYTE_VOCE_SENZA_TESTO = byte_record<voce>();
static_assert(BYTE_VOCE_SENZA_TESTO == 34, "the compiled record layout changed");

// Fixed indices of voci.
constexpr int NUMERO_VOCI = 87;
constexpr int VOCE_PRIMO_CARTELLO = 80;
constexpr int VOCE_PROGRESSIVA_TRE = 81;
constexpr int VOCE_PROGRESSIVA_DUE = 82;
constexpr int VOCE_PROGRESSIVA_UNO = 83;
constexpr int VOCE_TRENO_LINEA = 84;
constexpr int VOCE_LINEA = 85;
constexpr int VOCE_TRENO = 86;
