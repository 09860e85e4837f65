#pragma once
// The scenario reader: both text files read into the model, every object placed
// as it is read.
#include <filesystem>
#include <string>

#include "model/modello.h"

// The bytes of the two text files, when the caller has them already.
struct testi_lettore {
    std::string linea;
    std::string treno;
};

// The two text files the reader reads, and whether it deletes them as it goes
// (the fixed run does; an author's own files are never touched). With testi the
// reader reads those bytes instead of the files, which it still names.
class lettura_continua;

struct ingressi_lettore {
    std::filesystem::path linea;  // route text file
    std::filesystem::path treno;  // train text file
    bool cancella_testi = true;
    const testi_lettore* testi = nullptr;
    // The geometry only measured (tracciato_t::misura): every fault as with it, no point stored.
    bool tracciato_misurato = false;
    // Told of every body line the reader starts, to be able to take the reading up there again.
    lettura_continua* ripresa = nullptr;
};

// Reads the route and train text files into the model, placing every object;
// leaves the status in codice_errore and metri_errore. Never throws.
void memorizza_dati(modello& m, const ingressi_lettore& ingressi);
