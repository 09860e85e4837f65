#include "app/form_load.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/temp_dir.h"

TEST(FormLoad, SetsTheIdentifiersAndShowsTheWaitWindowFirst) {
    temp_dir dir;
    Form1 form;
    std::ostringstream out;
    EXPECT_EQ(Form_Load(form, dir.path(), out), 0);
    EXPECT_EQ(form.m.nome_linea, "Lidonia_Sabrio");
    EXPECT_EQ(form.m.numero_treno, "914");
    EXPECT_EQ(out.str().rfind("Attendere\n", 0), 0u);
}

TEST(FormLoad, CallsTheStagesInTheFixedOrder) {
    std::vector<std::string> names;
    for (const auto& p : sequenza_avvio()) names.emplace_back(p.nome);
    const std::vector<std::string> order = {"dati_linea", "dati_treno", "dati_note", "dati_rallentamenti",
                                            "dati_scheda", "memorizza_percorso"};
    // Every stage present appears in the fixed order, each once.
    size_t at = 0;
    for (const auto& n : names) {
        while (at < order.size() && order[at] != n) ++at;
        ASSERT_LT(at, order.size()) << n << " is out of order";
        ++at;
    }
}

TEST(FormLoad, TheDocumentStagesWriteIntoTheApplicationDirectory) {
    temp_dir dir;
    Form1 form;
    form.directory = dir.path();
    form.m.nome_linea = "Lidonia_Sabrio";
    form.m.numero_treno = "914";
    for (const auto& p : sequenza_avvio())
        if (p.nome == "dati_note" || p.nome == "dati_rallentamenti") p.esegui(form);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Lidonia_Sabrio_914_note.txt",
                                                     "Lidonia_Sabrio_914_rallentamenti.txt"}));
}
