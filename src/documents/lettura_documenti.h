#pragma once
// What the author's documents read from a compiled model: the stations, the
// restrictions, where the line speed changes and the kilometre reading, each
// as the compiled scenario has it.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/modello.h"

struct stazione_documento {
    std::string nome;  // Windows-1252, as written
    int32_t posizione = 0, inizio_zona = 0, fine_zona = 0;
    int32_t orario = 0;  // seconds after midnight; 0: no time
};
// The stations in file order (which is their order along the line).
std::vector<stazione_documento> stazioni_documento(const modello& m);

struct rallentamento_documento {
    int32_t inizio = 0, velocita = 0, lunghezza = 0, f_tt = 0;
};
// The speed restrictions in file order.
std::vector<rallentamento_documento> rallentamenti_documento(const modello& m);

// (position, km/h): where the line speed of the cells changes, from position 0 up
// to the route's length, the first entry at 0.
std::vector<std::pair<int32_t, int32_t>> cambi_velocita(const modello& m);

// The kilometre reading at p in metres; nothing where no reference holds.
std::optional<int64_t> lettura_km(const modello& m, int64_t p);
// The reading as kilometres, a point and three digits of metres ("349.970");
// nothing where there is no reading or it is negative.
std::optional<std::string> km_testo(const modello& m, int64_t p);

// "X", "X e Y", "X, Y e Z".
std::string elenco(const std::vector<std::string>& parti);

// The text wrapped into lines of at most `larghezza` at spaces (a word longer than
// a line is cut), the lines after the first starting with `rientro`.
std::vector<std::string> a_capo(const std::string& testo, size_t larghezza, const std::string& rientro = "");
