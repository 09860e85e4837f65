#pragma once
// The route half of the carried scenario, held as the fixed text of its file.
#include <filesystem>

#include "content/scrivi_righe.h"
#include "model/modello.h"

// The route text file's lines, closed by the end marker.
const tabella_righe& tabella_linea();

// Writes the route text file, nome_testo_linea(m) in directory.
void dati_linea(const std::filesystem::path& directory, const modello& m);
