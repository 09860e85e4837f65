#include "model/nomi_file.h"

#include "model/testo_1252.h"

namespace {

std::string di_linea(const modello& m, std::string_view suffisso) {
    return m.nome_linea + std::string(suffisso);
}

std::string radice_treno(std::string_view nome_linea) { return std::string(nome_linea) + "_"; }

std::string di_treno(const modello& m, std::string_view suffisso) {
    return radice_treno(m.nome_linea) + m.numero_treno + std::string(suffisso);
}

}  // namespace

std::string nome_testo_linea(const modello& m) { return di_linea(m, SUFFISSO_TESTO_LINEA); }
std::string nome_testo_treno(const modello& m) { return di_treno(m, SUFFISSO_TESTO_TRENO); }
std::string nome_file_linea(const modello& m) { return di_linea(m, SUFFISSO_FILE_LINEA); }
std::string nome_file_voci(const modello& m) { return di_treno(m, SUFFISSO_FILE_VOCI); }
std::string nome_file_celle(const modello& m) { return di_treno(m, SUFFISSO_FILE_CELLE); }
std::string nome_scheda_treno(const modello& m) { return di_treno(m, SUFFISSO_SCHEDA_TRENO); }
std::string nome_rallentamenti(const modello& m) { return di_treno(m, SUFFISSO_RALLENTAMENTI); }
std::string nome_note(const modello& m) { return di_treno(m, SUFFISSO_NOTE); }

std::filesystem::path percorso_file(const std::filesystem::path& cartella, std::string_view nome) {
    const std::string utf8 = utf8_da_1252(nome);
    return cartella / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::optional<std::string> radice_nome(std::string_view nome, std::string_view suffisso) {
    if (!nome.ends_with(suffisso) || nome.size() == suffisso.size()) return std::nullopt;
    return std::string(nome.substr(0, nome.size() - suffisso.size()));
}

std::optional<std::string> radice_da_nome_linea(std::string_view name) {
    return radice_nome(name, SUFFISSO_TESTO_LINEA);
}

std::optional<std::string> numero_da_nome_treno(std::string_view name, std::string_view id) {
    const std::optional<std::string> radice = radice_nome(name, SUFFISSO_TESTO_TRENO);
    const std::string testa = radice_treno(id);
    if (!radice || radice->size() <= testa.size() || !radice->starts_with(testa)) return std::nullopt;
    return radice->substr(testa.size());
}
