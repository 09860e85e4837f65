// What each warning of the running times says, and its notes, on the bad-input
// cases that give them (their places are the runner's to check).
#include "diagnostics/running_warnings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "session/compile_session.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

TEST(RunningWarnings, SayWhatIsWrongAndWhereTheOtherLineIs) {
    const struct {
        const char* name;
        const char* message;
        std::vector<std::string> notes;
    } cases[] = {
        {"timetable_earlier", "LAGO's time 7:30:00 is earlier than VALLE (7:32:00), the timed station before it",
         {"15: the station before"}},
        {"timetable_before_clock", "the first timed station, CENTRO (7:15:00), is before the clock starts (7:20:00)",
         {"4: the clock"}},
        {"timetable_bound",
         "5,500 m from MONTE (7:31:30) to VALLE (7:32:00) in 30 s: at the permitted speeds it takes at least 2 min 45 s",
         {"14: the station before"}},
        {"restriction_swapped",
         "a restriction of 400 km/h over 60 m restricts nothing: the line speed there is 120 km/h at most",
         {"20: the speed and the length may be swapped: a restriction of 60 km/h over 400 m is written with the speed "
          "second"}},
        {"restriction_above_line",
         "a restriction of 150 km/h over 600 m restricts nothing: the line speed there is 110 km/h at most",
         {"10: the line speed"}},
        {"tight_timetable",
         "5,500 m from MONTE (7:27:00) to VALLE (7:30:00) in 3 min 00 s: the default train (84 t locomotive of 5.0 MW "
         "and 8 coaches of 46 t, braked mass 120%) needs at least 3 min 25 s from a stand at MONTE, running through "
         "VALLE, limited by the line speed 120 km/h, 14,000 to 19,500 m",
         {"14: the station before"}},
        {"braking",
         "from 120 km/h at the restriction's warning, 1,200 m before it, a train of braked mass 30% needs 1,704 m to "
         "slow to 60 km/h (mean gradient 0.0 per mille)",
         {"3: the braked-mass percentage"}},
    };
    for (const auto& c : cases) {
        const fs::path dir = fs::path(test_paths::bad_inputs) / "warnings" / c.name;
        session_inputs in;
        in.route = dir / "Prova_linea.txt", in.train = dir / "Prova_1-.txt";
        const result<session_compile> compiled = compile_in_memory(in);
        ASSERT_TRUE(compiled) << c.name;
        const std::vector<diagnostic> warned = running_warnings(compiled->m);
        ASSERT_EQ(warned.size(), 1u) << c.name;
        EXPECT_EQ(warned[0].message, c.message) << c.name;
        std::vector<std::string> notes;
        for (const diagnostic_note& n : warned[0].notes) notes.push_back(std::to_string(n.place.line) + ": " + n.message);
        EXPECT_EQ(notes, c.notes) << c.name;
    }
}
