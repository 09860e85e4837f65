#pragma once
#include <filesystem>

#include "content/scrivi_righe.h"
#include "model/modello.h"

// The slowdown order form (Modulo M. 3) for the carried train: one row per speed
// restriction of the train content, in its order. Fixed text, end marker included.
const tabella_righe& tabella_rallentamenti();

// Writes the form, nome_rallentamenti(m) in directory.
// The line and train named on the form are fixed text; the model only names the file.
void dati_rallentamenti(const std::filesystem::path& directory, const modello& m);
