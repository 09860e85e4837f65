// Includes point down only: every #include "ROOM/..." under src/ against the
// table of rooms in ARCHITECTURE.md, which says what each room may include.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

// The rooms' table: each row "| `room` | `a` `b` | ... |".
std::map<std::string, std::set<std::string>> allowed_includes(const fs::path& architecture) {
    std::map<std::string, std::set<std::string>> out;
    std::ifstream in(architecture);
    const std::regex row(R"(^\| `([a-z_]+)` \|([^|]*)\|)"), name("`([a-z_]+)`");
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, row)) continue;
        std::set<std::string>& rooms = out[m[1]];
        const std::string cell = m[2];
        for (std::sregex_iterator i(cell.begin(), cell.end(), name), end; i != end; ++i) rooms.insert((*i)[1]);
    }
    return out;
}

}  // namespace

TEST(Architecture, EveryIncludeOfARoomIsOneItsTableAllows) {
    const fs::path root = test_paths::source_root;
    if (!fs::is_directory(root / "src")) GTEST_SKIP() << "no sources at " << root.string();
    const auto allowed = allowed_includes(root / "ARCHITECTURE.md");
    std::set<std::string> rooms;
    for (const auto& d : fs::directory_iterator(root / "src"))
        if (d.is_directory()) rooms.insert(d.path().filename().string());
    for (const std::string& room : rooms) EXPECT_TRUE(allowed.count(room)) << "ARCHITECTURE.md has no row for " << room;

    const std::regex include(R"(^\s*#\s*include\s*"([a-z_]+)/)");
    for (const auto& f : fs::recursive_directory_iterator(root / "src")) {
        const std::string ext = f.path().extension().string();
        if (!f.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        const std::string room = fs::relative(f.path(), root / "src").begin()->string();
        const auto may = allowed.find(room);
        std::ifstream in(f.path());
        int n = 0;
        for (std::string line; std::getline(in, line);) {
            ++n;
            std::smatch m;
            if (!std::regex_search(line, m, include) || m[1] == room || !rooms.count(m[1])) continue;
            EXPECT_TRUE(may != allowed.end() && may->second.count(m[1]))
                << fs::relative(f.path(), root).string() << ":" << n << ": " << room << " may not include " << m[1];
        }
    }
}
