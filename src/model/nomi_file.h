#pragma once
// How every file of a scenario is named: the route identifier, for a train's own
// files "_" and the train number, then a fixed suffix. The suffixes are spelt
// only here.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/modello.h"

// After the route identifier alone.
inline constexpr std::string_view SUFFISSO_TESTO_LINEA = "_linea.txt";
inline constexpr std::string_view SUFFISSO_FILE_LINEA = "_linea.dat";
// After the route identifier, "_" and the train number.
inline constexpr std::string_view SUFFISSO_TESTO_TRENO = "-.txt";
inline constexpr std::string_view SUFFISSO_FILE_VOCI = ".sim";
inline constexpr std::string_view SUFFISSO_FILE_CELLE = ".dat";
inline constexpr std::string_view SUFFISSO_SCHEDA_TRENO = "_scheda_treno.txt";
inline constexpr std::string_view SUFFISSO_RALLENTAMENTI = "_rallentamenti.txt";
inline constexpr std::string_view SUFFISSO_NOTE = "_note.txt";

// The two scenario text files.
std::string nome_testo_linea(const modello& m);
std::string nome_testo_treno(const modello& m);
// The three compiled files: route geometry, records, cells.
std::string nome_file_linea(const modello& m);
std::string nome_file_voci(const modello& m);
std::string nome_file_celle(const modello& m);
// The three driver documents.
std::string nome_scheda_treno(const modello& m);
std::string nome_rallentamenti(const modello& m);
std::string nome_note(const modello& m);

// The file named `nome` (the model's Windows-1252 text) in `cartella`: the
// platform names files in Unicode, so "Citt\xE0" is the same file everywhere.
std::filesystem::path percorso_file(const std::filesystem::path& cartella, std::string_view nome);

// The part of `nome` before `suffisso`; nullopt when the name does not end with
// the suffix or nothing comes before it.
std::optional<std::string> radice_nome(std::string_view nome, std::string_view suffisso);

// The command line's inverse: the route identifier that names a route text
// file, and the train number that names a train text file of route `id`;
// nullopt for any other name, an empty identifier or an empty number.
std::optional<std::string> radice_da_nome_linea(std::string_view name);
std::optional<std::string> numero_da_nome_treno(std::string_view name, std::string_view id);
