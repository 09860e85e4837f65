#pragma once
#include <filesystem>
#include <string_view>

#include "model/modello.h"

// Where a driver document of this route and train goes: nome_linea, "_",
// numero_treno, "_" and the document's own suffix, inside `directory`.
std::filesystem::path percorso_documento(const std::filesystem::path& directory, const modello& m,
                                         std::string_view suffisso);
