#include "decoding/compiled_files.h"

#include <gtest/gtest.h>

#include <cmath>

#include "decoding/geometry_figures.h"
#include "tests/support/compiled_bytes.h"

namespace {

std::vector<cella> stamped_cells(size_t n) {
    std::vector<cella> celle(n);
    celle[1].dato1 = TIMBRO_CELLA;
    return celle;
}

std::array<voce, NUMERO_VOCI> stamped_records() {
    std::array<voce, NUMERO_VOCI> voci{};
    voci[VOCE_LINEA].parametro1 = TIMBRO_VOCE;
    return voci;
}

}  // namespace

TEST(CompiledKind, ComesFromTheFileNamesConvention) {
    EXPECT_EQ(kind_from_name("dir/Lidonia_Sabrio_linea.dat"), compiled_kind::route);
    EXPECT_EQ(kind_from_name("Lidonia_Sabrio_914.sim"), compiled_kind::scenario);
    EXPECT_EQ(kind_from_name("Lidonia_Sabrio_914.dat"), compiled_kind::cells);
    EXPECT_EQ(kind_from_name("Lidonia_Sabrio_linea.txt"), std::nullopt);
    EXPECT_EQ(kind_from_name(".dat"), std::nullopt);
    EXPECT_EQ(kind_from_word("cells"), compiled_kind::cells);
    EXPECT_EQ(kind_from_word("cell"), std::nullopt);
}

TEST(DecodeCellFile, ReadsEveryFieldAtItsOffset) {
    std::vector<cella> celle = stamped_cells(3);
    celle[2] = {OGGETTO_SEGNALE, 41, -2, 300, 8, 110, 81, 1, 22, 92, 100};
    const auto back = *decode_cell_file(cell_file_bytes(celle));
    ASSERT_EQ(back.size(), 3u);
    const cella& c = back[2];
    EXPECT_EQ(c.tipo_oggetto, OGGETTO_SEGNALE);
    EXPECT_EQ(c.dato1, 41);
    EXPECT_EQ(c.dato2, -2);
    EXPECT_EQ(c.dato3, 300);
    EXPECT_EQ(c.dato4, 8);
    EXPECT_EQ(c.tempo_segnale, 110);
    EXPECT_EQ(c.preavviso, 81);
    EXPECT_EQ(c.tipo_montagna, 1);
    EXPECT_EQ(c.v_limite, 22);
    EXPECT_EQ(c.pendenza, 92);
    EXPECT_EQ(c.aderenza, 100);
}

TEST(DecodeCellFile, RefusesEmptyTruncatedAndUnstampedFiles) {
    const std::string good = cell_file_bytes(stamped_cells(4));
    EXPECT_FALSE(decode_cell_file(""));
    EXPECT_FALSE(decode_cell_file(good.substr(0, good.size() - 1)));
    EXPECT_FALSE(decode_cell_file(good.substr(0, 15)));
    EXPECT_FALSE(decode_cell_file(cell_file_bytes(std::vector<cella>(4))));
}

TEST(DecodeScenarioFile, ReadsRecordsWithTheirTexts) {
    auto voci = stamped_records();
    voci[1] = {8, -500, 500, 0, 1, "LIDONIA CENTRALE", 4, 1, 2, 1, 1, 1, 1, 0, 0, 38880};
    voci[VOCE_TRENO].testo = "914";
    voci[VOCE_LINEA].orario = 34355;
    const auto back = *decode_scenario_file(scenario_file_bytes(voci));
    EXPECT_EQ(back[1].testo, "LIDONIA CENTRALE");
    EXPECT_EQ(back[1].inizio_zona, -500);
    EXPECT_EQ(back[1].orario, 38880);
    EXPECT_EQ(back[1].parametro5, 1);
    EXPECT_EQ(back[VOCE_TRENO].testo, "914");
    EXPECT_EQ(back[VOCE_LINEA].orario, 34355);
}

TEST(DecodeScenarioFile, RefusesTruncatedForeignAndUnstampedFiles) {
    const std::string good = scenario_file_bytes(stamped_records());
    ASSERT_EQ(good.size(), 87u * 34);
    EXPECT_FALSE(decode_scenario_file(""));
    EXPECT_FALSE(decode_scenario_file(good.substr(0, good.size() - 1)));
    EXPECT_FALSE(decode_scenario_file(good + "x"));
    EXPECT_FALSE(decode_scenario_file(scenario_file_bytes({})));
    // A text length that runs past the end is a cut-short record, not a read past the buffer.
    std::string long_text = good;
    long_text[14] = '\xff';
    long_text[15] = '\xff';
    EXPECT_FALSE(decode_scenario_file(long_text));
}

TEST(DecodeRouteFile, ReadsTaggedElementsComponentByComponent) {
    const tracciato_t t = built_geometry(20, 5, 4, 0.001);
    const tracciato_t back = *decode_route_file(route_file_bytes(t));
    ASSERT_EQ(back.ultimo_metro, 20);
    EXPECT_EQ(back.at(1, 1).tag, elemento_tracciato::INTERO);
    EXPECT_EQ(back.at(1, 1).intero, 1);
    EXPECT_EQ(back.at(7, 0).tag, elemento_tracciato::REALE);
    EXPECT_EQ(back.at(7, 0).reale, t.at(7, 0).reale);
    EXPECT_EQ(back.at(20, 1).tag, elemento_tracciato::VUOTO);
}

TEST(DecodeRouteFile, AcceptsTheAllEmptyGeometryOfACompileThatStoppedEarly) {
    tracciato_t t;
    t.dimensiona(10);
    EXPECT_EQ(decode_route_file(route_file_bytes(t))->ultimo_metro, 10);
}

TEST(DecodeRouteFile, RefusesTruncatedAndForeignFiles) {
    const std::string good = route_file_bytes(built_geometry(20, 5, 4, 0.001));
    EXPECT_FALSE(decode_route_file(""));
    EXPECT_FALSE(decode_route_file(good.substr(0, good.size() - 1)));  // odd byte
    EXPECT_FALSE(decode_route_file(good.substr(0, good.size() - 2)));  // odd element count
    EXPECT_FALSE(decode_route_file(good.substr(0, 20)));               // inside a double
    std::string unknown_tag = good;
    unknown_tag[0] = 7;
    EXPECT_FALSE(decode_route_file(unknown_tag));
    // A cell file is a valid sequence of tags only by accident: its origin gives it away.
    tracciato_t shifted = built_geometry(20, 5, 4, 0.001);
    shifted.imposta(1, 1, elemento_tracciato::da_intero(2));
    EXPECT_FALSE(decode_route_file(route_file_bytes(shifted)));
}

TEST(GeometryFigures, FindsEachCurveWithItsStartLengthAndTurn) {
    // Straight to metre 1000, a right class-4 curve of 300 m, straight again.
    const tracciato_t t = built_geometry(3000, 1000, 300, 0.001);
    const geometry_figures f = measure_geometry(t);
    EXPECT_EQ(f.last_metre, 3000);
    EXPECT_EQ(f.last_computed, 2998);
    EXPECT_EQ(f.integers, 4);
    EXPECT_EQ(f.empties, 4);
    ASSERT_EQ(f.curves.size(), 1u);
    EXPECT_EQ(f.curves[0].from_metre, 1000);
    EXPECT_EQ(f.curves[0].metres, 300);
    EXPECT_NEAR(f.curves[0].degrees, 300 * std::atan(0.001) * 180 / 3.141592653589793, 1e-6);
    EXPECT_NEAR(f.right_degrees, f.curves[0].degrees, 1e-9);
    EXPECT_EQ(f.left_degrees, 0.0);
    EXPECT_NEAR(f.end_heading, f.curves[0].degrees, 1e-6);
    EXPECT_GT(f.max_x, 0.0);
    EXPECT_EQ(f.min_x, 0.0);
}

TEST(GeometryFigures, SplitsTouchingCurvesOfDifferentSides) {
    tracciato_t t = built_geometry(2000, 500, 200, 0.002);
    // A left curve of class 2 directly after the first one.
    for (int32_t c = 701; c <= 1998; ++c) {
        const double x1 = t.at(c - 1, 0).valore(), y1 = t.at(c - 1, 1).valore();
        const double dx = x1 - t.at(c - 2, 0).valore(), dy = y1 - t.at(c - 2, 1).valore();
        const double k = c <= 900 ? -0.0002 : 0.0;
        t.imposta(c, 0, elemento_tracciato::da_reale(x1 + (dx + k * dy)));
        t.imposta(c, 1, elemento_tracciato::da_reale(y1 + (dy - k * dx)));
    }
    const geometry_figures f = measure_geometry(t);
    ASSERT_EQ(f.curves.size(), 2u);
    EXPECT_EQ(f.curves[1].from_metre, 700);
    EXPECT_EQ(f.curves[1].metres, 200);
    EXPECT_LT(f.curves[1].degrees, 0.0);
}
