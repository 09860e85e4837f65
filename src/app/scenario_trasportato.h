#pragma once
// The scenario the program carries: its identifiers, and the writers that put
// its text files and driver documents out. The fixed run and `export` share them.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/modello.h"

// Sets the carried route identifier and train number, which name every file.
void identifica_scenario(modello& m);

// One writer of the carried scenario, by the name of the procedure it calls,
// and the name of the file it writes (so callers can look before writing).
struct scrittore_scenario {
    std::string_view nome;
    void (*scrivi)(const std::filesystem::path& directory, const modello& m);
    std::string (*nome_file)(const modello& m);
};

// The two text files' writers, then the three documents', in the fixed run's order.
const std::vector<scrittore_scenario>& scrittori_scenario();
