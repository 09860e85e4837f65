// The framing as a careless or hostile client sends it: each case's bytes and
// what the reader takes from them, in order ("!" for a message refused with a
// problem, else its body); a refused header never loses the messages after it.
#include "lsp/transport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct framing_case {
    const char* name;
    std::string bytes;
    std::vector<std::string> taken;
};
void PrintTo(const framing_case& c, std::ostream* os) { *os << c.name; }

const std::string NEXT = "Content-Length: 2\r\n\r\n[]";

const std::vector<framing_case> FRAMINGS = {
    {"Plain", "Content-Length: 3\r\n\r\n{ }" + NEXT, {"{ }", "[]"}},
    {"NoLengthTakenUpAtTheNext", "X-Noise: 1\r\n\r\n" + NEXT, {"!", "[]"}},
    // A length with a sign or in hex still tells the body to skip.
    {"SignedLengthSkipsItsBody", "Content-Length: +2\r\n\r\n{}" + NEXT, {"!", "[]"}},
    {"HexLengthSkipsItsBody", "Content-Length: 0x2\r\n\r\n{}" + NEXT, {"!", "[]"}},
    // A line over the limit is refused as it arrives; with no length to read, the
    // stream is taken up at the next Content-Length, even mid-line.
    {"OverlongHeaderLine", "X-Long: " + std::string(100000, 'a') + "\r\n\r\n{\"body\":1}" + NEXT, {"!", "[]"}},
    {"OverlongLengthLine", "Content-Length: " + std::string(5000, '0') + "2\r\n\r\n{}" + NEXT, {"!", "[]"}},
    {"GarbageLengthResynchronises", "Content-Length: two\r\n\r\n{\"a\":1}\r\n" + NEXT, {"!", "[]"}},
    {"CutShort", "Content-Length: 10\r\n\r\n{}", {}},
};

class Framing : public testing::TestWithParam<framing_case> {};

TEST_P(Framing, TakesWhatFollowsABadHeader) {
    std::istringstream in(GetParam().bytes);
    message_reader reader(in);
    std::vector<std::string> taken;
    while (std::optional<framed_message> m = reader.next()) taken.push_back(m->problem ? "!" : m->body);
    EXPECT_EQ(taken, GetParam().taken);
}

INSTANTIATE_TEST_SUITE_P(Transport, Framing, testing::ValuesIn(FRAMINGS),
                         [](const testing::TestParamInfo<framing_case>& info) { return std::string(info.param.name); });

}  // namespace
