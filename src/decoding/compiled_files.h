#pragma once
// Reading the three compiled files back into the model's own types, for inspection.
// Every reader checks the layout and the stamps that every compile writes, so that
// a truncated or foreign file is refused with a reason instead of being misread.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compile/timbri.h"
#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"
#include "platform/failure.h"

enum class compiled_kind { route, scenario, cells };

// "route", "scenario" or "cells".
std::string_view kind_word(compiled_kind kind);
std::optional<compiled_kind> kind_from_word(std::string_view word);
// The kind its name gives, by the compiled files' suffixes (the route's first).
std::optional<compiled_kind> kind_from_name(const std::filesystem::path& path);
std::string_view kind_description(compiled_kind kind);

// Every compile stamps cell 1 and record 85 before it writes: the files' signature.
constexpr int16_t TIMBRO_CELLA = TIMBRO_CELLA_UNO;
constexpr int16_t TIMBRO_VOCE = TIMBRO_VOCE_LINEA;

// Each file's contents decoded, or why they are truncated, empty or foreign.
result<tracciato_t> decode_route_file(std::string_view bytes);
result<std::array<voce, NUMERO_VOCI>> decode_scenario_file(std::string_view bytes);
result<std::vector<cella>> decode_cell_file(std::string_view bytes);

// "PATH: not a valid KIND: WHY", for a file that did not decode.
failure invalid_file(const std::filesystem::path& path, compiled_kind kind, const failure& why);
