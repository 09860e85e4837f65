#include "model/utf8.h"

carattere_utf8 carattere_in(std::string_view testo, size_t i) {
    const auto b = static_cast<unsigned char>(testo[i]);
    const size_t seguono = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : 4;
    if (seguono == 0) return {b, 1, true};
    if (seguono == 4 || i + seguono >= testo.size()) return {b, 1, false};
    char32_t punto = b & (0x3F >> seguono);
    for (size_t k = 1; k <= seguono; ++k) {
        const auto c = static_cast<unsigned char>(testo[i + k]);
        if (!continuazione_utf8(c)) return {b, 1, false};
        punto = (punto << 6) | (c & 0x3F);
    }
    static constexpr char32_t MINIMO[] = {0, 0x80, 0x800, 0x10000};
    const bool valido = punto >= MINIMO[seguono] && punto <= 0x10FFFF && (punto < 0xD800 || punto > 0xDFFF);
    return {punto, seguono + 1, valido};
}

size_t inizio_carattere(std::string_view testo, size_t i) {
    while (i > 0 && i < testo.size() && continuazione_utf8(static_cast<unsigned char>(testo[i]))) --i;
    return i;
}

void aggiungi_utf8(std::string& out, char32_t punto) {
    if (punto < 0x80) {
        out += static_cast<char>(punto);
    } else if (punto < 0x800) {
        out += static_cast<char>(0xC0 | (punto >> 6));
        out += static_cast<char>(0x80 | (punto & 0x3F));
    } else if (punto < 0x10000) {
        out += static_cast<char>(0xE0 | (punto >> 12));
        out += static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (punto & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (punto >> 18));
        out += static_cast<char>(0x80 | ((punto >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((punto >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (punto & 0x3F));
    }
}
