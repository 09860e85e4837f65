// The timetable command end to end on the hand-written scenario: the table in
// its three forms, and a scenario with an error, which gets no table.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/commands.h"
#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

timetable_options hand_written(const std::string& format) {
    const fs::path dir = fs::path(test_paths::bad_inputs).parent_path() / "running" / "scenario";
    timetable_options o;
    o.route = dir / "Prova_linea.txt", o.train = dir / "Prova_1-.txt";
    o.format = format;
    o.color = "never";
    return o;
}

}  // namespace

TEST(TimetableCommand, PrintsEachTimedStationInEveryForm) {
    std::ostringstream json, err;
    timetable_options o = hand_written("json");
    o.pass = {"MONTE"};
    ASSERT_EQ(run_timetable(o, json, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    const auto j = nlohmann::json::parse(json.str());
    ASSERT_EQ(j["stations"].size(), 5u);
    EXPECT_EQ(j["train"]["coaches"], 8);
    EXPECT_EQ(j["train"]["mass_t"], 452);
    const auto& first = j["stations"][0];
    EXPECT_EQ(first["name"], "CENTRO");
    EXPECT_EQ(first["scheduled"], "7:15:00");
    EXPECT_FALSE(first.contains("section_s"));
    const auto& valle = j["stations"][2];
    EXPECT_EQ(valle["name"], "VALLE");
    EXPECT_EQ(valle["position_m"], 19500);
    EXPECT_EQ(valle["section_s"], 300);
    EXPECT_EQ(valle["bound_s"], 165);  // 5,500 m at 120 km/h
    EXPECT_EQ(valle["min_s"], valle["min_stop_s"]);
    EXPECT_NEAR(valle["margin_s"].get<double>(), 300 - valle["min_s"].get<double>(), 0.1001);
    EXPECT_EQ(j["stations"][1]["stop"], false);  // MONTE, passed: VALLE's section starts at speed
    EXPECT_LT(valle["min_pass_s"].get<double>(), valle["min_stop_s"].get<double>());

    std::ostringstream csv, text;
    ASSERT_EQ(run_timetable(hand_written("csv"), csv, err), 0);
    EXPECT_EQ(csv.str().substr(0, csv.str().find('\r')),
              "name,position_m,km,scheduled,stop,section_s,bound_s,min_pass_s,min_stop_s,min_s,margin_s,margin_percent,limit");
    EXPECT_NE(csv.str().find("\r\nVALLE,19500,,7:32:00,stop,300,165.0,"), std::string::npos) << csv.str();
    ASSERT_EQ(run_timetable(hand_written("text"), text, err), 0);
    EXPECT_NE(text.str().find("VALLE *     19,500 m         -   7:32:00     5:00    2:45"), std::string::npos) << text.str();
}

TEST(TimetableCommand, AScenarioWithAnErrorGetsItsDiagnosticsAndNoTable) {
    temp_dir dir;
    const fs::path source = fs::path(test_paths::bad_inputs).parent_path() / "running" / "scenario";
    timetable_options o = hand_written("json");
    o.route = dir.path() / "Prova_linea.txt", o.train = dir.path() / "Prova_1-.txt";
    write_file(o.route, read_file(source / "Prova_linea.txt"));
    std::string train = read_file(source / "Prova_1-.txt");
    train.replace(train.find("14000, 12, 400"), 14, "14025, 12, 400");  // not a multiple of 50: error 8
    write_file(o.train, train);
    std::ostringstream out, err;
    EXPECT_EQ(run_timetable(o, out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("[E8]"), std::string::npos) << err.str();
    // A station to stop at that has no time, or no such station: a usage error.
    o = hand_written("text");
    o.stop = {"PIANO"};
    EXPECT_EQ(run_timetable(o, out, err), 2);
    EXPECT_NE(err.str().find("no timed station is named 'PIANO'"), std::string::npos) << err.str();
}
