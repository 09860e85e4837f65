#pragma once
// The train half of the carried scenario, held as the fixed text of its file.
#include <filesystem>

#include "content/scrivi_righe.h"
#include "model/modello.h"

// The train text file's lines, closed by the end marker. The numeric fields of
// the speed, station, restriction, signal and code-cut lines are right-aligned
// in fixed widths, so the padding is part of each line.
const tabella_righe& tabella_treno();

// Writes the train text file, nome_testo_treno(m) in directory.
void dati_treno(const std::filesystem::path& directory, const modello& m);
