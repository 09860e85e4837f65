#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One element of the plan geometry: a tagged number, as the route file stores it.
struct elemento_tracciato {
    enum : uint16_t { VUOTO = 0, INTERO = 2, REALE = 5 };
    uint16_t tag = VUOTO;
    int16_t intero = 0;
    double reale = 0.0;

    static elemento_tracciato da_intero(int16_t v) { return {INTERO, v, 0.0}; }
    static elemento_tracciato da_reale(double v) { return {REALE, 0, v}; }
    // The value as the geometry arithmetic reads it; empty reads as 0.
    double valore() const { return tag == INTERO ? intero : tag == REALE ? reale : 0.0; }
};

// Plan x (component 0) and y (component 1) for every metre 0 to ultimo_metro.
// Storage puts the metre index fastest, as the route file does.
struct tracciato_t {
    int32_t ultimo_metro = -1;  // -1: not allocated
    std::vector<elemento_tracciato> elementi;

    bool allocato() const { return ultimo_metro >= 0; }
    void dimensiona(int32_t ultimo) {
        ultimo_metro = ultimo;
        elementi.assign(2 * (static_cast<size_t>(ultimo) + 1), elemento_tracciato{});
    }
    elemento_tracciato& at(int32_t metro, int componente) {
        return elementi[static_cast<size_t>(componente) * (static_cast<size_t>(ultimo_metro) + 1) +
                        static_cast<size_t>(metro)];
    }
    const elemento_tracciato& at(int32_t metro, int componente) const {
        return elementi[static_cast<size_t>(componente) * (static_cast<size_t>(ultimo_metro) + 1) +
                        static_cast<size_t>(metro)];
    }
};
