#pragma once
// The two competition codes of a train number and route identifier, both over
// the same 25-character window of testo of records 86 and 85.
#include <cstdint>
#include <string>

#include "model/modello.h"

// Lower case as the Windows-1252 code page has it, byte by byte.
std::string minuscole_1252(const std::string& testo);

// The 25 bytes both codes are computed over.
std::string finestra_codice(const modello& m);

// Sum of the window's byte codes.
int16_t codice_gara_og(const modello& m);
// Sum of each window byte's code times its 1-based position.
int32_t codice_gara_st(const modello& m);
