#pragma once
#include <filesystem>
#include <string>
#include <vector>

// A line table: the lines of a text file, closed by the end marker entry.
using tabella_righe = std::vector<std::string>;
inline constexpr const char* FINE_TABELLA = "riferimento fine del file";

// The bytes scrivi_righe writes for a table: every entry before the end marker
// (compared exactly), unchanged, each followed by CR LF.
std::string testo_tabella(const tabella_righe& tabella);

// Writes the table as a fresh text file at `path`, replacing any older file.
// Throws io_failure when the file cannot be written.
void scrivi_righe(const std::filesystem::path& path, const tabella_righe& tabella);
