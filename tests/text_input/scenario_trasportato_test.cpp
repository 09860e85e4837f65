// The carried scenario, written by the content writers and read back.
#include <gtest/gtest.h>

#include "content/dati_linea.h"
#include "content/dati_treno.h"
#include "tests/support/temp_dir.h"
#include "text_input/memorizza_dati.h"

namespace {

TEST(CarriedScenario, ReadsBackWithoutAnyStatus) {
    temp_dir dir;
    modello m;
    m.nome_linea = "Lidonia_Sabrio";
    m.numero_treno = "914";
    m.genera_tracciato = 1;
    dati_linea(dir.path(), m);
    dati_treno(dir.path(), m);
    memorizza_dati(m, {dir.path() / "Lidonia_Sabrio_linea.txt", dir.path() / "Lidonia_Sabrio_914-.txt", true});

    ASSERT_EQ(m.codice_errore, codice::nessuno) << m.registro.percorso(m.origine.file) << ":" << m.origine.line << " " << m.registro.guasto;
    EXPECT_TRUE(dir.names().empty());
    EXPECT_EQ(m.numero_celle, 5000);
    EXPECT_EQ(m.celle.size(), 5001u);
    EXPECT_EQ(m.tracciato.ultimo_metro, 250000);

    // Gradient 0 from the origin, then -8 from 5000 m; speed 110, then 95 from 139500 m.
    EXPECT_EQ(m.celle[0].pendenza, 100);
    EXPECT_EQ(m.celle[100].pendenza, 92);
    EXPECT_EQ(m.celle[0].v_limite, 22);
    EXPECT_EQ(m.celle[2790].v_limite, 19);
    EXPECT_EQ(m.celle[2000].aderenza, 100);
    EXPECT_EQ(m.celle[4998].v_limite, 0);
    EXPECT_EQ(m.celle[4998].aderenza, 0);
    EXPECT_EQ(m.celle[4998].pendenza, 0);

    EXPECT_EQ(m.celle[89].tipo_oggetto, OGGETTO_CARTELLO_INDICATORE);
    EXPECT_EQ(m.celle[89].dato1, 80);
    EXPECT_EQ(m.voci[80].testo, "(Km 345+557)");
    for (int i = 75; i <= 80; ++i) EXPECT_FALSE(m.voci[i].testo.empty()) << i;
    EXPECT_TRUE(m.voci[74].testo.empty());
    EXPECT_EQ(m.celle[4050].tipo_oggetto, OGGETTO_ABBATTIMENTO);
    EXPECT_EQ(m.celle[4050].dato1, 180);

    EXPECT_EQ(m.voci[1].testo, "LIDONIA CENTRALE");
    EXPECT_EQ(m.voci[1].inizio_zona, -500);
    EXPECT_EQ(m.voci[1].fine_zona, 500);
    EXPECT_EQ(m.voci[1].orario, (10 * 60 + 48) * 60);
    EXPECT_EQ(m.voci[35].testo, "SABRIO");
    EXPECT_EQ(m.voci[35].inizio_zona, 238200);
    EXPECT_EQ(m.voci[35].fine_zona, 238700);
    EXPECT_TRUE(m.voci[36].testo.empty());

    EXPECT_EQ(m.voci[84].inizio_zona, 125);
    EXPECT_EQ(m.voci[84].fine_zona, 243000);
    EXPECT_EQ(m.voci[84].progressiva, 12);
    EXPECT_EQ(m.voci[85].testo, "Lidonia_Sabrio");
    EXPECT_EQ(m.voci[85].inizio_zona, 1);
    EXPECT_EQ(m.voci[86].testo, "914");
    EXPECT_EQ(m.voci[86].inizio_zona, 0);
    EXPECT_EQ(m.voci[86].fine_zona, 241000);
    EXPECT_EQ(m.voci[86].progressiva, 4);
    EXPECT_EQ(m.voci[86].parametro1, 200);
    EXPECT_EQ(m.voci[86].parametro3, 10);
    EXPECT_EQ(m.voci[86].parametro4, 47);
    EXPECT_EQ(m.voci[86].parametro5, 40);
    for (int i = 81; i <= 83; ++i) {
        EXPECT_EQ(m.voci[i].inizio_zona % 50, 0);
        EXPECT_EQ(m.voci[i].fine_zona % 50, 0);
    }
    EXPECT_TRUE(m.registro.ignoti.empty());
}

}  // namespace
