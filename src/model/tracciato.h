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
// Storage puts the metre index fastest, as the route file does. An element is
// held as its value (an integer one exactly, as a double) and a one-byte tag:
// nine bytes, not the sixteen of an elemento_tracciato, for up to two million
// elements.
struct tracciato_t {
    int32_t ultimo_metro = -1;  // -1: not allocated

    bool allocato() const { return ultimo_metro >= 0; }
    void dimensiona(int32_t ultimo) {
        ultimo_metro = ultimo;
        const size_t n = 2 * (static_cast<size_t>(ultimo) + 1);
        valori_.assign(n, 0.0);
        tag_.assign(n, elemento_tracciato::VUOTO);
    }
    size_t numero_elementi() const { return tag_.size(); }
    size_t indice(int32_t metro, int componente) const {
        return static_cast<size_t>(componente) * (static_cast<size_t>(ultimo_metro) + 1) + static_cast<size_t>(metro);
    }

    // By storage index, in the file's order.
    elemento_tracciato elemento(size_t i) const {
        switch (tag_[i]) {
            case elemento_tracciato::INTERO: return elemento_tracciato::da_intero(static_cast<int16_t>(valori_[i]));
            case elemento_tracciato::REALE: return elemento_tracciato::da_reale(valori_[i]);
            default: return {};
        }
    }
    uint8_t tag(size_t i) const { return tag_[i]; }
    double valore(size_t i) const { return valori_[i]; }
    void imposta(size_t i, elemento_tracciato e) {
        tag_[i] = static_cast<uint8_t>(e.tag);
        valori_[i] = e.valore();
    }

    elemento_tracciato at(int32_t metro, int componente) const { return elemento(indice(metro, componente)); }
    double valore(int32_t metro, int componente) const { return valori_[indice(metro, componente)]; }
    void imposta(int32_t metro, int componente, elemento_tracciato e) { imposta(indice(metro, componente), e); }
    // A computed point, stored as a double.
    void imposta_reale(int32_t metro, int componente, double v) {
        const size_t i = indice(metro, componente);
        tag_[i] = elemento_tracciato::REALE;
        valori_[i] = v;
    }

    // Appends an element; for a geometry decoded element by element, which sets
    // ultimo_metro once all are in.
    void aggiungi(elemento_tracciato e) {
        tag_.push_back(static_cast<uint8_t>(e.tag));
        valori_.push_back(e.valore());
    }

private:
    std::vector<double> valori_;
    std::vector<uint8_t> tag_;
};
