#include "compile/memorizza_percorso.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string LINEA =
    "[generale]\r\n"
    "lunghezza percorso, 3000\r\n"
    "progressiva chilometrica uno, 0, 0, 0\r\n"
    "progressiva chilometrica due, 0, 0, 0\r\n"
    "progressiva chilometrica tre, 0, 0, 0\r\n"
    "sfondo uno, 1\r\n"
    "sfondo due, 2\r\n"
    "sfondo tre, 3\r\n"
    "ripetizione segnali 4 codici, 0, 0\r\n"
    "[indicazioni]\r\n";
const std::string FINE = "[fine]\r\n";
const std::string TRENO =
    "[generale]\r\n"
    "numero vetture, 5\r\n"
    "percentuale massa frenata, 100\r\n"
    "sabbia, 10\r\n"
    "orologio, 10, 0, 0\r\n"
    "[segnali]\r\n";

// A small scenario in its own directory, compiled into another.
struct scenario {
    temp_dir in, out;
    modello m;

    scenario(const std::string& linea, const std::string& treno) {
        write_file(in.path() / "Prova_linea.txt", linea);
        write_file(in.path() / "Prova_7-.txt", treno);
    }
    esito_compilazione compila(int32_t j = 1, scrittura_compilati scrittura = scrittura_compilati::sempre) {
        m.nome_linea = "Prova";
        m.numero_treno = "7";
        opzioni_compilazione o;
        o.ingressi = {in.path() / "Prova_linea.txt", in.path() / "Prova_7-.txt", false};
        o.cartella = out.path();
        o.scrittura = scrittura;
        return memorizza_percorso(m, j, o);
    }
};

}  // namespace

TEST(MemorizzaPercorso, CompilesAndWritesTheThreeFiles) {
    scenario s(LINEA + FINE, TRENO + FINE);
    s.m.codice_errore = codice::taglio_lungo;  // cleared at the start
    esito_compilazione e = s.compila();
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_TRUE(e.griglia_allocata);
    EXPECT_EQ(e.scritti, (std::vector<std::string>{"Prova_linea.dat", "Prova_7.sim", "Prova_7.dat"}));
    EXPECT_EQ(s.out.names(), (std::vector<std::string>{"Prova_7.dat", "Prova_7.sim", "Prova_linea.dat"}));
    // 3000 + 7000 metres: 200 cells and the geometry of 10000 metres.
    EXPECT_EQ(read_file(s.out.path() / "Prova_7.dat").size(), 15u * 201);
    EXPECT_EQ(read_file(s.out.path() / "Prova_linea.dat").size(), 20u * 10000 - 36);
    EXPECT_EQ(read_file(s.out.path() / "Prova_7.sim").size(), 2958u + 5 + 1);
    EXPECT_EQ(s.m.celle[1].dato1, 5121);
    // The codes of the window "7provaaabbccddeeffgghhiil".
    EXPECT_EQ(s.m.celle[1].dato2, 2533);
    EXPECT_EQ(s.m.voci[VOCE_LINEA].orario, 33356);
}

TEST(MemorizzaPercorso, CompilesTheLongestRouteTheReaderTakes) {
    std::string linea = LINEA;
    linea.replace(linea.find("3000"), 4, "1000000");
    scenario s(linea + FINE, TRENO + FINE);
    esito_compilazione e = s.compila();
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(e.scritti.size(), 3u);
    // 1000000 + 7000 metres: 20140 cells and the geometry of 1007000 metres.
    EXPECT_EQ(read_file(s.out.path() / "Prova_7.dat").size(), 15u * 20141);
    EXPECT_EQ(read_file(s.out.path() / "Prova_linea.dat").size(), 20u * 1007000 - 36);
}

TEST(MemorizzaPercorso, WithoutTheGeometryOrWhenOnlyCheckingWritesLess) {
    scenario s(LINEA + FINE, TRENO + FINE);
    EXPECT_EQ(s.compila(0).scritti, (std::vector<std::string>{"Prova_7.sim", "Prova_7.dat"}));
    EXPECT_FALSE(s.m.tracciato.allocato());

    scenario c(LINEA + FINE, TRENO + FINE);
    esito_compilazione e = c.compila(1, scrittura_compilati::mai);
    EXPECT_TRUE(e.griglia_allocata);
    EXPECT_TRUE(e.scritti.empty());
    EXPECT_EQ(c.out.names(), std::vector<std::string>{});
    EXPECT_EQ(c.m.voci[VOCE_LINEA].parametro1, 610);  // everything but the writing ran
}

TEST(MemorizzaPercorso, WithoutAGridNothingIsCompiled) {
    scenario s(LINEA + FINE, TRENO + FINE);
    s.compila();
    ASSERT_TRUE(s.m.griglia_allocata());
    // The same model again, now with no route file: the earlier grid must not
    // pass for this one.
    delete_file(s.in.path() / "Prova_linea.txt");
    temp_dir vuota;
    opzioni_compilazione o;
    o.ingressi = {s.in.path() / "Prova_linea.txt", s.in.path() / "Prova_7-.txt", false};
    o.cartella = vuota.path();
    esito_compilazione e = memorizza_percorso(s.m, 1, o);
    EXPECT_EQ(s.m.codice_errore, codice::linea_mancante);
    EXPECT_FALSE(e.griglia_allocata);
    EXPECT_TRUE(e.scritti.empty());
    EXPECT_EQ(vuota.names(), std::vector<std::string>{});
    EXPECT_TRUE(file_exists(s.in.path() / "Prova_7-.txt"));
}

TEST(MemorizzaPercorso, AReservedValueInUseHandsBackItsReportAndTouchesNoFile) {
    // An indication board in cell 1 puts its record index into dato1.
    scenario a(LINEA + "cartello_indicatore, 5, ORIGINE\r\n" + FINE, TRENO + FINE);
    write_file(a.out.path() / "Prova_7.dat", "older");
    esito_compilazione e = a.compila();
    EXPECT_EQ(e.rapporto, codice::riservato_primo);
    EXPECT_TRUE(e.scritti.empty());
    EXPECT_EQ(a.out.names(), std::vector<std::string>{"Prova_7.dat"});
    EXPECT_EQ(read_file(a.out.path() / "Prova_7.dat"), "older");

    // A signal in cell 1 whose first aspect pair is 0 but whose second is not.
    scenario b(LINEA + FINE, TRENO + "segnale, 10, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0\r\n" + FINE);
    EXPECT_EQ(b.compila().rapporto, codice::riservato_secondo);
    EXPECT_EQ(b.out.names(), std::vector<std::string>{});
}
