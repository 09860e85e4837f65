// Every conformance vector through the compile: error state, files written and
// their digests, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "compile/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "platform/file_ops.h"
#include "tests/support/decodifica.h"
#include <nlohmann/json.hpp>
#include "tests/support/sha256.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

fs::path cartella_vettori() {
    if (const char* env = std::getenv("SCENARIO_VECTORS_DIR")) return env;
    return test_paths::shared_vectors;
}

struct vettore {
    fs::path cartella;
    nlohmann::json atteso;
    std::string linea, treno;  // input texts
};

esito_compilazione compila(const vettore& v, const fs::path& in, const fs::path& out, modello& m) {
    m.nome_linea = v.atteso["route_id"].get<std::string>();
    m.numero_treno = v.atteso["train_number"].get<std::string>();
    opzioni_compilazione o;
    o.ingressi = {in / v.atteso["route_file"].get<std::string>(), in / v.atteso["train_file"].get<std::string>(), false};
    o.cartella = out;
    return memorizza_percorso(m, v.atteso["geometry"].get<bool>() ? 1 : 0, o);
}

std::string tipo_file(const std::string& nome, const modello& m) {
    if (nome == nome_file_linea(m)) return "linea";
    return nome == nome_file_voci(m) ? "sim" : "celle";
}

void controlla(const vettore& v) {
    temp_dir in, out;
    write_file(in.path() / v.atteso["route_file"].get<std::string>(), v.linea);
    write_file(in.path() / v.atteso["train_file"].get<std::string>(), v.treno);

    modello m;
    esito_compilazione esito = compila(v, in.path(), out.path(), m);
    // A numbered report leaves no compiled file: "files" is empty then.
    EXPECT_EQ(esito.rapporto == codice::nessuno ? nlohmann::json(nullptr)
                                                : nlohmann::json(std::to_string(numero(esito.rapporto))),
              v.atteso["report"]);
    EXPECT_EQ(numero(m.codice_errore), v.atteso["codice_errore"].get<int64_t>());
    EXPECT_EQ(m.metri_errore, v.atteso["metri_errore"].get<int64_t>());
    EXPECT_EQ(esito.griglia_allocata, v.atteso["grid_allocated"].get<bool>());
    std::vector<std::string> attesi;
    for (const auto& [nome, _] : v.atteso["files"].items()) attesi.push_back(nome);
    std::vector<std::string> scritti = esito.scritti;
    std::sort(scritti.begin(), scritti.end());
    EXPECT_EQ(out.names(), attesi);
    EXPECT_EQ(scritti, attesi);

    for (const auto& [nome, f] : v.atteso["files"].items()) {
        if (!file_exists(out.path() / nome)) continue;
        std::string byte = read_file(out.path() / nome);
        if (sha256_hex(byte) == f["sha256"].get<std::string>() && static_cast<int64_t>(byte.size()) == f["size"].get<int64_t>())
            continue;
        fs::path riferimento = v.cartella / "expected" / nome;
        std::string dove = file_exists(riferimento)
                               ? decodifica::prima_differenza(tipo_file(nome, m),
                                                              read_file(riferimento), byte)
                               : "size " + std::to_string(byte.size()) + ", expected " +
                                     std::to_string(f["size"].get<int64_t>()) + " (no expected bytes to compare)";
        ADD_FAILURE() << nome << " differs: " << dove;
    }
    // The inputs are the author's: never deleted or changed.
    EXPECT_EQ(read_file(in.path() / v.atteso["route_file"].get<std::string>()), v.linea);
    EXPECT_EQ(read_file(in.path() / v.atteso["train_file"].get<std::string>()), v.treno);
}

}  // namespace

TEST(ConformanceVectors, EveryVectorCompilesToItsExpectedFiles) {
    fs::path radice = cartella_vettori();
    // On a developer's machine the vectors may be absent; in CI they must be there.
    if (!fs::is_directory(radice)) {
        if (std::getenv("CI") != nullptr) FAIL() << "no conformance vectors at " << radice;
        GTEST_SKIP() << "no conformance vectors at " << radice;
    }
    std::set<fs::path> cartelle;
    for (const auto& e : fs::directory_iterator(radice))
        if (e.is_directory() && fs::exists(e.path() / "expected.json")) cartelle.insert(e.path());
    ASSERT_FALSE(cartelle.empty());
    for (const fs::path& c : cartelle) {
        SCOPED_TRACE(c.filename().string());
        vettore v{c, nlohmann::json::parse(read_file(c / "expected.json")), {}, {}};
        v.linea = read_file(c / v.atteso["route_file"].get<std::string>());
        v.treno = read_file(c / v.atteso["train_file"].get<std::string>());
        controlla(v);
    }
}
