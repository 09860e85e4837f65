#pragma once
// The carried train content read back into the few values that other tests
// check it against: stations with their areas and times, and the speed limits.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "content/dati_treno.h"
#include "tests/support/righe.h"

struct stazione_treno {
    std::string nome;
    std::array<int32_t, 17> campi{};  // fields 1 to 16 of the line; index 0 unused
    int32_t inizio_zona = 0, fine_zona = 0;
    int32_t orario = 0;  // seconds after midnight, 0 without a time
};

// The stations in file order, their areas as the reader derives them.
inline std::vector<stazione_treno> stazioni_treno() {
    std::vector<stazione_treno> out;
    for (const auto& r : sezione(tabella_treno(), "[stazioni]")) {
        auto p = pezzi(r);
        stazione_treno s;
        for (size_t k = 1; k <= 16; ++k) s.campi[k] = numero(p[k]);
        s.nome = senza_spazi(p[17]);
        const int32_t pos = s.campi[1], tipo = s.campi[2], lung = s.campi[3];
        const bool prolunga = s.campi[6] != 0 && !out.empty();
        if (tipo == 5 || tipo == 6) {
            s.inizio_zona = pos - lung, s.fine_zona = pos + 150;
        } else if (tipo == 7 || tipo == 8) {
            s.inizio_zona = pos - lung, s.fine_zona = pos + lung;
        } else {
            s.inizio_zona = static_cast<int32_t>(std::nearbyint(pos - lung / 2.0));
            s.fine_zona = static_cast<int32_t>(std::nearbyint(pos + lung / 2.0)) + (prolunga ? 50 : 0);
        }
        s.orario = (s.campi[14] * 60 + s.campi[15]) * 60 + s.campi[16];
        out.push_back(s);
    }
    return out;
}

// A time as the cards show it, "10.48": the hour and the minute it falls in.
inline std::string ore(int32_t secondi) {
    char b[24];
    std::snprintf(b, sizeof b, "%d.%02d", secondi / 3600, secondi / 60 % 60);
    return b;
}

// The speed-limit lines: (position, km/h) in file order.
inline std::vector<std::pair<int32_t, int32_t>> limiti_treno() {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (const auto& r : sezione(tabella_treno(), "[vel_limite]")) {
        auto v = valori(r);
        out.emplace_back(v[0], v[1]);
    }
    return out;
}

// The line speed limit in force at a position.
inline int32_t limite_a(int32_t posizione) {
    int32_t v = 0;
    for (const auto& [p, s] : limiti_treno())
        if (p <= posizione) v = s;
    return v;
}
