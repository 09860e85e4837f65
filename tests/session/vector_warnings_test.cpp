// The warnings the carried scenario and the conformance vectors deserve, and no
// others: the carried scenario has none under the default set, and each vector
// (all warnings on) exactly those of the kinds below recorded, after review, in
// tests/bad_inputs/vector_warnings.txt. SCENARIO_WRITE_VECTOR_WARNINGS=FILE writes
// what the vectors get into FILE, for that review.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "platform/file_ops.h"
#include "session/compile_session.h"
#include "tests/support/carried_texts.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

// The kinds that tell of a value, a keyword or a file read otherwise than written.
const std::set<std::string> REVIEWED = {
    "-Woverflow", "-Wreplaced-value", "-Wcomment",      "-Wsection",        "-Wtruncated",   "-Wbinary",
    "-Wencoding", "-Wspeed-step",     "-Wmissing-text", "-Wunclosed-quote", "-Wno-coaches", "-Wunknown-section",
    // and those of a timetable or restriction no train can keep
    "-Wtimetable", "-Wrestriction", "-Wtight-timetable", "-Wbraking"};

std::vector<std::string> warnings_of(const session_compile& c) {
    std::vector<std::string> out;
    for (const diagnostic& d : c.diagnostics) {
        if (d.level != severity::warning) continue;
        const source_file* file = c.sources.of(d.place.file);
        out.push_back(d.code + " " + (file ? fs::path(file->path).filename().string() : "-") + ":" +
                      std::to_string(d.place.line) + ":" + std::to_string(d.place.column));
    }
    return out;
}

}  // namespace

TEST(DeservedWarnings, TheCarriedScenarioHasNone) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    session_inputs in;
    in.route = files.route, in.train = files.train;
    const result<session_compile> plain = compile_in_memory(in);
    ASSERT_TRUE(plain);
    EXPECT_EQ(warnings_of(*plain), std::vector<std::string>{});
    // With all on, only the pedantic one it is known for: PEDASO inside its restriction.
    in.warnings = *choose_warnings({"all"});
    const result<session_compile> all = compile_in_memory(in);
    ASSERT_TRUE(all);
    for (const std::string& w : warnings_of(*all)) EXPECT_EQ(w.substr(0, w.find(' ')), "-Wstation-in-restriction") << w;
}

TEST(DeservedWarnings, EachVectorGetsThoseRecorded) {
    const fs::path vectors = test_paths::shared_vectors;
    if (!fs::exists(vectors)) GTEST_SKIP() << vectors << " is not there";
    std::set<std::string> expected, got;
    std::ifstream recorded(fs::path(test_paths::bad_inputs) / "vector_warnings.txt");
    for (std::string line; std::getline(recorded, line);)
        if (!line.empty() && line[0] != '#') expected.insert(line);
    for (const auto& entry : fs::directory_iterator(vectors)) {
        if (!fs::exists(entry.path() / "expected.json")) continue;
        const auto v = nlohmann::json::parse(read_file(entry.path() / "expected.json"));
        session_inputs in;
        in.route = entry.path() / v["route_file"].get<std::string>();
        in.train = entry.path() / v["train_file"].get<std::string>();
        in.route_id = v["route_id"], in.train_number = v["train_number"];
        in.no_geometry = !v["geometry"].get<bool>();
        in.error_limit = 0;
        in.warnings = *choose_warnings({"all"});
        const result<session_compile> c = compile_in_memory(in);
        ASSERT_TRUE(c) << entry.path();
        for (const std::string& w : warnings_of(*c))
            if (REVIEWED.count(w.substr(0, w.find(' ')))) got.insert(entry.path().filename().string() + " " + w);
    }
    if (const char* out = std::getenv("SCENARIO_WRITE_VECTOR_WARNINGS")) {
        std::ofstream file(out);
        file << "# VECTOR CODE FILE:LINE:COLUMN: each warning of the reviewed kinds a conformance vector gets\n"
                "# with -Wall, reviewed.\n";
        for (const std::string& w : got) file << w << '\n';
    }
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(), std::back_inserter(missing));
    std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    EXPECT_EQ(missing, std::vector<std::string>{}) << "recorded but no longer warned";
    EXPECT_EQ(extra, std::vector<std::string>{}) << "warned but not recorded";
}
