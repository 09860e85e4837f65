#pragma once
// Compiled-file images built byte by byte, independent of the writers, for tests
// that read compiled files back.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"

namespace bytes_le {
inline void put(std::string& out, uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void put_double(std::string& out, double d) {
    uint64_t v;
    std::memcpy(&v, &d, sizeof v);
    put(out, v, 8);
}
}  // namespace bytes_le

inline std::string cell_file_bytes(const std::vector<cella>& celle) {
    std::string out;
    for (const cella& c : celle) {
        bytes_le::put(out, c.tipo_oggetto, 1);
        for (int16_t d : {c.dato1, c.dato2, c.dato3, c.dato4}) bytes_le::put(out, static_cast<uint16_t>(d), 2);
        for (uint8_t b : {c.tempo_segnale, c.preavviso, c.tipo_montagna, c.v_limite, c.pendenza, c.aderenza})
            bytes_le::put(out, b, 1);
    }
    return out;
}

inline std::string scenario_file_bytes(const std::array<voce, NUMERO_VOCI>& voci) {
    std::string out;
    for (const voce& v : voci) {
        bytes_le::put(out, v.categoria, 1);
        for (int32_t w : {v.inizio_zona, v.fine_zona, v.progressiva}) bytes_le::put(out, static_cast<uint32_t>(w), 4);
        bytes_le::put(out, v.opzione1, 1);
        bytes_le::put(out, v.testo.size(), 2);
        out += v.testo;
        for (int16_t p : {v.parametro1, v.parametro2, v.parametro3, v.parametro4, v.parametro5})
            bytes_le::put(out, static_cast<uint16_t>(p), 2);
        for (uint8_t b : {v.opzione2, v.opzione3, v.opzione4, v.opzione5}) bytes_le::put(out, b, 1);
        bytes_le::put(out, static_cast<uint32_t>(v.orario), 4);
    }
    return out;
}

inline std::string route_file_bytes(const tracciato_t& t) {
    std::string out;
    for (size_t i = 0; i < t.numero_elementi(); ++i) {
        const elemento_tracciato e = t.elemento(i);
        bytes_le::put(out, e.tag, 2);
        if (e.tag == elemento_tracciato::INTERO) bytes_le::put(out, static_cast<uint16_t>(e.intero), 2);
        if (e.tag == elemento_tracciato::REALE) bytes_le::put_double(out, e.reale);
    }
    return out;
}

// A geometry as the reader builds it: origin, straight steps, then curved steps of
// turn k from metre `curve_from` for `curve_metres`, straight again, the last two empty.
inline tracciato_t built_geometry(int32_t last, int32_t curve_from, int32_t curve_metres, double k) {
    tracciato_t t;
    t.dimensiona(last);
    t.imposta(0, 0, elemento_tracciato::da_intero(0));
    t.imposta(1, 0, elemento_tracciato::da_intero(0));
    t.imposta(0, 1, elemento_tracciato::da_intero(0));
    t.imposta(1, 1, elemento_tracciato::da_intero(1));
    for (int32_t c = 2; c <= last - 2; ++c) {
        const double x1 = t.at(c - 1, 0).valore(), y1 = t.at(c - 1, 1).valore();
        const double dx = x1 - t.at(c - 2, 0).valore(), dy = y1 - t.at(c - 2, 1).valore();
        const bool curved = c > curve_from && c <= curve_from + curve_metres;
        t.imposta(c, 0, elemento_tracciato::da_reale(curved ? x1 + (dx + k * dy) : x1 + dx));
        t.imposta(c, 1, elemento_tracciato::da_reale(curved ? y1 + (dy - k * dx) : y1 + dy));
    }
    return t;
}
