#pragma once
// One view per compiled file kind, each as text and as JSON from the same figures.
#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "decoding/numbers.h"
#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"

void print_route(const tracciato_t& t, const std::optional<index_range>& points, std::ostream& out);
nlohmann::json route_json(const tracciato_t& t, const std::optional<index_range>& points);

void print_scenario(const std::array<voce, NUMERO_VOCI>& voci, std::ostream& out);
nlohmann::json scenario_json(const std::array<voce, NUMERO_VOCI>& voci);

void print_cells(const std::vector<cella>& celle, const std::optional<index_range>& range, std::ostream& out);
nlohmann::json cells_json(const std::vector<cella>& celle, const std::optional<index_range>& range);
