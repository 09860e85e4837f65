// The search for every fault: it leaves out the line of each fault that concerns
// its own object alone, and stops at any other or at the error limit.
#include "diagnostics/faults.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "session/compile_session.h"
#include "tests/support/carried_texts.h"
#include "tests/support/temp_dir.h"

TEST(FaultSearch, GoesOnPastLocalFaultsOnlyAndStopsAtTheLimit) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    const std::string train = read_file(files.train);
    // Line 79 takes line 78's cell, line 82 line 81's; line 78 cut short runs
    // on into line 79 for its fields.
    const std::string taken79 = "segnale, 1650, 2, 4, 1, 0, 0, 2, 3,1,0, 0";
    const std::string taken82 = "segnale, 7600, 2, 4, 0, 0, 0, 2, 1,0,0, 0";
    const struct {
        std::map<int, std::string> lines;
        int32_t limit;
        std::vector<std::string> found;
        bool limit_reached;
    } cases[] = {
        {{{79, taken79}, {82, taken82}}, 0, {"E16:79", "E16:82"}, false},
        {{{79, taken79}, {82, taken82}}, 1, {"E16:79"}, true},
        // Leaving out a line whose fields ran on would change the next: the search ends.
        {{{78, "segnale, 1650, 2, 4"}, {82, taken82}}, 0, {"E25:78"}, false},
    };
    for (const auto& c : cases) {
        session_inputs in;
        in.route = files.route, in.train = files.train;
        in.train_text = with_lines(train, c.lines);
        in.error_limit = c.limit;
        const result<session_compile> r = compile_in_memory(in);
        ASSERT_TRUE(r);
        std::vector<std::string> found;
        for (const diagnostic& d : r->diagnostics)
            if (d.level == severity::error) found.push_back(d.code + ":" + std::to_string(d.place.line));
        EXPECT_EQ(found, c.found) << c.found.front();
        EXPECT_EQ(r->limit_reached, c.limit_reached) << c.found.front();
    }
}

// A line written with ';' or tabs between its values is one keyword field, and
// lacks its values: its error carries a note at that field saying so. A line
// merely short has no such note.
TEST(FaultSearch, AnErrorOfALineWithoutCommasSaysHowFieldsAreSeparated) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    const std::string train = read_file(files.train);
    const struct {
        std::string line;
        std::string note;  // "" for none
    } cases[] = {
        {"segnale;1650;2;4;0;0;0;2;1;0;0;0", "79:1+32 fields are separated by commas, not by ';': this whole text is one keyword field"},
        {"  segnale\t1650\t2\t4\t0\t0\t0\t2\t1\t0\t0\t0", "79:3+32 fields are separated by commas, not by tabs: this whole text is one keyword field"},
        {"segnale, 1650, 2, 4", ""},
    };
    for (const auto& c : cases) {
        session_inputs in;
        in.route = files.route, in.train = files.train;
        in.train_text = with_lines(train, {{79, c.line}});
        const result<session_compile> r = compile_in_memory(in);
        ASSERT_TRUE(r);
        ASSERT_FALSE(r->diagnostics.empty());
        const diagnostic& e = r->diagnostics.front();
        EXPECT_EQ(e.code + ":" + std::to_string(e.place.line), "E25:79") << c.line;
        std::string note;
        for (const diagnostic_note& n : e.notes)
            if (n.message.starts_with("fields are"))
                note = std::to_string(n.place.line) + ":" + std::to_string(n.place.column) + "+" +
                       std::to_string(n.place.length) + " " + n.message;
        EXPECT_EQ(note, c.note) << c.line;
    }
}

// A run value is stored while the next line of its kind, or the file's end, is
// read: a value that does not fit is one error, at its own field, with where it
// was met as a note; the search leaves out that line, so no later line repeats it.
TEST(FaultSearch, AFaultIsOneErrorAtItsCauseWithItsNotes) {
    const std::string route = "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\n[fine]\r\n";
    const struct {
        std::string lines;
        std::string found;  // error:line:column, then each note
    } cases[] = {
        {"velocita, 0, 1300\r\nvelocita, 500, 100\r\nvelocita, 900, 100\r\n",
         "E25:3:14 field 2 of 'velocita': 1300 / 5 = 260 does not fit a byte (0 to 255)"
         " | 4:1 found while reading line 4"},
        {"velocita, 0, 1300\r\n",
         "E25:3:14 field 2 of 'velocita': 1300 / 5 = 260 does not fit a byte (0 to 255)"
         " | 0:0 found at the end of the file"},
        // Not a run value, but its note too: the station the area comes too close to.
        {"stazione, 1000, 2, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, LIDONIA\r\n"
         "stazione, 1500, 2, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, VALMORA\r\n",
         "E22:4:11 station area starts less than 350 m after the previous station's area (at 1500 m)"
         " | 3:1 the station before, LIDONIA, has its area from 800 to 1200 m; this one begins at 1300 m"},
    };
    for (const auto& c : cases) {
        session_inputs in;
        in.route = "Prova_linea.txt", in.train = "Prova_1-.txt";
        in.route_text = route;
        in.train_text = "[generale]\r\nnumero vetture, 5\r\n" + c.lines + "[fine]\r\n";
        const result<session_compile> r = compile_in_memory(in);
        ASSERT_TRUE(r);
        std::string found;
        for (const diagnostic& d : r->diagnostics) {
            if (d.level != severity::error) continue;
            found += (found.empty() ? "" : " || ") + d.code + ":" + std::to_string(d.place.line) + ":" +
                     std::to_string(d.place.column) + " " + d.message;
            for (const diagnostic_note& n : d.notes)
                found += " | " + std::to_string(n.place.line) + ":" + std::to_string(n.place.column) + " " + n.message;
        }
        EXPECT_EQ(found, c.found) << c.lines;
    }
}
