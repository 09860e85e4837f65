#pragma once
// Names the first byte where a compiled file differs from the expected one, in
// the file's own terms: cell and field, record and field, or metre and component.
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/cella.h"
#include "model/voce.h"

namespace decodifica {

struct campo {
    const char* nome;
    size_t byte;
};

inline std::string esadecimale(const std::string& s, size_t da, size_t n) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (size_t i = da; i < da + n && i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (!out.empty()) out.push_back(' ');
        out.push_back(hex[c >> 4]);
        out.push_back(hex[c & 15]);
    }
    return out.empty() ? "(none)" : out;
}

// Finds the field of a record laid out as `campi` that holds offset `o` within it.
inline std::string nel_record(const std::vector<campo>& campi, size_t o, size_t& inizio_campo, size_t& larghezza) {
    size_t at = 0;
    for (const campo& c : campi) {
        if (o < at + c.byte) {
            inizio_campo = at;
            larghezza = c.byte;
            return c.nome;
        }
        at += c.byte;
    }
    inizio_campo = at;
    larghezza = 1;
    return "past the record";
}

// The fields of record r with their widths on disk; a text as its length, then its bytes.
template <class R>
std::vector<campo> campi_di(const R& r) {
    std::vector<campo> out;
    per_campo(r, [&out](const char* nome, const auto& valore) {
        if constexpr (std::is_same_v<std::decay_t<decltype(valore)>, std::string>) {
            out.push_back({"testo length", byte_fissi(valore)});
            out.push_back({nome, valore.size()});
        } else {
            out.push_back({nome, byte_fissi(valore)});
        }
    });
    return out;
}

inline std::string confronto(const std::string& atteso, const std::string& ottenuto, size_t da, size_t n) {
    return ": expected " + esadecimale(atteso, da, n) + ", got " + esadecimale(ottenuto, da, n);
}

inline std::string celle(const std::string& atteso, const std::string& ottenuto, size_t o) {
    size_t inizio, larghezza;
    std::string nome = nel_record(campi_di(cella{}), o % BYTE_CELLA, inizio, larghezza);
    size_t base = o - o % BYTE_CELLA + inizio;
    return "cell " + std::to_string(o / BYTE_CELLA) + " field " + nome + confronto(atteso, ottenuto, base, larghezza);
}

inline std::string voci(const std::string& atteso, const std::string& ottenuto, size_t o) {
    // The text's length comes after the fields before it.
    size_t a_lunghezza = 0;
    for (const campo& c : campi_di(voce{})) {
        if (std::string_view(c.nome) == "testo length") break;
        a_lunghezza += c.byte;
    }
    size_t record_inizio = 0;
    for (int r = 0; record_inizio < atteso.size(); ++r) {
        if (record_inizio + a_lunghezza + 2 > atteso.size()) break;
        size_t n = static_cast<unsigned char>(atteso[record_inizio + a_lunghezza]) |
                   static_cast<size_t>(static_cast<unsigned char>(atteso[record_inizio + a_lunghezza + 1])) << 8;
        voce v;
        v.testo.resize(n);
        size_t lunghezza = BYTE_VOCE_SENZA_TESTO + n;
        if (o < record_inizio + lunghezza) {
            size_t inizio, larghezza;
            std::string nome = nel_record(campi_di(v), o - record_inizio, inizio, larghezza);
            return "record " + std::to_string(r) + " field " + nome +
                   confronto(atteso, ottenuto, record_inizio + inizio, larghezza);
        }
        record_inizio += lunghezza;
    }
    return "byte " + std::to_string(o) + " past the expected records" + confronto(atteso, ottenuto, o, 4);
}

inline std::string tracciato(const std::string& atteso, const std::string& ottenuto, size_t o) {
    // Element boundaries come from the expected file's tags.
    std::vector<size_t> inizi;
    for (size_t at = 0; at + 2 <= atteso.size();) {
        inizi.push_back(at);
        unsigned tag = static_cast<unsigned char>(atteso[at]) | static_cast<unsigned char>(atteso[at + 1]) << 8;
        at += 2 + (tag == 2 ? 2 : tag == 5 ? 8 : 0);
    }
    size_t per_componente = inizi.size() / 2;
    for (size_t e = 0; e < inizi.size(); ++e) {
        size_t fine = e + 1 < inizi.size() ? inizi[e + 1] : atteso.size();
        if (o < fine) {
            size_t metro = per_componente ? e % per_componente : e;
            const char* componente = per_componente && e >= per_componente ? "y" : "x";
            return "metre " + std::to_string(metro) + " component " + componente +
                   confronto(atteso, ottenuto, inizi[e], fine - inizi[e]);
        }
    }
    return "byte " + std::to_string(o) + " past the expected geometry" + confronto(atteso, ottenuto, o, 10);
}

// `tipo` is "linea" (route geometry), "sim" (records) or "celle" (cells).
inline std::string prima_differenza(const std::string& tipo, const std::string& atteso, const std::string& ottenuto) {
    size_t o = 0;
    while (o < atteso.size() && o < ottenuto.size() && atteso[o] == ottenuto[o]) ++o;
    if (o == atteso.size() && o == ottenuto.size()) return "no difference";
    std::string dove = "first difference at byte " + std::to_string(o) + " (sizes " + std::to_string(atteso.size()) +
                       " expected, " + std::to_string(ottenuto.size()) + " got): ";
    if (tipo == "celle") return dove + celle(atteso, ottenuto, o);
    if (tipo == "sim") return dove + voci(atteso, ottenuto, o);
    return dove + tracciato(atteso, ottenuto, o);
}

}  // namespace decodifica
