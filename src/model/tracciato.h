#pragma once
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <new>

#include "platform/memoria_grande.h"

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
// Storage puts the metre index fastest, as the route file does, and is the
// file's own layout: a ten-byte slot an element, which begins with the
// element's bytes as the file holds them (little-endian tag, then the value).
// A real element fills its slot, so a run of them is the file's bytes as they
// stand, and the file is written straight from here. The runs of reals set in
// order (the computed points, each component's) are kept as they grow, so
// writing them reads no tag.
class tracciato_t {
public:
    static constexpr size_t SLOT = 10;
    int32_t ultimo_metro = -1;  // -1: not allocated

    tracciato_t() = default;
    tracciato_t(const tracciato_t& o) { *this = o; }
    tracciato_t(tracciato_t&& o) noexcept { *this = std::move(o); }
    tracciato_t& operator=(tracciato_t&& o) noexcept {
        std::swap(slot_, o.slot_);
        std::swap(n_, o.n_);
        std::swap(capacita_, o.capacita_);
        std::swap(ultimo_metro, o.ultimo_metro);
        std::swap(reali_, o.reali_);
        return *this;
    }
    ~tracciato_t() { libera_azzerata(slot_, capacita_ * SLOT); }
    tracciato_t& operator=(const tracciato_t& o) {
        if (this == &o) return *this;
        n_ = 0;  // nothing of the old elements is kept
        riserva(o.n_);
        if (o.n_ > 0) std::memcpy(slot_, o.slot_, o.n_ * SLOT);
        n_ = o.n_;
        ultimo_metro = o.ultimo_metro;
        reali_ = o.reali_;
        return *this;
    }

    bool allocato() const { return ultimo_metro >= 0; }
    // Every element empty. The zeroed pages come from the system untouched: they
    // cost memory only once the geometry reaches them.
    void dimensiona(int32_t ultimo) {
        const size_t n = 2 * (static_cast<size_t>(ultimo) + 1);
        *this = tracciato_t{};
        riserva(n);
        n_ = n;
        ultimo_metro = ultimo;
    }
    // Sized to metre ultimo but holding no element: the steps are counted and
    // none is stored, for a reading that wants only its faults.
    void misura(int32_t ultimo) {
        *this = tracciato_t{};
        ultimo_metro = ultimo;
    }
    size_t numero_elementi() const { return n_; }
    size_t indice(int32_t metro, int componente) const {
        return static_cast<size_t>(componente) * (static_cast<size_t>(ultimo_metro) + 1) + static_cast<size_t>(metro);
    }

    // By storage index, in the file's order.
    uint16_t tag(size_t i) const { return static_cast<uint16_t>(leggi(i, 0, 2)); }
    double valore(size_t i) const {
        switch (tag(i)) {
            case elemento_tracciato::INTERO: return static_cast<int16_t>(leggi(i, 2, 2));
            case elemento_tracciato::REALE: return std::bit_cast<double>(leggi(i, 2, 8));
            default: return 0.0;
        }
    }
    elemento_tracciato elemento(size_t i) const {
        switch (tag(i)) {
            case elemento_tracciato::INTERO: return elemento_tracciato::da_intero(static_cast<int16_t>(leggi(i, 2, 2)));
            case elemento_tracciato::REALE: return elemento_tracciato::da_reale(std::bit_cast<double>(leggi(i, 2, 8)));
            default: return {};
        }
    }
    void imposta(size_t i, elemento_tracciato e) {
        scrivi(i, 0, e.tag, 2);
        if (e.tag == elemento_tracciato::INTERO) scrivi(i, 2, static_cast<uint16_t>(e.intero), 2);
        if (e.tag == elemento_tracciato::REALE) scrivi(i, 2, std::bit_cast<uint64_t>(e.reale), 8);
        if (e.tag == elemento_tracciato::REALE)
            nota_reali(i, i + 1);
        else
            nota_non_reale(i);
    }

    elemento_tracciato at(int32_t metro, int componente) const { return elemento(indice(metro, componente)); }
    double valore(int32_t metro, int componente) const { return valore(indice(metro, componente)); }
    void imposta(int32_t metro, int componente, elemento_tracciato e) { imposta(indice(metro, componente), e); }
    // A computed point, stored as a double. Used only by tests; the geometry
    // sets its points with imposta_reali.
    void imposta_reale(int32_t metro, int componente, double v) {
        const size_t i = indice(metro, componente);
        scrivi_reale(slot_ + i * SLOT, v);
        nota_reali(i, i + 1);
    }

    // Computed points for metres da to a in turn, both components, as
    // imposta_reale would set them: punto() gives each {x, y}, in order.
    template <class F>
    void imposta_reali(int32_t da, int32_t a, F&& punto) {
        if (da > a) return;
        const size_t x = indice(da, 0), y = indice(da, 1), n = static_cast<size_t>(a - da) + 1;
        char* px = slot_ + x * SLOT;
        char* py = slot_ + y * SLOT;
        for (size_t c = 0; c < n; ++c, px += SLOT, py += SLOT) {
            const auto [vx, vy] = punto();
            scrivi_reale(px, vx);
            scrivi_reale(py, vy);
        }
        nota_reali(x, x + n);
        nota_reali(y, y + n);
    }

    // Appends an element; for a geometry decoded element by element, which sets
    // ultimo_metro once all are in.
    void aggiungi(elemento_tracciato e) {
        if (n_ == capacita_) riserva(capacita_ == 0 ? 1024 : 2 * capacita_);
        ++n_;
        imposta(n_ - 1, e);
    }

    // The route file's bytes, in order, as runs over the storage: f(data, size).
    template <class F>
    void per_tratto(F&& f) const {
        for (size_t i = 0; i < n_;) {
            const char* inizio = slot_ + i * SLOT;
            size_t byte = 0;
            // Full slots follow one another; a shorter element ends the run.
            for (size_t b = SLOT; b == SLOT && i < n_;) {
                if (const size_t fine = fine_reali(i); fine > i) {
                    byte += (fine - i) * SLOT;
                    i = fine;
                } else {
                    byte += b = elemento_byte(i++);
                }
            }
            f(inizio, byte);
        }
    }

private:
    // Storage indices [da, a) that hold reals; empty when da == a. Two, as the
    // computed points make one run a component. Any other real is found by its tag.
    struct tratto {
        size_t da = 0, a = 0;
    };
    std::array<tratto, 2> reali_{};

    // Elements [i, j) are now reals: a run that they reach grows, else they start one.
    void nota_reali(size_t i, size_t j) {
        for (tratto& r : reali_)
            if (r.da <= i && i <= r.a) {
                r.a = std::max(r.a, j);
                return;
            }
        for (tratto& r : reali_)
            if (r.da == r.a) {
                r = {i, j};
                return;
            }
    }
    // Element i is no longer a real: a run over it ends before it.
    void nota_non_reale(size_t i) {
        for (tratto& r : reali_)
            if (r.da <= i && i < r.a) r.a = i;
    }
    // The end of the known run of reals from i; i when none is known there.
    size_t fine_reali(size_t i) const {
        for (const tratto& r : reali_)
            if (r.da <= i && i < r.a) return r.a;
        return i;
    }
    size_t elemento_byte(size_t i) const {
        const uint16_t t = tag(i);
        return t == elemento_tracciato::INTERO ? 4 : t == elemento_tracciato::REALE ? SLOT : 2;
    }
    // Little-endian in the slot whatever the host's byte order.
    uint64_t leggi(size_t i, size_t da, int byte) const {
        const auto* p = reinterpret_cast<const unsigned char*>(slot_ + i * SLOT + da);
        if constexpr (std::endian::native == std::endian::little) {
            uint64_t v = 0;
            std::memcpy(&v, p, static_cast<size_t>(byte));
            return v;
        } else {
            uint64_t v = 0;
            for (int b = byte - 1; b >= 0; --b) v = v << 8 | p[b];
            return v;
        }
    }
    void scrivi(size_t i, size_t da, uint64_t v, int byte) { scrivi(slot_ + i * SLOT + da, v, byte); }
    static void scrivi_reale(char* slot, double v) {
        scrivi(slot, elemento_tracciato::REALE, 2);
        scrivi(slot + 2, std::bit_cast<uint64_t>(v), 8);
    }
    static void scrivi(char* dove, uint64_t v, int byte) {
        auto* p = reinterpret_cast<unsigned char*>(dove);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(p, &v, static_cast<size_t>(byte));
        } else {
            for (int b = 0; b < byte; ++b, v >>= 8) p[b] = static_cast<unsigned char>(v & 0xFF);
        }
    }
    // Room for n elements, all empty beyond those kept.
    void riserva(size_t n) {
        char* nuovo = alloca_azzerata(n * SLOT);
        if (nuovo == nullptr) throw std::bad_alloc();
        if (n_ > 0) std::memcpy(nuovo, slot_, n_ * SLOT);
        libera_azzerata(slot_, capacita_ * SLOT);
        slot_ = nuovo;
        capacita_ = n;
    }
    char* slot_ = nullptr;
    size_t n_ = 0;
    size_t capacita_ = 0;
};
