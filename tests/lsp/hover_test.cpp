// Hover's markdown, parsed as CommonMark: on every field of every line of the
// carried scenario with faults of each kind, no emphasis or code mark is left
// over as text (a message's own marks escaped, each pair closed), and each
// diagnostic is shown only on its range, once.
#include "lsp/features.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "lsp/file_uri.h"
#include "model/testo_1252.h"
#include "platform/file_ops.h"
#include "tests/support/carried_texts.h"
#ifndef _WIN32
#include "tests/support/run_program.h"
#endif
#include "tests/support/temp_dir.h"

namespace {

#ifndef _WIN32
struct hovers {
    std::string markdown;              // every hover's, one after the other
    size_t count = 0;
    std::map<std::string, int> shown;  // "code line": the hovers that show the diagnostic
};

// The hover on the first byte of every field of every line of the train text.
hovers hover_everywhere(const carried_files& files, const std::string& text) {
    workspace w;
    w.open(uri_of_path(files.train), files.train, 1, utf8_da_1252(text));
    const scenario_check check = check_scenario(w, files.train, *choose_warnings({}));
    const std::vector<line_reading> lines = read_lines(text, file_testo::treno);
    hovers out;
    for (const line_reading& r : lines) {
        std::vector<int32_t> columns = {r.keyword.column};
        for (const field_span& v : r.values) columns.push_back(v.column);
        for (const int32_t column : columns)
            if (const auto h = hover(check, lines, {file_testo::treno, r.line, column, 0})) {
                out.markdown += h->markdown + "\n\n***\n\n";
                ++out.count;
                for (const diagnostic& d : check.train.diagnostics)
                    for (size_t at = 0; (at = h->markdown.find(d.code + "**", at)) != std::string::npos; ++at) {
                        ++out.shown[d.code + " " + std::to_string(d.place.line)];
                        EXPECT_EQ(d.place.line, r.line) << d.code;
                    }
            }
    }
    return out;
}

TEST(Hover, MarkdownParsesAsMeantAndShowsEachDiagnosticOnItsRange) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    const std::string carried = slurp(files.train);
    // An unknown keyword, extra fields, a collision, a short line.
    const hovers faults = hover_everywhere(files, with_lines(carried, {{74, "rallentamentto,   76950,    50, 1800, 0,  1,  50"},
                                                                        {75, "rallentamento,  168900,    40,  200, 0,  1,  40, 9"},
                                                                        {79, "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0"},
                                                                        {80, "segnale,    5500,   2, 4, 1,  1, 0,    2,  2,1,1"}}));
    ASSERT_GT(faults.count, 50u);
    for (const char* code : {"-Wunknown-keyword 74", "-Wextra-fields 75", "E16 79", "E25 80"})
        EXPECT_EQ(faults.shown.at(code), 1) << code;
    // A file cut short: its last line's warning on its keyword only.
    const hovers cut = hover_everywhere(files, carried.substr(0, carried.rfind("[fine]")));
    ASSERT_EQ(cut.shown.size(), 1u);
    EXPECT_EQ(cut.shown.begin()->second, 1) << cut.shown.begin()->first;

    const std::filesystem::path md = dir.path() / "hovers.md";
    std::ofstream(md, std::ios::binary) << faults.markdown << cut.markdown;
    const program_result xml = run_command({"cmark", "--to", "xml", md.string()}, dir.path());
    ASSERT_EQ(xml.status, 0) << xml.err;
    const std::regex text_node(R"(<text xml:space="preserve">([^<]*)</text>)");
    for (auto it = std::sregex_iterator(xml.out.begin(), xml.out.end(), text_node); it != std::sregex_iterator(); ++it) {
        const std::string t = (*it)[1];
        EXPECT_EQ(t.find_first_of("*`"), std::string::npos) << "a mark left as text: " << t;
    }
    EXPECT_NE(xml.out.find("<strong>"), std::string::npos);
}
#endif

// The range the compile accepts, then what the width stores.
TEST(Hover, ShowsTheAcceptedRangeBeforeTheWidth) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    const std::string route = read_file(files.route);
    workspace w;
    w.open(uri_of_path(files.route), files.route, 1, utf8_da_1252(route));
    const scenario_check check = check_scenario(w, files.route, *choose_warnings({}));
    const std::vector<line_reading> lines = read_lines(route, file_testo::linea);
    ASSERT_EQ(lines[1].kind, genere_riga::lunghezza);
    const auto h = hover(check, lines, {file_testo::linea, 2, lines[1].values[0].column, 0});
    ASSERT_TRUE(h);
    EXPECT_NE(h->markdown.find("a whole number from 0 to 1000000 (stored in 32 bits, -2147483648 to 2147483647)"),
              std::string::npos)
        << h->markdown;
}

}  // namespace
