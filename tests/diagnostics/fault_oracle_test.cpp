// The fault search that reads on against the one that compiles again for every
// fault, on generated scenarios with several faults each: the carried scenario
// with lines doubled, values spoilt, positions moved off the line, lines cut
// short or dropped, in the route file and the train file alike.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "tests/support/carried_texts.h"
#include "tests/support/fault_oracle.h"
#include "tests/support/temp_dir.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

std::string text_of(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ',');) out.push_back(f);
    return out;
}

std::string joined(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + fields[i];
    return out;
}

// One fault (or a warning) put into one of the lines.
void spoil(std::vector<std::string>& lines, std::mt19937& random) {
    const auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    // A body line with values: one whose second field is a number.
    size_t at = 0;
    for (int tries = 0; tries < 50; ++tries) {
        at = pick(lines.size());
        const std::vector<std::string> f = split(lines[at]);
        if (f.size() >= 2 && f[0].find('[') == std::string::npos &&
            f[1].find_first_of("0123456789") != std::string::npos)
            break;
    }
    std::vector<std::string> f = split(lines[at]);
    if (f.size() < 2) return;
    switch (pick(11)) {
        case 0:
        case 1:  // the same object again, on its cell or near it
            if (pick(2)) f[1] = " " + std::to_string(std::atoi(f[1].c_str()) + 10);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at) + 1, joined(f));
            return;
        case 2: {  // a value that is no number, or does not fit
            static const char* const bad[] = {" x", " 1.5", " 99999999999", " -", " 70000", " 300"};
            f[1 + pick(f.size() - 1)] = bad[pick(6)];
            break;
        }
        case 3:  // a position off the line
            f[1] = " 9999999";
            break;
        case 4:  // a run value that does not fit
            if (f[0].find("velocita") != std::string::npos && f.size() > 2) f[2] = " 2000";
            if (f[0].find("pendenza") != std::string::npos && f.size() > 2) f[2] = " 400";
            break;
        case 5:  // a position off a multiple of 50, a length off a multiple of 100
            f[1] = " " + std::to_string(std::atoi(f[1].c_str()) + 25);
            if (f.size() > 3 && pick(2)) f[3] = " 450";
            break;
        case 6:  // a line cut short, whose fields run on into the next one (rarely: the search ends there)
            if (f.size() > 3 && pick(3) == 0) f.resize(2 + pick(f.size() - 3));
            break;
        case 7:  // a keyword misspelt, a curve without its class
            f[0] = f[0].find("curva") != std::string::npos ? "curvad" : f[0] + "x";
            break;
        case 8:  // a line dropped
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            return;
        case 9:  // the same object again (its own line's faults are the likeliest to follow one another)
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), joined(f));
            return;
        default:  // a value moved back before the previous line's
            f[1] = " " + std::to_string(std::max(0, std::atoi(f[1].c_str()) - 3000));
    }
    lines[at] = joined(f);
}

}  // namespace

TEST(FaultSearch, ReadingOnFindsWhatCompilingAgainFinds) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    const std::vector<std::string> route = lines_of(read_file(files.route)), train = lines_of(read_file(files.train));
    std::mt19937 random(20261209);
    int several = 0;
    for (int i = 0; i < 1000; ++i) {
        std::vector<std::string> r = route, t = train;
        const int faults = 4 + static_cast<int>(random() % 8);
        for (int k = 0; k < faults; ++k) spoil(random() % 3 == 0 ? r : t, random);
        // The geometry (which a curve's faults need) on one scenario in eight; a limit on one in five.
        const int32_t j = i % 8 == 0 ? 1 : 0, limit = i % 5 == 0 ? 3 : 0;
        const size_t n = searches_agree(text_of(r), text_of(t), j, limit, "scenario " + std::to_string(i));
        several += n > 1;
        if (HasFailure()) break;
    }
    // Most of them must have more than one fault, or the search past the first is not tried.
    EXPECT_GT(several, 600);
}

// A train file long enough that the reading lets most of its kept line starts go:
// 3,000 signals, 40 of them doubled, and a speed that does not fit, found only at the next speed line.
TEST(FaultSearch, ReadingOnAgreesOnALongFile) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    std::string train = "[generale]\r\nnumero vetture, 5\r\nvelocita, 0, 100\r\nvelocita, 1000, 2000\r\n[segnali]\r\n";
    for (int i = 0; i < 3000; ++i) {
        const std::string line = "segnale, " + std::to_string(1000 + 60 * i) + ", 2, 4, 1, 0, 0, 2, 3,1,0, 0\r\n";
        train += line;
        if (i % 75 == 37) train += line;
    }
    train += "[fine]\r\n";
    // The doubled ones, the speed, and signals on cells the route's boards take.
    EXPECT_GT(searches_agree(read_file(files.route), train, 0, 0, "3,000 signals"), 41u);
}
