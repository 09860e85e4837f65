#include "compile/codice_gara.h"

namespace {

constexpr const char* RIEMPITIVO = "aabbccddeeffgghhiillmmnnoo";
constexpr size_t LARGHEZZA_FINESTRA = 25;

unsigned char minuscola_1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:  // S caron
        case 0x8C:  // OE
        case 0x8E:  // Z caron
            return static_cast<unsigned char>(c + 0x10);
        case 0x9F:  // Y diaeresis
            return 0xFF;
        default:
            return c;
    }
}

}  // namespace

std::string minuscole_1252(const std::string& testo) {
    std::string out = testo;
    for (char& c : out) c = static_cast<char>(minuscola_1252(static_cast<unsigned char>(c)));
    return out;
}

std::string finestra_codice(const modello& m) {
    std::string testo = minuscole_1252(m.voci[VOCE_TRENO].testo + m.voci[VOCE_LINEA].testo) + RIEMPITIVO;
    return testo.substr(0, LARGHEZZA_FINESTRA);
}

int16_t codice_gara_og(const modello& m) {
    int16_t somma = 0;  // at most 25 x 255: fits
    for (unsigned char c : finestra_codice(m)) somma = static_cast<int16_t>(somma + c);
    return somma;
}

int32_t codice_gara_st(const modello& m) {
    int32_t somma = 0;
    int32_t posizione = 1;
    for (unsigned char c : finestra_codice(m)) somma += c * posizione++;
    return somma;
}
