#pragma once
// The three driver documents for an author's own scenario, made from its compiled
// model in the forms of the carried ones (forme_documenti.h). Each result is a
// line table, Windows-1252, closed by the end marker.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "content/scrivi_righe.h"
#include "model/modello.h"

// What the train's running times add to the card; all of it may be missing, and
// what is missing stays blank (or the blank template's "xxx").
struct dati_marcia {
    // For each station, in file order: the recovery margin of the section ending
    // there, in seconds.
    std::vector<std::optional<double>> recupero_s;
    std::optional<int32_t> velocita_massima;     // km/h, the train's top speed
    std::optional<int32_t> limite_massa_frenata;  // km/h, what its braked mass allows
};

// The timetable card: a row for every station and every change of line speed,
// 31 rows a page, as many pages as they fill.
tabella_righe scheda_autore(const modello& m, const dati_marcia& marcia);
inline constexpr size_t RIGHE_PAGINA_SCHEDA = 31;

// The slowdown order form: a row for every speed restriction, in file order.
tabella_righe ordine_autore(const modello& m);

// The notes sheet: what the scenario says of the train and the line, then the
// author's own text (Windows-1252, wrapped), then the sign-off.
tabella_righe note_autore(const modello& m, const std::string& testo_autore);
