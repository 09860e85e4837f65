#include "model/testo_1252.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "model/utf8.h"
#include "platform/exit_status.h"

namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> ALTI = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t punto(unsigned char b) { return b >= 0x80 && b <= 0x9F ? ALTI[b - 0x80] : b; }

std::optional<unsigned char> byte_di(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (size_t i = 0; i < ALTI.size(); ++i)
        if (ALTI[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

std::string utf8_da_1252(std::string_view testo) {
    std::string out;
    for (char c : testo) aggiungi_utf8(out, punto(static_cast<unsigned char>(c)));
    return out;
}

result<std::string> cp1252_da_utf8(std::string_view testo) {
    std::string out;
    for (size_t i = 0; i < testo.size();) {
        const size_t inizio = i;
        const carattere_utf8 c = carattere_in(testo, i);
        if (!c.valido) {
            char dove[64];
            std::snprintf(dove, sizeof dove, "not valid UTF-8 (byte 0x%02X at offset %zu)",
                          static_cast<unsigned char>(testo[inizio]), inizio);
            return failure{EXIT_USAGE, dove};
        }
        i += c.lunghezza;
        std::optional<unsigned char> b = byte_di(c.punto);
        if (!b) {
            char nome[16];
            std::snprintf(nome, sizeof nome, "U+%04X", static_cast<unsigned>(c.punto));
            return failure{EXIT_USAGE, "'" + std::string(testo.substr(inizio, i - inizio)) + "' (" + nome +
                                           ") has no Windows-1252 form"};
        }
        out += static_cast<char>(*b);
    }
    return out;
}

bool sembra_utf8(std::string_view testo) {
    bool oltre_ascii = false;
    for (size_t i = 0; i < testo.size();) {
        const carattere_utf8 c = carattere_in(testo, i);
        if (!c.valido) return false;
        oltre_ascii = oltre_ascii || c.lunghezza > 1;
        i += c.lunghezza;
    }
    return oltre_ascii;
}
