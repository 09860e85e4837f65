#pragma once
// The three compiled files of one scenario, found in a folder by the names
// `compile` gives them from the scenario's identifiers, and decoded.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"
#include "platform/failure.h"

struct compiled_scenario {
    std::array<voce, NUMERO_VOCI> voci{};
    std::vector<cella> celle;
    tracciato_t tracciato;     // empty when compiled without geometry
    std::string no_plan_note;  // why there is no route file, when there is none
    std::vector<std::string> sources;  // the files read, UTF-8
};

// route_id and train_number are UTF-8. A scenario compiled without geometry has
// no route file: that is a note, not a failure.
result<compiled_scenario> read_compiled_scenario(const std::filesystem::path& folder, const std::string& route_id,
                                                 const std::string& train_number);
