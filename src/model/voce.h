#pragma once
#include <cstdint>
#include <string>

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
};

// Fixed indices of voci.
constexpr int NUMERO_VOCI = 87;
constexpr int VOCE_PRIMO_CARTELLO = 80;
constexpr int VOCE_PROGRESSIVA_TRE = 81;
constexpr int VOCE_PROGRESSIVA_DUE = 82;
constexpr int VOCE_PROGRESSIVA_UNO = 83;
constexpr int VOCE_TRENO_LINEA = 84;
constexpr int VOCE_LINEA = 85;
constexpr int VOCE_TRENO = 86;
