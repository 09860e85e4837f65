#include "cli/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "decoding/compiled_files.h"
#include "tests/support/compiled_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

struct inspected {
    int status;
    std::string out, err;
};

inspected inspect(const inspect_options& o) {
    std::ostringstream out, err;
    const int status = run_inspect(o, out, err);
    return {status, out.str(), err.str()};
}

std::filesystem::path write(const temp_dir& dir, const std::string& name, const std::string& bytes) {
    const auto p = dir.path() / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
}

std::vector<cella> sample_cells() {
    std::vector<cella> celle(40);
    celle[1].dato1 = TIMBRO_CELLA;
    celle[1].dato2 = 2583;
    celle[34] = {OGGETTO_SEGNALE, 41, 0, 0, 8, 0, 0, 0, 22, 100, 100};
    celle[30].preavviso = 82;  // an approach code alone is not an object
    celle[35] = {OGGETTO_INDICATORE_V_MAX, 2828, 3030, 3232, 0, 0, 0, 0, 22, 92, 100};
    return celle;
}

std::array<voce, NUMERO_VOCI> sample_records() {
    std::array<voce, NUMERO_VOCI> voci{};
    voci[1] = {8, -500, 500, 0, 1, "LIDONIA CENTRALE", 4, 1, 2, 1, 1, 1, 1, 0, 0, 38880};
    voci[2] = {2, 238200, 238700, 238450, 0, "SABRIO", 0, 0, 0, 0, 0, 0, 0, 0, 0, 49200};
    voci[80].testo = "(Km 345+557)";
    voci[79].testo = "Ponte sul F. Tr\xe9nto";  // Windows-1252 e acute
    voci[VOCE_PROGRESSIVA_TRE] = {0, 0, 350100, 1, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    voci[VOCE_TRENO_LINEA] = {0, 125, 243000, 12, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    voci[VOCE_LINEA] = {0, 1, 0, 0, 0, "Lidonia_Sabrio", TIMBRO_VOCE, 0, 0, 0, 0, 0, 0, 0, 0, 34355};
    voci[VOCE_TRENO] = {0, 0, 241000, 4, 0, "914", 200, 0, 10, 47, 40, 0, 0, 0, 0, 0};
    return voci;
}

}  // namespace

TEST(Inspect, CellFileNamesTheObjectsAndTheirValues) {
    temp_dir dir;
    const auto p = write(dir, "L_914.dat", cell_file_bytes(sample_cells()));
    const auto r = inspect({p, "", false, "", ""});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("40 cells (0 to 39)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("competition code 2583"), std::string::npos);
    EXPECT_NE(r.out.find("cells with an object: 2"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cell 34 at 1650 m: signal (s1*10+d1 41"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("3030 (150/150 km/h)"), std::string::npos);
    EXPECT_NE(r.out.find("speed_limit_kmh by cells: 0-33:0 34-35:110 36-39:0"), std::string::npos) << r.out;
}

TEST(Inspect, CellRangeListsEveryCellInItAndRefusesOneOutsideTheFile) {
    temp_dir dir;
    const auto p = write(dir, "L_914.dat", cell_file_bytes(sample_cells()));
    auto r = inspect({p, "", true, "29-31", ""});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["cells"].size(), 3u);
    EXPECT_EQ(j["cells"][1]["index"], 30);
    EXPECT_EQ(j["cells"][1]["preavviso"], 82);
    EXPECT_EQ(j["kind"], "cells");
    EXPECT_EQ(inspect({p, "", false, "40-50", ""}).status, 2);
    EXPECT_EQ(inspect({p, "", false, "9-3", ""}).status, 2);
    EXPECT_EQ(inspect({p, "", false, "", "0-3"}).status, 2);  // points belong to route files
}

TEST(Inspect, ScenarioFileGivesStationsBoardsAndFigures) {
    temp_dir dir;
    const auto p = write(dir, "L_914.sim", scenario_file_bytes(sample_records()));
    auto r = inspect({p, "", false, "", ""});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("train \"914\": 12 coaches, braked mass 125 %, sand 200, clock 10:47:40"),
              std::string::npos) << r.out;
    EXPECT_NE(r.out.find("stations: 2"), std::string::npos);
    EXPECT_NE(r.out.find("10:48:00  LIDONIA CENTRALE"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("81: from 0 m, km 350.100, flag 1"), std::string::npos);
    EXPECT_NE(r.out.find("indication boards: 2"), std::string::npos);

    r = inspect({p, "", true, "", ""});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["stations"][1]["time"], "13:40:00");
    EXPECT_EQ(j["indication_boards"][1]["text"], "Ponte sul F. Tr\xc3\xa9nto");  // as UTF-8
    EXPECT_EQ(j["records"][VOCE_LINEA]["role"], "route data");
    EXPECT_EQ(j["records"].size(), 87u);
}

TEST(Inspect, RouteFileGivesFiguresAndRawPoints) {
    temp_dir dir;
    const auto p = write(dir, "L_linea.dat", route_file_bytes(built_geometry(8000, 1000, 300, 0.001)));
    auto r = inspect({p, "", false, "", "0-2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("metres 0 to 8000 (route length 1000 m + 7000 m)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("from metre 1000, 300 m, right"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  1: 0 1\n  2: 0 2\n"), std::string::npos) << r.out;
    r = inspect({p, "", true, "", "7999-9000"});
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j["points"].size(), 2u);
    EXPECT_TRUE(j["points"][1]["x"].is_null());
}

TEST(Inspect, BadFilesFailWithStatusThreeAndTheReason) {
    temp_dir dir;
    const std::string cells = cell_file_bytes(sample_cells());
    const auto truncated = write(dir, "L_914.dat", cells.substr(0, cells.size() - 7));
    const auto empty = write(dir, "L_914.sim", "");
    auto r = inspect({truncated, "", false, "", ""});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("not a whole number of 15-byte cells"), std::string::npos) << r.err;
    r = inspect({empty, "", false, "", ""});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("empty"), std::string::npos) << r.err;
    EXPECT_EQ(inspect({dir.path() / "missing.sim", "", false, "", ""}).status, 3);
    EXPECT_EQ(inspect({dir.path(), "cells", false, "", ""}).status, 3);  // a directory
    // A cell file read as a scenario file is foreign, whatever its name says.
    EXPECT_EQ(inspect({truncated, "scenario", false, "", ""}).status, 3);
}

TEST(Inspect, NeedsAKindWhenTheNameGivesNone) {
    temp_dir dir;
    const auto p = write(dir, "copy.bin", cell_file_bytes(sample_cells()));
    EXPECT_EQ(inspect({p, "", false, "", ""}).status, 2);
    EXPECT_EQ(inspect({p, "cells", false, "", ""}).status, 0);
}
