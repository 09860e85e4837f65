#pragma once
// The single in-memory scenario: every stage reads and writes this one instance.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/cella.h"
#include "model/registro_lettura.h"
#include "model/tracciato.h"
#include "model/voce.h"

constexpr int MAX_MONTAGNE = 80;

// Where a recorded fault came from, for the author's diagnostics; never written
// to a compiled file.
struct origine_errore {
    std::string file;  // path of the text file, empty when unknown
    int32_t line = 0;  // 1-based line, 0 when unknown
};

struct modello {
    std::string nome_linea;
    std::string numero_treno;
    int32_t genera_tracciato = 0;
    int32_t lunghezza_estesa = 0;
    int32_t numero_celle = 0;
    int32_t numero_montagne = 0;
    int32_t codice_errore = 0;
    int32_t metri_errore = 0;
    origine_errore origine;
    registro_lettura registro;  // what the reader read, for diagnostics

    std::vector<cella> celle;  // indices 0 to numero_celle once allocated
    std::array<voce, NUMERO_VOCI> voci{};
    tracciato_t tracciato;
    std::array<int32_t, MAX_MONTAGNE + 1> montagne_inizio{};
    std::array<int32_t, MAX_MONTAGNE + 1> montagne_fine{};

    bool griglia_allocata() const { return !celle.empty(); }
    bool in_griglia(int64_t k) const { return griglia_allocata() && k >= 0 && k <= numero_celle; }

    void pulisci_voci() { voci.fill(voce{}); }
    // Sizes the grid to cells 0 to ultima, all fields zero.
    void alloca_celle(int32_t ultima) { celle.assign(static_cast<size_t>(ultima) + 1, cella{}); }
};
