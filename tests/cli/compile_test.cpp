// The compile command in-process: what the author is told when faults meet.
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "platform/file_ops.h"
#include "platform/path_text.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string LINEA =
    "[generale]\r\nlunghezza percorso, 3000\r\nripetizione segnali 4 codici, 0, 0\r\n[indicazioni]\r\n[fine]\r\n";

}  // namespace

TEST(Compile, AGridFaultBeforeANumberedReportIsReportedWithItAndNothingIsWritten) {
    temp_dir in, out;
    write_file(in.path() / "Prova_linea.txt", LINEA);
    write_file(in.path() / "Prova_7-.txt",
               "[generale]\r\n"
               "numero vetture, 5\r\n"
               "[segnali]\r\n"
               "segnale, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0\r\n"       // cell 1: dato2 is taken (1251)
               "rallentamento, 3000, 60, 1000, 0, 0, 0\r\n"         // slow: a cut every eighth cell
               "segnale, 3350, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n"    // cells 68 to 70 leave no room
               "segnale, 3400, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n"    // for the cut at cell 69 (13)
               "segnale, 3450, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n"
               "[fine]\r\n");
    compile_options o;
    o.route = in.path() / "Prova_linea.txt";
    o.train = in.path() / "Prova_7-.txt";
    o.output = out.path();
    o.format = "json";
    std::ostringstream json, err;
    EXPECT_EQ(run_compile(o, json, err), 4);
    const std::string train = (in.path() / "Prova_7-.txt").string();
    EXPECT_EQ(err.str(),
              train + ":4:1: error: cell 1 is reserved for the compiler's own values, and the segnale of this line "
                      "takes its second value (dato2): move it to 50 m or more [E1251]\n"
                      "segnale, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0\n"
                      "^~~~~~~\n" +
                  train + ":5:1: error: no free cell for a code cut along a slow restriction or before the signal "
                      "after it (at 3450 m) [E13]\n"
                      "rallentamento, 3000, 60, 1000, 0, 0, 0\n"
                      "^~~~~~~~~~~~~\n" +
                  train + ":7:1: note: the cell for the cut at 3450 m is taken by this line's object\n"
                          "segnale, 3400, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\n"
                          "^~~~~~~\n"
                          "2 errors generated.\n"
                          " Errore n. 1251\n");
    const auto j = nlohmann::json::parse(json.str());
    EXPECT_EQ(j["error_state"], (nlohmann::json{{"code", 13}, {"metres", 3450}}));
    ASSERT_EQ(j["diagnostics"].size(), 2u);
    EXPECT_EQ(j["diagnostics"][0]["code"], "E1251");
    EXPECT_EQ(j["diagnostics"][0]["line"], 4);
    EXPECT_EQ(j["diagnostics"][1]["line"], 5);
    EXPECT_EQ(j["diagnostics"][1]["notes"][0]["line"], 7);
    EXPECT_EQ(j["report"], "1251");
    EXPECT_EQ(j["written"], nlohmann::json::array());
    EXPECT_TRUE(out.names().empty());
}

TEST(Compile, IdentifiersAreWindows1252InTheFilesAndUnicodeInTheirNames) {
    const struct {
        std::string route_file;  // UTF-8, or bytes that are not
        std::optional<std::string> route_id;  // not given: from the file's name
        int status;
        std::string said;        // part of what err says
        std::string written;     // the route file written, when any
    } casi[] = {
        {"Citt\xC3\xA0_linea.txt", {}, 0, "", "Citt\xC3\xA0_linea.dat"},
        {"x_linea.txt", "Citt\xC3\xA0", 0, "", "Citt\xC3\xA0_linea.dat"},
        {"x_linea.txt", "Sofi\xC4\x81", 2, "'\xC4\x81' (U+0101) has no Windows-1252 form", ""},
#ifndef _WIN32  // a Windows file name is Unicode by construction
        {"Citt\xE0_linea.txt", {}, 2, "not valid UTF-8 (byte 0xE0 at offset 4)", ""},
#endif
    };
    for (const auto& c : casi) {
        temp_dir in, out;
        write_file(in.path() / path_from_utf8(c.route_file), LINEA);
        write_file(in.path() / "treno.txt", "[generale]\r\n[fine]\r\n");
        compile_options o;
        o.route = in.path() / path_from_utf8(c.route_file);
        o.train = in.path() / "treno.txt";
        o.output = out.path();
        o.route_id = c.route_id;
        o.train_number = "1";
        std::ostringstream json, err;
        EXPECT_EQ(run_compile(o, json, err), c.status) << c.route_file << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        if (c.status != 0) {
            EXPECT_TRUE(out.names().empty());
            continue;
        }
        EXPECT_TRUE(file_exists(out.path() / path_from_utf8(c.written))) << c.written;
        // The codes count the identifier's one Windows-1252 byte for "a grave": 0xE0.
        const std::string sim = read_file(out.path() / path_from_utf8("Citt\xC3\xA0_1.sim"));
        EXPECT_NE(sim.find("Citt\xE0"), std::string::npos);
    }
}

TEST(Compile, InputsThenIdentifiersThenTheOutputFolderAreCheckedBeforeAnythingIsWritten) {
    const struct {
        std::string route_file;  // written unless "missing" starts it
        std::optional<std::string> route_id, train_number;  // not given: from the files' names
        std::string output;      // below the test's folder; "taken" is a file there
        int status;
        std::string said;        // part of what err says
    } casi[] = {
        {"missing_x.txt", {}, "1", "", 3, "missing_x.txt: no such file"},
        {"Prova_linea.txt", {}, "1", "a/b", 0, ""},
        {"Prova_linea.txt", {}, "1", "taken", 3, "taken: exists and is not a directory"},
        {"Prova_linea.txt", "a/b", "1", "", 2,
         "scenario-compiler compile: the route identifier 'a/b' holds '/', which a file name cannot"},
        {"Prova_linea.txt", "a\\b", "1", "", 2, "holds '\\'"},
        {"Prova_linea.txt", {}, "1:2", "", 2, "the train number '1:2' holds ':'"},
        {"Prova_linea.txt", {}, "<1>", "", 2, "holds '<'"},
        {"Prova_linea.txt", {}, "1?", "", 2, "holds '?'"},
        {"Prova_linea.txt", {}, "1\t", "", 2, "holds the control character 9"},
        // Quoted with the control character shown as '?', which a terminal does not act on.
        {"Prova_linea.txt", "\x1b[2J", "1", "", 2, "the route identifier '?[2J' holds the control character 27"},
        {"Prova_linea.txt", "Prova.", "1", "", 2, "the route identifier 'Prova.' ends with '.'"},
        {"Prova_linea.txt", {}, "1 ", "", 2, "ends with ' '"},
        // Given empty is not left to the file's name.
        {"Prova_linea.txt", "", "1", "", 2, "the route identifier '' is empty, and names no file"},
        {"Prova_linea.txt", {}, "", "", 2, "the train number '' is empty, and names no file"},
    };
    for (const auto& c : casi) {
        temp_dir in, out;
        if (c.route_file.rfind("missing", 0) != 0) write_file(in.path() / c.route_file, LINEA);
        write_file(in.path() / "treno.txt", "[generale]\r\n[fine]\r\n");
        if (c.output == "taken") write_file(out.path() / c.output, "");
        compile_options o;
        o.route = in.path() / c.route_file;
        o.train = in.path() / "treno.txt";
        o.output = out.path() / c.output;
        o.route_id = c.route_id;
        o.train_number = c.train_number;
        std::ostringstream json, err;
        EXPECT_EQ(run_compile(o, json, err), c.status) << c.route_id.value_or("-") << c.train_number.value_or("-") << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        EXPECT_EQ(out.file_count(), c.status == 0 ? 3 : c.output == "taken" ? 1 : 0) << err.str();
    }
}

TEST(Compile, TheCompiledFilesAreWrittenAsASetOnlyWhenAskedFor) {
    const std::string segnale = "segnale, 3350, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n";
    const struct {
        const char* what;
        bool fault, write_on_error, check;
        const char* directory;  // an output name taken by a directory, or empty
        int status;
        size_t written;
        const char* said;  // part of what err says
    } cases[] = {
        {"clean", false, false, false, "", 0, 3, ""},
        {"a fault", true, false, false, "", 1, 0, "[E16]"},
        {"a fault, written on request", true, true, false, "", 1, 3, "[E16]"},
        {"a check", false, true, true, "", 0, 0, ""},
        {"an output name is a directory", false, false, false, "Prova_7.sim", 3, 0, "Prova_7.sim: Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp_dir in, out;
        write_file(in.path() / "Prova_linea.txt", LINEA);
        write_file(in.path() / "Prova_7-.txt", "[generale]\r\n[segnali]\r\n" + segnale + (c.fault ? segnale : "") + "[fine]\r\n");
        write_file(out.path() / "Prova_7.dat", "older");
        if (*c.directory) std::filesystem::create_directory(out.path() / c.directory);
        const auto before = out.names();
        compile_options o;
        o.route = in.path() / "Prova_linea.txt";
        o.train = in.path() / "Prova_7-.txt";
        o.output = out.path();
        o.format = "json";
        o.write_on_error = c.write_on_error;
        o.check = c.check;
        std::ostringstream json, err;
        EXPECT_EQ(run_compile(o, json, err), c.status) << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        const auto j = nlohmann::json::parse(json.str());
        EXPECT_EQ(j["written"].size(), c.written);
        if (c.written == 0) {
            EXPECT_EQ(out.names(), before);
            EXPECT_EQ(read_file(out.path() / "Prova_7.dat"), "older");
        } else {
            EXPECT_EQ(out.names(), (std::vector<std::string>{"Prova_7.dat", "Prova_7.sim", "Prova_linea.dat"}));
        }
    }
}
