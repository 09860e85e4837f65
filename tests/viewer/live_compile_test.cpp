// The live state: each compile a new version; a file broken mid-edit, or cut
// short as a half-written save is, keeps the drawing of the last good compile.
#include "viewer/live_compile.h"

#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "tests/support/carried_texts.h"
#include "tests/support/temp_dir.h"

TEST(LiveCompile, AFailureIsOneMoreStateAndTheDrawingStays) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    live_compile live({files.route, files.train, {}, {}});
    EXPECT_FALSE(*live.svg(std::nullopt, std::nullopt));  // nothing drawn before a compile
    live.compile();
    auto state = nlohmann::json::parse(live.state_json());
    EXPECT_EQ(state["version"], 1);
    EXPECT_EQ(state["ok"], true);
    EXPECT_EQ(state["drawing"], true);
    EXPECT_EQ(state["drawing_version"], 1);
    EXPECT_EQ(state["drawing_current"], true);
    const auto whole = live.svg(std::nullopt, std::nullopt);
    ASSERT_TRUE(whole && *whole);
    EXPECT_TRUE(live.svg(1000, 5000) && *live.svg(1000, 5000));
    EXPECT_FALSE(live.svg(5000, 1000));
    EXPECT_FALSE(live.svg(-1, std::nullopt));

    // A third of the train file, cut at a line's end: it compiles, but is not drawn.
    std::string train;
    {
        std::ifstream in(files.train, std::ios::binary);
        train.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(files.train, std::ios::binary) << train.substr(0, train.find('\n', train.size() / 3) + 1);
    live.compile();
    state = nlohmann::json::parse(live.state_json());
    EXPECT_EQ(state["version"], 2);
    EXPECT_EQ(state["drawing_version"], 1);
    EXPECT_EQ(state["drawing_current"], false);
    EXPECT_NE(state["drawing_kept_because"].get<std::string>().find("[fine]"), std::string::npos);
    EXPECT_EQ(*live.svg(std::nullopt, std::nullopt), *whole);

    std::filesystem::remove(files.train);
    live.compile();
    state = nlohmann::json::parse(live.state_json());
    EXPECT_EQ(state["version"], 3);
    EXPECT_EQ(state["ok"], false);
    EXPECT_NE(state["failure"].get<std::string>().find("no such file"), std::string::npos) << state["failure"];
    ASSERT_EQ(state["diagnostics"].size(), 1u);
    EXPECT_EQ(state["diagnostics"][0]["file"], nullptr);
    EXPECT_EQ(state["diagnostics"][0]["message"], state["failure"]);
    EXPECT_EQ(state["drawing"], true);
    EXPECT_EQ(state["drawing_version"], 1);  // the last good one, said so
    EXPECT_TRUE(state["drawing_compiled_at"].is_string());
    EXPECT_EQ(state["drawing_current"], false);
    EXPECT_EQ(*live.svg(std::nullopt, std::nullopt), *whole);
}
