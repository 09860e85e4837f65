#include "documents/percorso_documento.h"

#include <string>

std::filesystem::path percorso_documento(const std::filesystem::path& directory, const modello& m,
                                         std::string_view suffisso) {
    std::string nome = m.nome_linea + "_" + m.numero_treno + "_";
    nome += suffisso;
    return directory / nome;
}
