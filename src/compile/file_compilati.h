#pragma once
// The three compiled files, each the plain image of one part of the model:
// little-endian, no header, no gaps, field by field.
#include <filesystem>
#include <string>
#include <vector>

#include "model/modello.h"
#include "platform/file_ops.h"

// The route file's bytes, handed to put in blocks.
void scrivi_tracciato(const tracciato_t& t, const byte_sink& put);
// The bytes of the other two files.
std::string byte_voci(const std::array<voce, NUMERO_VOCI>& voci);
std::string byte_celle(const std::vector<cella>& celle);

// Writes the route file (only when genera_tracciato is non-zero), the record file
// and the cell file into `cartella` as one set: all of them, each replacing any
// older file whole, or none. Returns the names written, in order. Throws io_failure.
std::vector<std::string> scrivi_file_compilati(const modello& m, const std::filesystem::path& cartella);
