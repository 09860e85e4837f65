#pragma once
// The single in-memory scenario: every stage reads and writes this one instance.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/cella.h"
#include "model/codice.h"
#include "model/registro_lettura.h"
#include "model/tracciato.h"
#include "model/voce.h"

constexpr int MAX_MONTAGNE = 80;

// Where a recorded fault came from, for the author's diagnostics; never written
// to a compiled file. Recorded with the code, where the fault is found.
struct origine_errore : luogo_testo {
    std::string dettaglio;   // what exactly is wrong, when more is known than the code says
    luogo_testo nota;        // the other object the fault concerns, when there is one
    std::string nota_testo;  // what that object has to do with the fault
    // The keyword field of the fault's line when it holds a ';' or a tab (which
    // of them comes first), which separate no fields: values written after one
    // are part of the keyword field.
    luogo_testo campo_unito;
    char separatore = 0;
    // A line short of values because its first one was written in the keyword
    // field ("pendenza 3000"): where the comma after the keyword belongs.
    luogo_testo virgola;
    // A fault of a value read earlier (a run value stored while a later line is
    // read): where the reader was when it met it; a place in no file when it did not.
    luogo_testo trovato;
};

// One fault as it was recorded: the error state keeps only the last one.
struct errore_registrato {
    codice codice_errore = codice::nessuno;
    std::optional<int32_t> metri;  // when recorded with its position
    origine_errore origine;
};

// The reserved places the compiler stamps its own values into.
enum class posto_riservato : uint8_t { cella_uno, voce_linea };

// A reserved place the stamps found already holding a value: the numbered report,
// kept apart from the error state, which it leaves as it is.
struct rapporto_registrato {
    codice numero = codice::nessuno;  // riservato_primo or riservato_secondo
    posto_riservato posto = posto_riservato::cella_uno;
    // The line whose object put the value there (-1 when none did) and its place:
    // for no line, the route file for its record, no file for a cell.
    int32_t riga = -1;
    luogo_testo luogo;
};

// For a reading that may be taken up again from an earlier line: each cell as it
// was before every access that may write it, in order, so that what was written
// after any length of the list can be undone. Off, and empty, for any other reading.
struct diario_celle {
    struct scritta {
        int32_t indice;
        int32_t riga;  // its line index before
        cella prima;
    };
    bool attivo = false;
    std::vector<scritta> scritte;
};

// What reading a body line may change of the model, but for the cells (whose
// writes the journal undoes) and the lists that only grow (errori, and the
// record's): a reading taken up again at a line start copies it back whole.
struct stato_corpo {
    int32_t numero_montagne = 0;
    codice codice_errore = codice::nessuno;
    int32_t metri_errore = 0;
    origine_errore origine;  // the place of the error state's fault
    std::array<voce, NUMERO_VOCI> voci{};
    std::array<int32_t, MAX_MONTAGNE + 1> montagne_inizio{};
    std::array<int32_t, MAX_MONTAGNE + 1> montagne_fine{};
};

struct modello : stato_corpo {
    std::string nome_linea;
    std::string numero_treno;
    int32_t genera_tracciato = 0;
    int32_t lunghezza_estesa = 0;
    int32_t numero_celle = 0;
    std::vector<errore_registrato> errori;  // every fault recorded, in order
    registro_lettura registro;  // what the reader read, for diagnostics
    std::optional<rapporto_registrato> rapporto;  // the numbered report that ended the run

    std::vector<cella> celle;  // indices 0 to numero_celle once allocated
    // Beside each cell: the index in registro.righe of the line whose object
    // claimed it, -1 for none, so that faults found on the grid name their line.
    std::vector<int32_t> righe_celle;
    tracciato_t tracciato;
    diario_celle diario;

    bool griglia_allocata() const { return !celle.empty(); }
    bool in_griglia(int64_t k) const { return griglia_allocata() && k >= 0 && k <= numero_celle; }

    void pulisci_voci() { voci.fill(voce{}); }
    // Before a reading with geometry flag j: no fault, no report, every entry empty.
    void nuova_lettura(int32_t j) {
        genera_tracciato = j;
        codice_errore = codice::nessuno;
        metri_errore = 0;
        origine = {};
        errori.clear();
        rapporto.reset();
        pulisci_voci();
    }
    // Records a fault with the place it was found at (and its position, when it
    // has one); a detail and a note, if any, follow.
    void registra_errore(codice c, luogo_testo dove, std::optional<int32_t> metri = std::nullopt) {
        codice_errore = c;
        if (metri) metri_errore = *metri;
        origine = {};
        static_cast<luogo_testo&>(origine) = std::move(dove);
        errori.push_back({c, metri, origine});
    }
    void dettaglia_errore(std::string dettaglio) {
        origine.dettaglio = std::move(dettaglio);
        if (!errori.empty()) errori.back().origine.dettaglio = origine.dettaglio;
    }
    void annota_errore(luogo_testo dove, std::string testo) {
        origine.nota = std::move(dove);
        origine.nota_testo = std::move(testo);
        if (!errori.empty()) errori.back().origine = origine;
    }
    // The fault's keyword field holds a separator that separates no fields.
    void separatore_errore(luogo_testo campo, char separatore) {
        origine.campo_unito = campo;
        origine.separatore = separatore;
        if (!errori.empty()) errori.back().origine = origine;
    }
    // The fault's line lacks the comma after its keyword, at `dove`.
    void virgola_errore(luogo_testo dove) {
        origine.virgola = dove;
        if (!errori.empty()) errori.back().origine = origine;
    }
    // The fault, of a value read earlier, was met while the reader was at `dove`.
    void trovato_errore(luogo_testo dove) {
        origine.trovato = dove;
        if (!errori.empty()) errori.back().origine = origine;
    }
    // Sizes the grid to cells 0 to ultima, all fields zero, claimed by no line.
    void alloca_celle(int32_t ultima) {
        celle.assign(static_cast<size_t>(ultima) + 1, cella{});
        righe_celle.assign(celle.size(), -1);
    }
    void libera_celle() {
        celle.clear();
        righe_celle.clear();
    }
    // Cell k (inside the grid), about to be written.
    cella& cella_da_scrivere(size_t k) {
        annota_cella(k);
        return celle[k];
    }
    // Cell k is claimed by the object of the line being read: the reader records
    // each line before it places the line's object.
    void rivendica(size_t k) { rivendica(k, static_cast<int32_t>(registro.righe.size()) - 1); }
    void rivendica(size_t k, int32_t riga) {
        if (k >= righe_celle.size()) return;
        annota_cella(k);
        righe_celle[k] = riga;
    }
    void annota_cella(size_t k) {
        if (diario.attivo) diario.scritte.push_back({static_cast<int32_t>(k), righe_celle[k], celle[k]});
    }
    int32_t riga_cella(int64_t k) const {
        return k >= 0 && static_cast<size_t>(k) < righe_celle.size() ? righe_celle[static_cast<size_t>(k)] : -1;
    }
    // The place of a line of the reader's record; empty for -1.
    luogo_testo luogo_riga(int32_t indice) const {
        if (indice < 0 || static_cast<size_t>(indice) >= registro.righe.size()) return {};
        return registro.righe[static_cast<size_t>(indice)].luogo;
    }
};
