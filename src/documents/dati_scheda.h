#pragma once
// The driver's timetable card of the carried service: two filled pages and two
// blank templates, drawn in fixed-width boxes.
#include <filesystem>

#include "content/scrivi_righe.h"
#include "model/modello.h"

// The card's lines, closed by the end marker.
const tabella_righe& tabella_scheda();

// Writes the card, nome_scheda_treno(m) in directory.
void dati_scheda(const std::filesystem::path& directory, const modello& m);
