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
#include "tests/support/carried_texts.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

#ifndef _WIN32
TEST(Hover, MarkdownParsesAsMeantAndShowsEachDiagnosticOnItsRange) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    // An unknown keyword, extra fields, a collision, a short line, a file cut short.
    std::string text = with_lines(slurp(files.train), {{74, "rallentamentto,   76950,    50, 1800, 0,  1,  50"},
                                                       {75, "rallentamento,  168900,    40,  200, 0,  1,  40, 9"},
                                                       {79, "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0"},
                                                       {80, "segnale,    5500,   2, 4, 1,  1, 0,    2,  2,1,1"}});
    text = text.substr(0, text.rfind("[fine]"));
    workspace w;
    w.open(uri_of_path(files.train), files.train, 1, utf8_da_1252(text));
    const scenario_check check = check_scenario(w, files.train, *choose_warnings({}));
    const std::vector<line_reading> lines = read_lines(text, file_testo::treno);
    std::string all;
    size_t hovers = 0;
    std::map<std::string, int> shown;  // each diagnostic's message: the hovers that show it
    for (const line_reading& r : lines) {
        std::vector<int32_t> columns = {r.keyword.column};
        for (const field_span& v : r.values) columns.push_back(v.column);
        for (const int32_t column : columns)
            if (const auto h = hover(check, file_testo::treno, lines, r.line, column)) {
                all += h->markdown + "\n\n***\n\n";
                ++hovers;
                for (const diagnostic& d : check.train.diagnostics)
                    for (size_t at = 0; (at = h->markdown.find(d.code + "**", at)) != std::string::npos; ++at) {
                        ++shown[d.code + " " + std::to_string(d.place.line)];
                        EXPECT_EQ(d.place.line, r.line) << d.code;
                    }
            }
    }
    ASSERT_GT(hovers, 50u);
    for (const char* code : {"-Wunknown-keyword 74", "-Wextra-fields 75", "E16 79", "E25 80"}) EXPECT_EQ(shown[code], 1) << code;
    const std::filesystem::path md = dir.path() / "hovers.md";
    std::ofstream(md, std::ios::binary) << all;
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

}  // namespace
