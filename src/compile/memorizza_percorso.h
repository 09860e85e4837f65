#pragma once
// The compile driver: reads the two text files into the model, runs the grid
// pass, stamps the reserved values and writes the compiled files.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "model/modello.h"
#include "text_input/memorizza_dati.h"

// When the compiled files are written. Never after a numbered report or
// without a grid, whatever is chosen here.
enum class scrittura_compilati {
    mai,           // everything but the writing (a check)
    senza_errori,  // only when the error state is 0
    sempre,        // whatever the error state, as the fixed run does
};

struct opzioni_compilazione {
    ingressi_lettore ingressi;       // the two text files, and whether the reader deletes them
    std::filesystem::path cartella;  // where the compiled files go
    scrittura_compilati scrittura = scrittura_compilati::sempre;
    // When set, the last say before writing: false writes nothing (an author's
    // warnings taken as errors).
    std::function<bool(const modello&)> consenti_scrittura;
};

struct esito_compilazione {
    bool griglia_allocata = false;  // false: nothing was compiled or written
    // The numbered report (riservato_primo or riservato_secondo) that ended the
    // run before anything was written, for the caller to show (its place is in
    // m.rapporto); nessuno otherwise.
    codice rapporto = codice::nessuno;
    std::vector<std::string> scritti;  // names (not paths) of the files written, in order
    size_t errori_lettura = 0;  // how many of m.errori the reader recorded; the grid pass's follow
};

// j is the geometry flag: non-zero builds the geometry and writes the route file.
// Scenario faults are left in m.codice_errore / m.metri_errore with their place in
// m.origine. A reserved value already in use ends the compile with the numbered
// report in the result and no file written. The files are written as one set,
// all or none; throws io_failure when they cannot be.
esito_compilazione memorizza_percorso(modello& m, int32_t j, const opzioni_compilazione& opzioni);
