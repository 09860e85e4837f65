// The documents command in-process: all three papers or none, never over a file
// unasked, nothing for a scenario with an error.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "cli/commands.h"
#include "platform/file_ops.h"
#include "tests/support/carried_texts.h"
#include "tests/support/temp_dir.h"

TEST(DocumentsCommand, WritesTheThreePapersOrNone) {
    const std::string card = "Lidonia_Sabrio_914_scheda_treno.txt";
    const struct {
        const char* what;
        std::string present;  // a file in the output folder first, when not empty
        bool force;
        std::map<int, std::string> train_lines;  // lines of the train file replaced
        std::string notes;                       // the --notes file's text; "-": a file that is not there
        int status;
        std::string said;  // part of what err says
        size_t files;      // files in the output folder afterwards
        std::string pass = "";  // a station to run through
    } cases[] = {
        {"a fresh folder", "", false, {}, "\xEF\xBB\xBF" "Buon viaggio, citt\xC3\xA0\r\n", 0, "", 3},
        {"a paper already there", card, false, {}, "", 2, card + " already exists\n", 1},
        {"the same, forced", card, true, {}, "", 0, "", 3},
        {"a station not on a 50 m step", "", false, {{37, "stazione, 75, 8, 500, 1,0,0, 4,1,1, 2,1,1, 1, 10,48,0, X"}},
         "", 1, "nothing written", 0},
        {"no notes file", "", false, {}, "-", 3, "notes.txt", 0},
        {"a station to pass that has no time", "", false, {}, "", 2, "no timed station is named 'PINETO'", 0, "PINETO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp_dir in, out;
        const carried_files files = write_carried_texts(in.path());
        if (!c.train_lines.empty()) write_file(files.train, with_lines(read_file(files.train), c.train_lines));
        if (!c.present.empty()) write_file(out.path() / c.present, "mine");
        documents_options o;
        o.route = files.route, o.train = files.train, o.output = out.path(), o.force = c.force;
        if (!c.notes.empty()) o.notes = in.path() / "notes.txt";
        if (!c.pass.empty()) o.pass = {c.pass};
        if (!c.notes.empty() && c.notes != "-") write_file(o.notes, c.notes);
        std::ostringstream said, err;
        EXPECT_EQ(run_documents(o, said, err), c.status) << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        EXPECT_EQ(out.file_count(), c.files);
        if (!c.present.empty()) {
            EXPECT_EQ(read_file(out.path() / c.present) == "mine", c.status != 0);
        }
        // The card carries the default train's top speed and each section's margin (8:53 before GIULIANOVA).
        if (c.status == 0) {
            const std::string written = read_file(out.path() / card);
            EXPECT_NE(written.find("|   V160 xxx   |"), std::string::npos);
            EXPECT_NE(written.find("| GIULIANOVA                 |      11.15     | 8.9 |"), std::string::npos);
        }
        if (c.status == 0 && !c.notes.empty()) {
            EXPECT_NE(read_file(out.path() / "Lidonia_Sabrio_914_note.txt").find("\r\nBuon viaggio, citt\xE0\r\n"),
                      std::string::npos);
        }
    }
}
