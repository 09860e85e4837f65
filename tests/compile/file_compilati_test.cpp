#include "compile/file_compilati.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

namespace {

std::string b(std::initializer_list<int> byte) {
    std::string out;
    for (int v : byte) out.push_back(static_cast<char>(v));
    return out;
}

// The route file's bytes, as scrivi_tracciato hands them out.
std::string byte_tracciato(const tracciato_t& t) {
    std::string byte;
    scrivi_tracciato(t, [&byte](std::string_view pezzo) { byte.append(pezzo); });
    return byte;
}

// The geometry as the reader leaves it: metres 0 and 1 as integers, the rest up
// to the last two as doubles.
tracciato_t tracciato_letto(int32_t ultimo) {
    tracciato_t t;
    t.dimensiona(ultimo);
    for (auto [metro, componente] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}})
        t.imposta(metro, componente, elemento_tracciato::da_intero(0));
    t.imposta(1, 1, elemento_tracciato::da_intero(1));
    for (int32_t metro = 2; metro <= ultimo - 2; ++metro) {
        t.imposta(metro, 0, elemento_tracciato::da_reale(0.0));
        t.imposta(metro, 1, elemento_tracciato::da_reale(metro));
    }
    return t;
}

}  // namespace

TEST(FileCompilati, ACellIsFifteenPackedLittleEndianBytes) {
    cella c;
    c.tipo_oggetto = 3;
    c.dato1 = 60;
    c.dato2 = -2;
    c.dato3 = 0x1234;
    c.dato4 = 5121;
    c.tempo_segnale = 7;
    c.preavviso = 84;
    c.tipo_montagna = 2;
    c.v_limite = 30;
    c.pendenza = 95;
    c.aderenza = 44;
    EXPECT_EQ(byte_celle({c}), b({3, 60, 0, 0xFE, 0xFF, 0x34, 0x12, 0x01, 0x14, 7, 84, 2, 30, 95, 44}));
    EXPECT_EQ(byte_celle(std::vector<cella>(5001)).size(), 75015u);
}

TEST(FileCompilati, ARecordIsThirtyFourBytesPlusItsText) {
    std::array<voce, NUMERO_VOCI> voci{};
    EXPECT_EQ(byte_voci(voci), std::string(2958, '\0'));

    voce& v = voci[0];
    v.categoria = 9;
    v.inizio_zona = -1;
    v.fine_zona = 0x01020304;
    v.progressiva = 243000;
    v.opzione1 = 1;
    v.testo = "914";
    v.parametro1 = 610;
    v.parametro5 = -32768;
    v.opzione2 = 2;
    v.opzione5 = 255;
    v.orario = 34355;
    std::string file = byte_voci(voci);
    ASSERT_EQ(file.size(), 2958u + 3);
    EXPECT_EQ(file.substr(0, 37), b({9, 0xFF, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 0x38, 0xB5, 0x03, 0, 1, 3, 0, '9', '1', '4',
                                     0x62, 0x02, 0, 0, 0, 0, 0, 0, 0, 0x80, 2, 0, 0, 255, 0x33, 0x86, 0, 0}));
    EXPECT_EQ(file.substr(37, 34), std::string(34, '\0'));
}

TEST(FileCompilati, GeometryElementsCarryTheirTagsXBeforeY) {
    tracciato_t t;
    t.dimensiona(1);
    t.imposta(0, 0, elemento_tracciato::da_intero(-2));
    t.imposta(1, 0, elemento_tracciato::da_reale(1.5));
    t.imposta(0, 1, elemento_tracciato::da_intero(1));
    EXPECT_EQ(byte_tracciato(t), b({2, 0, 0xFE, 0xFF, 5, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 2, 0, 1, 0, 0, 0}));
    // The carried route's 250000 metres.
    EXPECT_EQ(byte_tracciato(tracciato_letto(250000)).size(), 4999964u);
}

TEST(FileCompilati, WritesTheThreeFilesWholeAndTheRouteFileOnlyWithTheGeometry) {
    temp_dir dir;
    modello m;
    m.nome_linea = "Valle";
    m.numero_treno = "15";
    m.alloca_celle(3);
    m.tracciato = tracciato_letto(40);
    m.genera_tracciato = 1;
    write_file(dir.path() / "Valle_15.dat", std::string(1000, 'x'));  // older and longer

    EXPECT_EQ(scrivi_file_compilati(m, dir.path()),
              (std::vector<std::string>{"Valle_linea.dat", "Valle_15.sim", "Valle_15.dat"}));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Valle_15.dat", "Valle_15.sim", "Valle_linea.dat"}));
    EXPECT_EQ(read_file(dir.path() / "Valle_15.dat"), std::string(60, '\0'));
    EXPECT_EQ(read_file(dir.path() / "Valle_linea.dat").size(), 20u * 40 - 36);

    // Without the geometry an older route file is left as it was.
    write_file(dir.path() / "Valle_linea.dat", "old");
    m.genera_tracciato = 0;
    EXPECT_EQ(scrivi_file_compilati(m, dir.path()), (std::vector<std::string>{"Valle_15.sim", "Valle_15.dat"}));
    EXPECT_EQ(read_file(dir.path() / "Valle_linea.dat"), "old");
}
