// Which files compile together: a train file with the route of the longest
// identifier beside it, a route file with the train file touched last (or with
// none open, the first one by name), open buffers standing for files.
#include "lsp/documents.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <variant>

#include "tests/support/temp_dir.h"

namespace {

struct pairing_case {
    const char* name;
    std::vector<std::string> on_disk, opened;  // opened: in this order, each touched after the one before
    std::string file;
    std::string partner;  // the other file of its pair, or the message of a lone file
};
// A case shows as its name in the list of tests, not as its bytes.
void PrintTo(const pairing_case& c, std::ostream* os) { *os << c.name; }

const std::vector<pairing_case> PAIRINGS = {
    {"TrainTakesTheLongestRoute", {"A_linea.txt", "A_B_linea.txt", "A_B_7-.txt"}, {}, "A_B_7-.txt", "A_B_linea.txt"},
    {"TrainFallsBackToShorterRoute", {"A_linea.txt", "A_B_7-.txt"}, {}, "A_B_7-.txt", "A_linea.txt"},
    {"RouteOpenOnlyInTheEditor", {"A_B_7-.txt"}, {"A_B_linea.txt"}, "A_B_7-.txt", "A_B_linea.txt"},
    {"RouteTakesFirstTrainByName", {"A_linea.txt", "A_9-.txt", "A_10-.txt"}, {}, "A_linea.txt", "A_10-.txt"},
    {"RouteTakesTrainTouchedLast", {"A_linea.txt", "A_9-.txt", "A_10-.txt"}, {"A_9-.txt", "A_10-.txt", "A_9-.txt"},
     "A_linea.txt", "A_9-.txt"},
    // A_B_7-.txt belongs to A_B_linea.txt, not to A_linea.txt.
    {"RouteSkipsTrainsOfLongerRoute", {"A_linea.txt", "A_B_linea.txt", "A_B_7-.txt"}, {}, "A_linea.txt",
     "no train file beside this route file: A_N-.txt is missing"},
    {"LoneTrain", {"A_B_7-.txt"}, {}, "A_B_7-.txt",
     "no route file beside this train file: A_B_linea.txt or A_linea.txt is missing"},
    {"OtherFile", {"notes.txt"}, {}, "notes.txt", "notes.txt is not named ID_linea.txt or ID_N-.txt: it is no scenario file"},
};

class Pairing : public testing::TestWithParam<pairing_case> {};

TEST_P(Pairing, FindsThePartner) {
    const pairing_case& c = GetParam();
    temp_dir dir;
    for (const std::string& n : c.on_disk) std::ofstream(dir.path() / n) << "[generale]\n";
    workspace w;
    for (const std::string& n : c.opened) w.open("file://" + (dir.path() / n).string(), dir.path() / n, 1, "");
    const auto pair = w.pair_of(dir.path() / c.file);
    if (const auto* p = std::get_if<scenario_pair>(&pair)) {
        const std::filesystem::path other = p->route == dir.path() / c.file ? p->train : p->route;
        EXPECT_EQ(other, dir.path() / c.partner);
    } else {
        EXPECT_EQ(std::get<std::string>(pair), c.partner);
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, Pairing, testing::ValuesIn(PAIRINGS),
                         [](const testing::TestParamInfo<pairing_case>& info) { return std::string(info.param.name); });

}  // namespace
