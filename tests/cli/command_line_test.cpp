// The real executable, driven as an author would drive it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <tuple>

#include "app/form_load.h"
#include "drawing/render.h"
#include "platform/file_ops.h"
#include "tests/support/run_program.h"
#include "tests/support/sha256.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

const std::string ROUTE = "Lidonia_Sabrio_linea.txt";
const std::string TRAIN = "Lidonia_Sabrio_914-.txt";

std::map<std::string, std::string> digests(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) out[e.path().filename()] = sha256_hex(read_file(e.path()));
    return out;
}

nlohmann::json summary_of(const program_result& r) {
    EXPECT_TRUE(nlohmann::json::accept(r.out)) << r.out;
    return nlohmann::json::parse(r.out, nullptr, false);
}

// The carried scenario exported into `dir`, with lines of the train file replaced.
void export_with(const temp_dir& dir, const std::map<int, std::string>& lines) {
    ASSERT_EQ(run_program({"export", dir.path()}).status, 0);
    if (lines.empty()) return;
    std::string bytes = read_file(dir.path() / TRAIN), out;
    size_t at = 0;
    for (int n = 1; at < bytes.size(); ++n) {
        size_t end = bytes.find("\r\n", at);
        out += (lines.count(n) ? lines.at(n) : bytes.substr(at, end - at)) + "\r\n";
        at = end + 2;
    }
    write_file(dir.path() / TRAIN, out);
}
void export_with(const temp_dir& dir, int line, const std::string& text) {
    export_with(dir, line == 0 ? std::map<int, std::string>{} : std::map<int, std::string>{{line, text}});
}

// The error diagnostics of a JSON summary as "CODE FILE:LINE:COLUMN", in order.
std::vector<std::string> errors_of(const nlohmann::json& j) {
    std::vector<std::string> out;
    for (const auto& d : j["diagnostics"])
        if (d["severity"] == "error")
            out.push_back(d["code"].get<std::string>() + " " + fs::path(d["file"].get<std::string>()).filename().string() +
                          ":" + d["line"].dump() + ":" + d["column"].dump());
    return out;
}

// The program as a user without privileges: root is never refused by a file's
// permissions, so as root it runs as nobody, from a copy that nobody may execute.
std::vector<std::string> unprivileged(const temp_dir& bin) {
    if (geteuid() != 0) return {test_paths::program};
    const fs::path copy = bin.path() / "scenario-compiler";
    fs::copy_file(test_paths::program, copy);
    return {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", copy.string()};
}

}  // namespace

TEST(CommandLine, EveryVectorCompilesToItsExpectedFiles) {
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(test_paths::shared_vectors)) {
        if (!fs::exists(entry.path() / "expected.json")) continue;
        ++seen;
        SCOPED_TRACE(entry.path().filename().string());
        const auto expected = nlohmann::json::parse(read_file(entry.path() / "expected.json"));
        const fs::path route = entry.path() / expected["route_file"].get<std::string>();
        const fs::path train = entry.path() / expected["train_file"].get<std::string>();
        const std::string before = sha256_hex(read_file(route)) + sha256_hex(read_file(train));
        temp_dir out;
        std::vector<std::string> args = {"compile", route, train, "-o", out.path(), "--json",
                                         "--route-id", expected["route_id"], "--train-number",
                                         expected["train_number"], "--write-on-error"};
        if (!expected["geometry"].get<bool>()) args.push_back("--no-geometry");
        const program_result r = run_program(args);
        const auto j = summary_of(r);
        EXPECT_EQ(j["report"], expected["report"]);
        if (expected["report"].is_null()) {
            EXPECT_EQ(j["error_state"]["code"], expected["codice_errore"]) << r.err;
            if (expected["grid_allocated"].get<bool>()) {
                EXPECT_EQ(j["error_state"]["metres"], expected["metri_errore"]);
            }
            EXPECT_EQ(r.status, expected["codice_errore"] == 0 && expected["grid_allocated"].get<bool>() ? 0 : 1);
        } else {
            EXPECT_EQ(r.status, 4);
        }
        std::map<std::string, std::string> want;
        for (const auto& [name, file] : expected["files"].items()) want[name] = file["sha256"];
        EXPECT_EQ(digests(out.path()), want);
        std::set<std::string> written(j["written"].begin(), j["written"].end());
        std::set<std::string> want_names;
        for (const auto& [name, file] : want) want_names.insert(name);
        EXPECT_EQ(written, want_names);
        EXPECT_EQ(sha256_hex(read_file(route)) + sha256_hex(read_file(train)), before) << "an input changed";
    }
    EXPECT_GT(seen, 0);
}

TEST(CommandLine, CompileOfTheExportedScenarioEqualsTheFixedRun) {
    temp_dir fixed, authored;
    Form1 form;
    std::ostringstream quiet;
    ASSERT_EQ(Form_Load(form, fixed.path(), quiet), 0);
    export_with(authored, 0, "");
    const auto exported = digests(authored.path());
    const program_result r = run_program({"compile", ROUTE, TRAIN}, authored.path());
    ASSERT_EQ(r.status, 0) << r.err;
    auto after = digests(authored.path());
    // The inputs and the documents are still there, unchanged; the compiled files equal the fixed run's.
    for (const auto& [name, digest] : exported) EXPECT_EQ(after[name], digest) << name;
    for (const auto& [name, digest] : digests(fixed.path())) EXPECT_EQ(after[name], digest) << name;
    EXPECT_EQ(after.size(), digests(fixed.path()).size() + 2);
}

TEST(CommandLine, EveryFaultIsFoundInOneRunAndNothingIsWritten) {
    temp_dir dir;
    // Two signals put into their neighbours' cells, and a decimal position between them.
    export_with(dir, {{79, "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0"},
                      {80, "segnale,    5500.5,   2, 4, 1,  1, 0,    2,  2,1,1, 0"},
                      {82, "segnale,    7600,   2, 4, 0,  0, 0,    2,  1,0,0, 0"}});
    const auto before = digests(dir.path());
    const std::string train = "./" + TRAIN;  // named as given
    program_result r = run_program({"compile", ROUTE, train, "--format=json"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              train + ":79:13: error: signal cell already occupied (at 1650 m) [E16]\n"
              "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0\n"
              "            ^~~~\n" +
              train + ":78:1: note: cell 34 is taken by this segnale at 1650 m\n"
              "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0\n"
              "^~~~~~~\n" +
              train + ":80:13: error: field 1 of 'segnale' must be a whole number from -2147483648 to 2147483647, "
                      "found '5500.5' [E25]\n"
              "segnale,    5500.5,   2, 4, 1,  1, 0,    2,  2,1,1, 0\n"
              "            ^~~~~~\n" +
              train + ":82:13: error: signal cell already occupied (at 7600 m) [E16]\n"
              "segnale,    7600,   2, 4, 0,  0, 0,    2,  1,0,0, 0\n"
              "            ^~~~\n" +
              train + ":81:1: note: cell 153 is taken by this segnale at 7600 m\n"
              "segnale,    7600,   2, 2, 1,  0, 0,    2,  1,1,0, 0\n"
              "^~~~~~~\n"
              "3 errors generated.\n");
    const std::vector<std::string> three = {"E16 " + TRAIN + ":79:13", "E25 " + TRAIN + ":80:13", "E16 " + TRAIN + ":82:13"};
    const auto j = summary_of(r);
    EXPECT_EQ(errors_of(j), three);
    EXPECT_EQ(j["error_state"], (nlohmann::json{{"code", 16}, {"metres", 1650}}));
    EXPECT_EQ(j["written"], nlohmann::json::array());  // a failed compile writes nothing
    EXPECT_EQ(digests(dir.path()), before);
    // SARIF carries the same three.
    r = run_program({"compile", ROUTE, train, "--format=sarif"}, dir.path());
    const auto sarif = summary_of(r);
    std::vector<std::string> results;
    for (const auto& res : sarif["runs"][0]["results"]) {
        const auto& at = res["locations"][0]["physicalLocation"];
        results.push_back(res["ruleId"].get<std::string>() + " " + fs::path(at["artifactLocation"]["uri"].get<std::string>()).filename().string() +
                          ":" + at["region"]["startLine"].dump() + ":" + at["region"]["startColumn"].dump());
    }
    EXPECT_EQ(results, three);
    // The error limit stops the search; asked to, the first compile's files are written.
    r = run_program({"compile", ROUTE, train, "--json", "--error-limit", "1", "--write-on-error"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(errors_of(summary_of(r)), std::vector<std::string>{three[0]});
    EXPECT_EQ(summary_of(r)["written"].size(), 3u);
    const auto after = digests(dir.path());
    EXPECT_EQ(after.size(), before.size() + 3);
    EXPECT_EQ(after.at(TRAIN), before.at(TRAIN));
}

TEST(CommandLine, WarnsOfAMisspeltKeywordAndLinesOutOfOrder) {
    temp_dir dir;
    export_with(dir, 79, "segnalle,    4450,   2, 4, 1,  0, 0,    2,  3,1,0, 0");
    program_result r = run_program({"compile", ROUTE, TRAIN, "--json"}, dir.path());
    // One warning for the line: its numbers are not warned about again.
    EXPECT_EQ(r.err, TRAIN + ":79:1: warning: 'segnalle' matches no keyword: did you mean 'segnale'? [-Wunknown-keyword]\n"
                     "segnalle,    4450,   2, 4, 1,  0, 0,    2,  3,1,0, 0\n"
                     "^~~~~~~~\n" +
                         TRAIN + ":79:1: note: replace with 'segnale'\n"
                                 "segnale,    4450,   2, 4, 1,  0, 0,    2,  3,1,0, 0\n"
                                 "^~~~~~~\n"
                                 "1 warning generated.\n");
    EXPECT_EQ(summary_of(r)["diagnostics"][0]["code"], "-Wunknown-keyword");
    EXPECT_EQ(summary_of(r)["diagnostics"][0]["fixes"][0]["text"], "segnale");
    // -Werror makes it an error: exit 1 and nothing written, not even the folder; -Wno-NAME silences it.
    r = run_program({"compile", ROUTE, TRAIN, "--json", "-Werror", "-o", "new/out"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(summary_of(r)["written"], nlohmann::json::array());
    EXPECT_FALSE(fs::exists(dir.path() / "new"));
    EXPECT_NE(r.err.find("error: 'segnalle' matches no keyword"), std::string::npos) << r.err;
    r = run_program({"compile", ROUTE, TRAIN, "-Werror", "-Wno-unknown-keyword", "--check"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // One warning's own choice, as GCC takes it: the flags, the exit status and how it is shown.
    const struct {
        std::vector<std::string> flags;
        int status;
        std::string shown;
    } choices[] = {
        {{"-Werror=unknown-keyword"}, 1, "error"},
        {{"-Wno-unknown-keyword", "-Werror=unknown-keyword"}, 1, "error"},
        {{"-Werror", "-Wno-error=unknown-keyword"}, 0, "warning"},
        {{"-Werror=unknown-keyword", "-Wno-error=unknown-keyword"}, 0, "warning"},
        {{"-Werror=comment"}, 0, "warning"},
    };
    for (const auto& [flags, status, shown] : choices) {
        std::vector<std::string> args = {"compile", ROUTE, TRAIN, "--json"};
        args.insert(args.end(), flags.begin(), flags.end());
        r = run_program(args, dir.path());
        EXPECT_EQ(r.status, status) << flags[0] << r.err;
        EXPECT_EQ(r.err.rfind(TRAIN + ":79:1: " + shown + ": 'segnalle'", 0), 0u) << r.err;
        EXPECT_EQ(summary_of(r)["written"].size(), status == 0 ? 3u : 0u) << flags[0];
    }
    for (const std::string form : {"-Wno-", "-Wno-error="}) {
        r = run_program({"compile", ROUTE, TRAIN, form + "unknwn-keyword"}, dir.path());
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("did you mean '" + form + "unknown-keyword'?"), std::string::npos) << r.err;
    }

    temp_dir back;
    export_with(back, 13, "velocita,  100000,   160");  // beyond the next speed line
    r = run_program({"compile", ROUTE, TRAIN, "--check"}, back.path());
    EXPECT_NE(r.err.find(TRAIN + ":14:13: warning: velocita at 30500 m is out of ascending order (line 13 is at 100000 m)"),
              std::string::npos)
        << r.err;
}

TEST(CommandLine, CheckWritesNothing) {
    temp_dir dir, out;
    export_with(dir, 0, "");
    const program_result r = run_program({"compile", ROUTE, TRAIN, "--check", "--output", out.path(), "--json"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(summary_of(r)["written"].size(), 0u);
    EXPECT_TRUE(out.names().empty());
}

TEST(CommandLine, RefusesUnreadableInputsAndUnknownIdentifiersBeforeCompiling) {
    temp_dir dir;
    export_with(dir, 0, "");
    program_result r = run_program({"compile", ROUTE, "Lidonia_Sabrio_915-.txt", "--json"}, dir.path());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Lidonia_Sabrio_915-.txt: no such file"), std::string::npos) << r.err;
    EXPECT_TRUE(nlohmann::json::accept(r.out));
    // One file given as both, under one name or two, whatever its name says.
    for (const std::string& train : {ROUTE, "./" + ROUTE}) {
        r = run_program({"compile", ROUTE, train, "--train-number", "914"}, dir.path());
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("scenario-compiler compile: " + ROUTE + " is given as both the route and the train file"),
                  std::string::npos)
            << r.err;
    }
    EXPECT_EQ(run_program({"compile", ROUTE, ".", "--train-number", "914"}, dir.path()).status, 3);  // a directory
    fs::copy_file(dir.path() / ROUTE, dir.path() / "mine.txt");
    r = run_program({"compile", "mine.txt", TRAIN}, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--route-id"), std::string::npos);
    // An output that would land on an input is refused.
    fs::copy_file(dir.path() / ROUTE, dir.path() / "X_linea.dat");
    EXPECT_EQ(run_program({"compile", "X_linea.dat", TRAIN, "--route-id", "X", "--train-number", "1"}, dir.path()).status,
              2);
    EXPECT_EQ(digests(dir.path()).count("X_1.sim"), 0u);
}

TEST(CommandLine, FileSystemFaultsNameThePathAndChangeNothing) {
    temp_dir bin, dir;
    export_with(dir, 0, "");
    fs::copy_file(dir.path() / TRAIN, dir.path() / "locked.txt");
    fs::create_directory(dir.path() / "ro");
    const auto before = digests(dir.path());
    const auto read_only = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.path() / "ro", read_only);
    fs::permissions(dir.path() / "locked.txt", fs::perms::none);
    const struct {
        std::vector<std::string> args;
        std::string said;
    } cases[] = {
        {{"compile", ROUTE, TRAIN, "-o", "ro"}, "cannot create ro/Lidonia_Sabrio_linea.dat: Permission denied"},
        {{"compile", ROUTE, TRAIN, "-o", "ro/new"}, "ro/new: Permission denied"},
        {{"compile", ROUTE, "locked.txt", "--train-number", "914"}, "locked.txt: Permission denied"},
        {{"export", "ro"}, "ro/" + ROUTE + ": Permission denied"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> command = unprivileged(bin);
        command.insert(command.end(), c.args.begin(), c.args.end());
        const program_result r = run_command(command, dir.path());
        EXPECT_EQ(r.status, 3) << c.args[0] << " " << c.args.back() << ": " << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        fs::remove(bin.path() / "scenario-compiler");
    }
    fs::permissions(dir.path() / "ro", fs::perms::owner_all);
    fs::permissions(dir.path() / "locked.txt", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(digests(dir.path()), before);
    EXPECT_TRUE(fs::is_empty(dir.path() / "ro"));
}

TEST(CommandLine, AFullDiskLeavesTheOlderFilesWhole) {
    temp_dir dir, small;
    export_with(dir, 0, "");
    // 64 KiB hold the older cell file but not the route file of 5 MB.
    if (run_command({"mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", small.path()}, dir.path()).status != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    write_file(small.path() / "Lidonia_Sabrio_914.dat", "older");
    const program_result r = run_program({"compile", ROUTE, TRAIN, "-o", small.path(), "--json"}, dir.path());
    const auto left = small.names();
    const std::string older = read_file(small.path() / "Lidonia_Sabrio_914.dat");
    run_command({"umount", small.path()}, dir.path());
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    EXPECT_EQ(summary_of(r)["written"], nlohmann::json::array());
    EXPECT_EQ(left, std::vector<std::string>{"Lidonia_Sabrio_914.dat"});
    EXPECT_EQ(older, "older");
}

TEST(CommandLine, InspectsEachKindAndRefusesBrokenFiles) {
    temp_dir dir;
    export_with(dir, 0, "");
    ASSERT_EQ(run_program({"compile", ROUTE, TRAIN}, dir.path()).status, 0);
    for (const std::string name : {"Lidonia_Sabrio_linea.dat", "Lidonia_Sabrio_914.sim", "Lidonia_Sabrio_914.dat"}) {
        const program_result r = run_program({"inspect", name, "--json"}, dir.path());
        EXPECT_EQ(r.status, 0) << name << r.err;
        EXPECT_TRUE(nlohmann::json::accept(r.out)) << name;
    }
    const std::string cells = read_file(dir.path() / "Lidonia_Sabrio_914.dat");
    write_file(dir.path() / "cut.dat", cells.substr(0, 1000));
    write_file(dir.path() / "empty_linea.dat", "");
    EXPECT_EQ(run_program({"inspect", "cut.dat"}, dir.path()).status, 3);
    EXPECT_EQ(run_program({"inspect", "empty_linea.dat"}, dir.path()).status, 3);
}

TEST(CommandLine, HelpVersionAndUsage) {
    // Each command's help ends with the exit statuses it returns.
    const std::pair<std::string, std::string> commands[] = {{"compile", "01234"}, {"export", "023"}, {"inspect", "023"},
                                                            {"errors", "02"},     {"plot", "01234"},  {"serve", "023"},
                                                            {"documents", "01234"}};
    for (const auto& [cmd, statuses] : commands) {
        const program_result help = run_program({cmd, "--help"});
        EXPECT_EQ(help.status, 0) << cmd;
        std::istringstream exits(help.out.substr(help.out.find("\nExit status:\n") + 14));
        std::string listed;
        for (std::string line; std::getline(exits, line);) listed += line.substr(2, 1);
        EXPECT_EQ(listed, statuses) << cmd;
        const program_result v = run_program({cmd, "--version"});
        EXPECT_EQ(v.status, 0) << cmd;
        EXPECT_EQ(v.out.rfind("scenario-compiler ", 0), 0u) << cmd;
        // `help COMMAND` and -V say the same.
        const program_result h = run_program({"help", cmd});
        EXPECT_EQ(std::tie(h.status, h.out), std::tie(help.status, help.out)) << cmd;
        const program_result short_v = run_program({cmd, "-V"});
        EXPECT_EQ(std::tie(short_v.status, short_v.out), std::tie(v.status, v.out)) << cmd;
    }
    for (const auto& [given, same_as] : {std::pair<std::string, std::string>{"help", "--help"}, {"-V", "--version"}}) {
        const program_result a = run_program({given}), b = run_program({same_as});
        EXPECT_EQ(a.status, 0) << given;
        EXPECT_EQ(a.out, b.out) << given;
    }
    EXPECT_NE(run_program({"compile", "--help"}).out.find("Exit status:\n  0  ok"), std::string::npos);
    // Mistakes, each answered in a few words of its own.
    const struct {
        std::vector<std::string> args;
        int status;
        std::string said;
    } refused[] = {
        {{"compiel", "a", "b"}, 2, "unknown command 'compiel'; did you mean 'compile'?"},
        {{"no-such-command"}, 2, "unknown command 'no-such-command' (the commands: compile export documents inspect errors plot serve lsp timetable help)"},
        {{"help", "compiel"}, 2, "COMMAND: compiel not in {compile,export,documents,inspect,errors,plot,serve,lsp,timetable}"},
        {{"compile", "a", "b", "--jsno"}, 2, "compile: unknown option '--jsno'; did you mean '--json'?"},
        {{"inspect", "x", "--knd=route"}, 2, "did you mean '--kind'?"},
        {{"compile", "a", "b", "--error-limit", "-1"}, 2,
         "--error-limit: takes a whole number from 0 (no limit) up to 2147483647\nRun with"},
        {{"compile"}, 2, "ROUTE is required\nUsage: scenario-compiler compile [OPTIONS] ROUTE TRAIN\nRun with"},
        {{"plot", "a", "b"}, 2, "--output is required\nUsage: scenario-compiler plot [OPTIONS] [ROUTE] [TRAIN]\nRun with"},
        // A path that begins with '/' is a path, not a Windows-style option.
        {{"compile", "/x/A_linea.txt", "/x/A_1-.txt"}, 3, "compile: /x/A_linea.txt: no such file"},
        // Every message carries its command's name.
        {{"inspect", "none_linea.dat"}, 3, "scenario-compiler inspect: none_linea.dat: no such file\n"},
        {{"plot", "--compiled", "none", "--route-id", "A", "--train-number", "1", "-o", "x.svg"}, 3,
         "scenario-compiler plot: none"},
    };
    for (const auto& [args, status, said] : refused) {
        const program_result r = run_program(args);
        EXPECT_EQ(r.status, status) << said;
        EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    }
}

TEST(CommandLine, AMachineFormAnswersWithOneDocumentOnEveryFailure) {
    // Refused arguments, files that cannot be read and failures of the run alike:
    // one document on stdout holding the failure's message, the exit status as in text.
    const struct {
        std::vector<std::string> args;
        int status;
        std::string said;
    } failures[] = {
        {{"compile", "--format=json"}, 2, "ROUTE is required"},
        {{"compile", "--json", "a"}, 2, "TRAIN is required"},
        {{"compile", "--format", "sarif", "a", "b", "--bogus"}, 2, "not expected: --bogus"},
        {{"compile", "a", "b", "--json", "--jsno"}, 2, "unknown option '--jsno'; did you mean '--json'?"},
        {{"compile", "a", "b", "--format=sarif", "--error-limit", "-1"}, 2, "takes a whole number from 0"},
        {{"compile", "--format=text", "--json", "none_linea.txt", "none_1-.txt"}, 3, "none_linea.txt: no such file"},
        {{"inspect", "--json"}, 2, "FILE is required"},
        {{"inspect", "x.sim", "--json", "--kind=nope"}, 2, "--kind: nope not in"},
        {{"inspect", "none_linea.dat", "--json"}, 3, "none_linea.dat: no such file"},
        {{"errors", "99", "--json"}, 2, "there is no error code 99"},
        {{"errors", "--json", "--bogus"}, 2, "not expected: --bogus"},
    };
    temp_dir dir;
    for (const auto& [args, status, said] : failures) {
        const program_result r = run_program(args, dir.path());
        const std::string row = args[0] + " ... " + said;
        EXPECT_EQ(r.status, status) << row;
        EXPECT_NE(r.err.find(said), std::string::npos) << row << ": " << r.err;
        const nlohmann::json j = nlohmann::json::parse(r.out, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << row << ": " << r.out;
        const bool sarif = std::any_of(args.begin(), args.end(), [](const std::string& a) { return a.ends_with("sarif"); });
        nlohmann::json message;
        if (args[0] != "compile") {
            message = j["error"]["message"];
        } else if (sarif) {
            ASSERT_EQ(j["runs"][0]["results"].size(), 1u) << row;
            message = j["runs"][0]["results"][0]["message"]["text"];
            EXPECT_FALSE(j["runs"][0]["results"][0].contains("locations")) << row;
            EXPECT_TRUE(j["runs"][0]["properties"]["error_state"].is_null()) << row;
        } else {
            ASSERT_EQ(j["diagnostics"].size(), 1u) << row;
            const nlohmann::json& d = j["diagnostics"][0];
            message = d["message"];
            EXPECT_EQ(nlohmann::json::array({d["code"], d["file"], d["line"]}), nlohmann::json::array({nullptr, nullptr, nullptr}))
                << row;
            EXPECT_TRUE(j["error_state"].is_null()) << row;
        }
        ASSERT_TRUE(message.is_string()) << row << ": " << r.out;
        EXPECT_EQ(message.get<std::string>().rfind("scenario-compiler " + args[0] + ": ", 0), 0u) << row;
        EXPECT_NE(message.get<std::string>().find(said), std::string::npos) << row << ": " << r.out;
    }
    // inspect names the file and the kind it knows of.
    const nlohmann::json j = nlohmann::json::parse(run_program({"inspect", "none_linea.dat", "--json"}, dir.path()).out);
    EXPECT_EQ(nlohmann::json::array({j["file"], j["kind"]}), nlohmann::json::array({"none_linea.dat", "route"}));
}

TEST(CommandLine, GridPassFaultsNameTheLineOfTheirSignalOrRestriction) {
    const std::pair<const char*, int> cases[] = {{"fault-100441", 251}, {"fault-100461", 122}, {"fault-100321", 52}};
    for (const auto& [name, line] : cases) {
        const fs::path dir = fs::path(test_paths::shared_vectors) / name;
        if (!fs::exists(dir / "expected.json")) GTEST_SKIP() << dir << " is not there";
        const auto expected = nlohmann::json::parse(read_file(dir / "expected.json"));
        temp_dir out;
        const program_result c = run_program(
            {"compile", dir / expected["route_file"].get<std::string>(), dir / expected["train_file"].get<std::string>(), "--check",
             "--json", "--route-id", expected["route_id"], "--train-number", expected["train_number"]},
            out.path());
        const auto j = summary_of(c);
        EXPECT_EQ(j["error_state"]["code"], expected["codice_errore"]) << name;
        bool found = false;
        for (const std::string& e : errors_of(j))
            found |= e.rfind("E" + expected["codice_errore"].dump() + " " + expected["train_file"].get<std::string>() + ":" +
                                 std::to_string(line) + ":", 0) == 0;
        EXPECT_TRUE(found) << name << c.err;
    }
}

TEST(CommandLine, PlotDrawsAScenarioFromItsTextsOrItsCompiledFilesInTheFormatItsNameGives) {
    temp_dir dir;
    export_with(dir, 0, "");
    ASSERT_EQ(run_program({"compile", ROUTE, TRAIN, "--no-geometry", "-o", "out"}, dir.path()).status, 0);
    const struct {
        std::vector<std::string> args;
        int status;
    } rows[] = {
        {{"plot", ROUTE, TRAIN, "-o", "texts.svg"}, 0},
        {{"plot", ROUTE, TRAIN, "-o", "new/folder/texts.svg"}, 0},
        // A stretch beyond the line's 243000 m is refused; one that runs past its end stops there.
        {{"plot", ROUTE, TRAIN, "--from", "250000", "--to", "260000", "-o", "beyond.svg"}, 2},
        {{"plot", ROUTE, TRAIN, "--from", "240000", "--to", "260000", "-o", "past-the-end.svg"}, 0},
        {{"plot", ROUTE, TRAIN, "-o", ROUTE + "/texts.svg"}, 3},
        {{"plot", "--compiled", "out", "--route-id", "Lidonia_Sabrio", "--train-number", "914", "-o", "files.svg"}, 0},
        {{"plot", ROUTE, TRAIN, "-o", "texts.txt"}, 2},
        {{"plot", ROUTE, ROUTE, "--train-number", "914", "-o", "same.svg"}, 2},
        {{"plot", ROUTE, TRAIN, "--train-number", "", "-o", "empty-number.svg"}, 2},
        // A PDF is laid out on paper, a picture in pixels: each refuses the other's option.
        {{"plot", ROUTE, TRAIN, "--size", "800x600", "-o", "sized.pdf"}, 2},
        {{"plot", ROUTE, TRAIN, "--paper", "A4", "-o", "paper.svg"}, 2},
        {{"plot", ROUTE, TRAIN, "--km-per-page", "20", "-o", "pages.png"}, 2},
        {{"plot", ROUTE, TRAIN, "--paper", "B5", "-o", "b5.pdf"}, 2},
        {{"plot", ROUTE, TRAIN, "--km-per-page", "0", "-o", "none.pdf"}, 2},
    };
    for (const auto& r : rows) {
        const program_result run = run_program(r.args, dir.path());
        EXPECT_EQ(run.status, r.status) << r.args.back() << run.err;
        if (r.status != 0) continue;
        const std::string drawing = read_file(dir.path() / r.args.back());
        EXPECT_TRUE(drawing.rfind("<svg", 0) == 0 || drawing.rfind("<?xml", 0) == 0) << drawing.substr(0, 40);
    }
}

// The carried scenario drawn in each format the build has: the SVG is XML with one
// group a signal and a station (twice: plan and names) carrying its train-file line,
// the PNG has the size asked for, the PDF's text names every station.
TEST(CommandLine, PlotOfTheCarriedScenarioShowsEveryStationAndSignal) {
    temp_dir dir;
    export_with(dir, 0, "");
    std::vector<std::string> stations;
    size_t signals = 0;
    std::istringstream train(read_file(dir.path() / TRAIN));
    for (std::string line; std::getline(train, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("segnale", 0) == 0) ++signals;
        if (line.rfind("stazione", 0) == 0) stations.push_back(line.substr(line.find_last_of(',') + 2));
    }
    ASSERT_EQ(stations.size(), 35u);
    std::vector<std::string> formats{"svg"};
    if (cairo_available()) formats.insert(formats.end(), {"png", "pdf"});
    for (const std::string& f : formats) {
        const std::string name = "sheet." + f;
        // A PDF on paper, the 243 km on five pages of 50 km; a picture in pixels.
        const program_result r = run_program({"plot", ROUTE, TRAIN, "-o", name, f == "pdf" ? "--paper" : "--size",
                                              f == "pdf" ? "A4" : "1200x900"},
                                             dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string bytes = read_file(dir.path() / name);
        if (f == "svg") {
            EXPECT_EQ(run_command({"xmllint", "--noout", name}, dir.path()).status, 0);
            // Groups of each kind whose attributes end with the train file and a line.
            std::map<std::string, size_t> groups;
            const std::string sourced = " data-file=\"" + TRAIN + "\" data-line=\"";
            for (const std::string kind : {"station", "signal"}) {
                const std::string open = "<g data-kind=\"" + kind + "\"";
                for (size_t at = bytes.find(open); at != std::string::npos; at = bytes.find(open, at + 1)) {
                    const std::string tag = bytes.substr(at, bytes.find('>', at) - at);
                    if (tag.find(sourced) != std::string::npos) ++groups[kind];
                }
            }
            EXPECT_EQ(groups["station"], 2 * stations.size());
            EXPECT_EQ(groups["signal"], 2 * signals);  // on the plan and in the objects lane
        } else if (f == "png") {
            ASSERT_GT(bytes.size(), 24u);
            auto be32 = [&](size_t at) {
                uint32_t v = 0;
                for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
                return v;
            };
            EXPECT_EQ(be32(16), 1200u);
            EXPECT_EQ(be32(20), 900u);
        } else {
            const std::string info = run_command({"pdfinfo", name}, dir.path()).out;
            const size_t pages = info.find("Pages:");
            ASSERT_NE(pages, std::string::npos) << info;
            EXPECT_EQ(std::stoi(info.substr(pages + 6)), 5) << info;
            EXPECT_NE(info.find("842 x 595 pts"), std::string::npos) << info;
            const std::string text = run_command({"pdftotext", name, "-"}, dir.path()).out;
            EXPECT_NE(text.find("this sheet: 200\u2013243 km, page 5 of 5"), std::string::npos) << text.substr(0, 300);
            // 20 km of it on 5 km pages, on A1.
            ASSERT_EQ(run_program({"plot", ROUTE, TRAIN, "-o", "a1.pdf", "--paper", "a1", "--from", "20000", "--to", "40000",
                                   "--km-per-page", "5"}, dir.path()).status, 0);
            const std::string a1 = run_command({"pdfinfo", "a1.pdf"}, dir.path()).out;
            EXPECT_EQ(std::stoi(a1.substr(a1.find("Pages:") + 6)), 4) << a1;
            EXPECT_NE(a1.find("2384 x 1684 pts"), std::string::npos) << a1;
            // More kilometres a page than the line has: one page.
            ASSERT_EQ(run_program({"plot", ROUTE, TRAIN, "-o", "one.pdf", "--km-per-page", "2147483647"}, dir.path()).status, 0);
            const std::string one = run_command({"pdfinfo", "one.pdf"}, dir.path()).out;
            EXPECT_EQ(std::stoi(one.substr(one.find("Pages:") + 6)), 1) << one;
            for (const std::string& station : stations) EXPECT_NE(text.find(station), std::string::npos) << station;
        }
    }
}

// The program alone, its drawing helper neither beside it nor on PATH: a PNG is a
// file error naming the helper, and nothing is written; an SVG needs no helper.
TEST(CommandLine, PlotWithoutItsDrawingHelperNamesIt) {
    if (!cairo_available()) GTEST_SKIP() << "this build draws SVG only";
    temp_dir dir;
    export_with(dir, 0, "");
    const fs::path lone = dir.path() / "lone";
    fs::create_directory(lone);
    fs::copy_file(test_paths::program, lone / "scenario-compiler");
    for (const std::string name : {"sheet.png", "sheet.svg"}) {
        const program_result r = run_command(
            {"env", "PATH=" + lone.string(), (lone / "scenario-compiler").string(), "plot", ROUTE, TRAIN, "-o", name},
            dir.path());
        const bool svg = name.ends_with(".svg");
        EXPECT_EQ(r.status, svg ? 0 : 3) << r.err;
        EXPECT_EQ(fs::exists(dir.path() / name), svg);
        EXPECT_EQ(r.err.find("scenario-compiler-draw: not found") != std::string::npos, !svg) << r.err;
    }
}
