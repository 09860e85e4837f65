#pragma once
// The run's owner: the identifiers, the directory every file lives in, and the
// one scenario model that the stages share.
#include <filesystem>

#include "compile/memorizza_percorso.h"
#include "model/modello.h"

struct Form1 {
    std::filesystem::path directory;  // the application directory
    modello m;                        // m.nome_linea, m.numero_treno live here
    esito_compilazione esito;         // what the compile driver handed back
};
