#include "model/nomi_file.h"

#include <gtest/gtest.h>

namespace {

struct caso {
    std::string_view nome;
    std::optional<std::string> atteso;
};

}  // namespace

TEST(NomiFile, IdentifiersComeBackOnlyFromWellFormedTextFileNames) {
    for (const caso& c :
         {caso{"Lidonia_Sabrio_linea.txt", "Lidonia_Sabrio"}, caso{"_linea.txt", std::nullopt},
          caso{"Lidonia_Sabrio_linea.dat", std::nullopt}, caso{"linea.txt", std::nullopt}})
        EXPECT_EQ(radice_da_nome_linea(c.nome), c.atteso) << c.nome;
    for (const caso& c :
         {caso{"Lidonia_Sabrio_914-.txt", "914"}, caso{"Lidonia_Sabrio_-.txt", std::nullopt},
          caso{"Altra_Linea_914-.txt", std::nullopt}, caso{"Lidonia_Sabrio_914.txt", std::nullopt},
          caso{"Lidonia_Sabrio-.txt", std::nullopt}})
        EXPECT_EQ(numero_da_nome_treno(c.nome, "Lidonia_Sabrio"), c.atteso) << c.nome;

    // The names the writers give are the names the command line reads back.
    modello m;
    m.nome_linea = "Valle";
    m.numero_treno = "15";
    EXPECT_EQ(radice_da_nome_linea(nome_testo_linea(m)), "Valle");
    EXPECT_EQ(numero_da_nome_treno(nome_testo_treno(m), "Valle"), "15");
}
