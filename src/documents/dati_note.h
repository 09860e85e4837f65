#pragma once
#include <filesystem>

#include "content/scrivi_righe.h"
#include "model/modello.h"

// The notes sheet: what the driver of the carried train meets along the line.
// Fixed text in Windows-1252, end marker included.
const tabella_righe& tabella_note();

// Writes the sheet, nome_note(m) in directory.
void dati_note(const std::filesystem::path& directory, const modello& m);
