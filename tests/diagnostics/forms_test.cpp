// The three forms of the compile diagnostics: the compiler form, JSON, SARIF.
#include "diagnostics/json_form.h"
#include "diagnostics/sarif_form.h"
#include "diagnostics/text_form.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "diagnostics/warnings.h"

// GCC 12 at -O3 takes the clean-up path of the nested brace-initialised
// diagnostics below for a read of uninitialised strings.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {

// Line 2 starts with a tab and ends at a lone CR; CR CR LF ends line 3 and an
// empty line 4; line 1 has "à" in Windows-1252; line 6 is too long to quote whole.
const std::string LONG_LINE = std::string(150, 'x') + "FIELD" + std::string(150, 'y');
const source_files SOURCES = {{"route.txt", "LINEA,\"Citt\xE0\"\r\n\tSEGNALE, 1200,  X\rFINE\r\r\nEND\n" + LONG_LINE + "\n"},
                              {"train.txt", ""}};
constexpr file_testo R = file_testo::linea, T = file_testo::treno;

std::string printed(const std::vector<diagnostic>& diagnostics, bool colour) {
    std::ostringstream err;
    print_diagnostics(err, diagnostics, SOURCES, colour);
    return err.str();
}

}  // namespace

TEST(Diagnostics, CompilerFormWithSourceLinesAndCarets) {
    using enum severity;
    const struct {
        std::vector<diagnostic> diagnostics;
        std::string expected;
    } cases[] = {
        {{{error, "E16", {R, 2, 11, 4}, 1200, "signal in the way", {}}},
         "route.txt:2:11: error: signal in the way [E16]\n"
         "\tSEGNALE, 1200,  X\n"
         "\t         ^~~~\n"
         "1 error generated.\n"},
        // The underline stops at the line's end; a note has its own source line.
        {{{warning, "-Wodd", {R, 1, 8, 10}, {}, "odd name", {{{R, 5, 1, 3}, "ends here"}}}},
         "route.txt:1:8: warning: odd name [-Wodd]\n"
         "LINEA,\"Citt\xC3\xA0\"\n"
         "       ^~~~~~\n"
         "route.txt:5:1: note: ends here\n"
         "END\n"
         "^~~\n"
         "1 warning generated.\n"},
        {{{error, "E25", {}, {}, "cannot read", {{{}, "no file"}, {{R, 0, 0, 0}, "this file"}}},
          {error, "E1", {T, 1, 1, 1}, {}, "no source text", {}}},
         "error: cannot read [E25]\n"
         "note: no file\n"
         "route.txt: note: this file\n"
         "train.txt:1:1: error: no source text [E1]\n"
         "2 errors generated.\n"},
        // No caret without a column or past the end; no source line past the last.
        {{{error, "E4", {R, 3, 0, 0}, {}, "missing end", {{{R, 4, 1, 0}, "empty line"}}},
          {error, "E25", {R, 9, 1, 1}, {}, "past the end", {}},
          {warning, "-Wx", {R, 5, 5, 1}, {}, "trailing", {}},
          {warning, "-Wx", {R, 5, 4, 2}, {}, "at the end", {}}},
         "route.txt:3: error: missing end [E4]\n"
         "FINE\n"
         "route.txt:4:1: note: empty line\n"
         "\n"
         "^\n"
         "route.txt:9:1: error: past the end [E25]\n"
         "route.txt:5:5: warning: trailing [-Wx]\n"
         "END\n"
         "route.txt:5:4: warning: at the end [-Wx]\n"
         "END\n"
         "   ^\n"
         "2 errors, 2 warnings generated.\n"},
        // A fix-it shows the line as it makes it, the caret under each character put in.
        {{{warning, "-Wx", {R, 1, 7, 7}, {}, "quoted", {}, {{{R, 1, 7, 7}, "Citt\xC3\xA0"}}},
          {warning, "-Wx", {R, 2, 2, 7}, {}, "capitals", {}, {{{R, 2, 2, 7}, "segnale"}}}},
         "route.txt:1:7: warning: quoted [-Wx]\n"
         "LINEA,\"Citt\xC3\xA0\"\n"
         "      ^~~~~~~\n"
         "route.txt:1:7: note: replace with 'Citt\xC3\xA0'\n"
         "LINEA,Citt\xC3\xA0\n"
         "      ^~~~~\n"
         "route.txt:2:2: warning: capitals [-Wx]\n"
         "\tSEGNALE, 1200,  X\n"
         "\t^~~~~~~\n"
         "route.txt:2:2: note: replace with 'segnale'\n"
         "\tsegnale, 1200,  X\n"
         "\t^~~~~~~\n"
         "2 warnings generated.\n"},
        // A long line is quoted around the place, its cut ends shown.
        {{{warning, "-Wx", {R, 6, 151, 5}, {}, "long", {}, {{{R, 6, 151, 5}, "F"}}}},
         "route.txt:6:151: warning: long [-Wx]\n"
         "\u2026" + std::string(100, 'x') + "FIELD" + std::string(95, 'y') + "\u2026\n" +
         std::string(101, ' ') + "^~~~~\n"
         "route.txt:6:151: note: replace with 'F'\n"
         "\u2026" + std::string(100, 'x') + "F" + std::string(95, 'y') + "\u2026\n" +
         std::string(101, ' ') + "^\n"
         "1 warning generated.\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(printed(c.diagnostics, false), c.expected);
}

TEST(Diagnostics, ColoursOnlyWhenAsked) {
    const std::vector<diagnostic> d = {
        {severity::error, "E16", {R, 2, 11, 4}, {}, "in the way", {{{R, 5, 1, 0}, "here"}}}};
    EXPECT_EQ(printed(d, true),
              "\x1b[1mroute.txt:2:11: \x1b[0m\x1b[1;31merror: \x1b[0m\x1b[1min the way [E16]\x1b[0m\n"
              "\tSEGNALE, 1200,  X\n"
              "\x1b[1;32m\t         ^~~~\x1b[0m\n"
              "\x1b[1mroute.txt:5:1: \x1b[0m\x1b[1;30mnote: \x1b[0m\x1b[1mhere\x1b[0m\n"
              "END\n"
              "\x1b[1;32m^\x1b[0m\n"
              "1 error generated.\n");
    EXPECT_EQ(printed(d, false).find('\x1b'), std::string::npos);
    // Control characters from an author's file never reach the terminal, one '?' each.
    const std::vector<diagnostic> quoted = {{severity::warning, "-Wunknown-keyword", {}, {}, "'\x1b[2J\xC2\x9B' x", {}}};
    EXPECT_EQ(printed(quoted, false), "warning: '?[2J?' x [-Wunknown-keyword]\n1 warning generated.\n");
}

TEST(Diagnostics, JsonAndSarifCarryTheSameDiagnostics) {
    const std::string warning_code = std::string("-W") + warning_kinds().front().name;
    const std::vector<diagnostic> d = {
        {severity::error, "E16", {R, 2, 11, 4}, 1200, "bad \xFF byte", {{{T, 3, 0, 0}, "also"}}, {{{R, 2, 11, 4}, "1250"}}},
        {severity::warning, warning_code, {}, {}, "no place", {{{}, "nowhere"}}},
    };
    const compile_outcome outcome{16, 1200, "1251", {"a.sim", "b.sim"}};
    const source_files paths = {{"dir\\route 1.txt", ""}, {"train.txt", ""}};
    const auto j = nlohmann::json::parse(diagnostics_json(d, paths, outcome));
    const auto sarif = nlohmann::json::parse(diagnostics_sarif(d, paths, outcome));
    const auto& run = sarif["runs"].at(0);
    EXPECT_EQ(j["error_state"], run["properties"]["error_state"]);
    EXPECT_EQ(j["report"], run["properties"]["report"]);
    EXPECT_EQ(j["written"], run["properties"]["written"]);
    EXPECT_EQ(j["diagnostics"][0]["message"], "bad \xEF\xBF\xBD byte");  // replaced, not thrown

    std::set<std::string> rules;
    for (const auto& rule : run["tool"]["driver"]["rules"]) rules.insert(rule["id"].get<std::string>());
    ASSERT_EQ(j["diagnostics"].size(), run["results"].size());
    for (size_t i = 0; i < d.size(); ++i) {
        const auto& a = j["diagnostics"][i];
        const auto& r = run["results"][i];
        EXPECT_EQ(a["code"], r["ruleId"]);
        EXPECT_TRUE(rules.count(r["ruleId"].get<std::string>())) << r["ruleId"];
        EXPECT_EQ(a["severity"], r["level"]);
        EXPECT_EQ(a["message"], r["message"]["text"]);
        EXPECT_EQ(a["notes"].size(), r["relatedLocations"].size());
        // Each fix-it: the same file, range and text.
        ASSERT_EQ(a["fixes"].size(), d[i].fixes.size());
        ASSERT_EQ(a["fixes"].size(), r.value("fixes", nlohmann::json::array()).size());
        for (size_t k = 0; k < a["fixes"].size(); ++k) {
            const auto& f = a["fixes"][k];
            const auto& change = r["fixes"][k]["artifactChanges"].at(0);
            const auto& replacement = change["replacements"].at(0);
            EXPECT_EQ(change["artifactLocation"]["uri"], file_uri_reference(f["file"].get<std::string>()));
            EXPECT_EQ(f["line"], replacement["deletedRegion"]["startLine"]);
            EXPECT_EQ(f["column"], replacement["deletedRegion"]["startColumn"]);
            EXPECT_EQ(f["end_column"], replacement["deletedRegion"]["endColumn"]);
            EXPECT_EQ(f["end_column"], 15);
            EXPECT_EQ(f["text"], replacement["insertedContent"]["text"]);
            EXPECT_EQ(f["text"], "1250");
        }
        if (a["file"].is_null()) {
            EXPECT_FALSE(r.contains("locations"));
            continue;
        }
        const auto& region = r["locations"][0]["physicalLocation"]["region"];
        EXPECT_EQ(a["line"], region["startLine"]);
        EXPECT_EQ(a["column"], region["startColumn"]);
        EXPECT_EQ(region["endColumn"], 15);
        EXPECT_EQ(a["position_m"], r["properties"]["position_m"]);
    }
}

TEST(Diagnostics, SarifUriOfAPath) {
    const struct {
        const char* path;
        const char* uri;
    } cases[] = {
        {"dir\\my route.txt", "dir/my%20route.txt"},
        {"../up/[x] 50%\xC3\xA0.txt", "../up/%5Bx%5D%2050%25%C3%A0.txt"},
        {"a:b/c:d#1.txt", "a%3Ab/c:d%231.txt"},  // not a scheme
        {"/home/a b/r.txt", "file:///home/a%20b/r.txt"},
        {"C:\\Users\\x\\r.txt", "file:///C:/Users/x/r.txt"},
        {"\\\\server\\share\\r.txt", "file://server/share/r.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(file_uri_reference(c.path), c.uri) << c.path;
}
