// Formatting aligns the values of each run of one keyword, and never changes
// what the compiler reads: the carried scenario, every conformance vector and
// every bad-input case compile to the same cells, records, route and error
// state after it; a second formatting changes nothing.
#include "lsp/features.h"

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>

#include <nlohmann/json.hpp>

#include "platform/file_ops.h"
#include "session/compile_session.h"
#include "tests/support/carried_texts.h"
#include "tests/support/compiled_bytes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

// The text with each edited line replaced, every line end as it was: what an
// editor does with the edits formatting returns.
std::string with_line_edits(std::string_view text, const std::vector<line_edit>& edits) {
    std::string out;
    out.reserve(text.size());
    auto next = edits.begin();
    int32_t line = 1;
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        while (next != edits.end() && next->line < line) ++next;
        if (next != edits.end() && next->line == line) out += next->text;
        else out += text.substr(start, end - start);
        if (end >= text.size()) break;
        const size_t after = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        out += text.substr(end, after - end);
        start = after;
        ++line;
    }
    return out;
}

struct layout_case {
    const char* name;
    std::string before, after;
};
// A case shows as its name in the list of tests, not as its bytes.
void PrintTo(const layout_case& c, std::ostream* os) { *os << c.name; }

const std::vector<layout_case> LAYOUTS = {
    {"ValuesRightAlignedInTheirRun",
     "[generale]\r\nvelocita, 1650,5\r\n  velocita,   15500, 120 \r\n",
     "[generale]\r\nvelocita,  1650,   5\r\nvelocita, 15500, 120\r\n"},
    {"BlankCommentAndOtherKeywordEndARun",
     "[generale]\nvelocita, 0, 110\n\nvelocita, 12000, 150\n-- note\nvelocita, 5, 5\naderenza, 100, 100\nvelocita, 1, 1\n",
     "[generale]\nvelocita, 0, 110\n\nvelocita, 12000, 150\n-- note\nvelocita, 5, 5\naderenza, 100, 100\nvelocita, 1, 1\n"},
    {"TextLeftAsWritten",
     "[generale]\nstazione,0,8,500,1,0,0,4,1,1,2,1,1,1,10,48,0,  LIDONIA  CENTRALE \nstazione,7000,12,500,0,0,0,1,1,0,4,1,1,0,0,0,0,X\n",
     "[generale]\nstazione,    0,  8, 500, 1, 0, 0, 4, 1, 1, 2, 1, 1, 1, 10, 48, 0, LIDONIA  CENTRALE\n"
     "stazione, 7000, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0,  0,  0, 0, X\n"},
    // Fields separated by blanks alone, a decimal, a missing or extra field, a
    // trailing comma: the reading depends on the layout, so it stays.
    {"LinesWhoseReadingDependsOnLayoutStay",
     "[generale]\norologio, 10   47   40\nsegnale, 16.5, 2\nvelocita, 0\nvelocita, 0, 1, 2\nvelocita, 0, 1,\nsabbia,  200\n",
     "[generale]\norologio, 10   47   40\nsegnale, 16.5, 2\nvelocita, 0\nvelocita, 0, 1, 2\nvelocita, 0, 1,\nsabbia, 200\n"},
    {"BeforeGeneraleUntouched", "velocita,  0,  1\n[generale]\n", "velocita,  0,  1\n[generale]\n"},
};

class Layout : public testing::TestWithParam<layout_case> {};

TEST_P(Layout, FormatsAsExpected) {
    const layout_case& c = GetParam();
    const std::string once = with_line_edits(c.before, format_lines(c.before, file_testo::treno, 1, INT32_MAX));
    EXPECT_EQ(once, c.after);
    EXPECT_TRUE(format_lines(once, file_testo::treno, 1, INT32_MAX).empty()) << "not idempotent";
}

INSTANTIATE_TEST_SUITE_P(Formatting, Layout, testing::ValuesIn(LAYOUTS),
                         [](const testing::TestParamInfo<layout_case>& info) { return std::string(info.param.name); });

struct compiled_state {
    std::string cells, records, route;
    int32_t code = 0, metres = 0;
    bool report = false;
    bool operator==(const compiled_state&) const = default;
};

// The compile of a pair, texts in place of the files when given.
std::optional<compiled_state> compiled(session_inputs in) {
    in.error_limit = 1;
    const result<session_compile> c = compile_in_memory(in);
    if (!c) return std::nullopt;
    return compiled_state{cell_file_bytes(c->m.celle), scenario_file_bytes(c->m.voci), route_file_bytes(c->m.tracciato),
                          numero(c->m.codice_errore), c->m.metri_errore, c->m.rapporto.has_value()};
}

std::string formatted(const std::string& text, file_testo f) {
    return with_line_edits(text, format_lines(text, f, 1, INT32_MAX));
}

// Every pair below `root`: a folder holding one ID_linea.txt and one train file of it.
void collect_pairs(const fs::path& root, std::vector<session_inputs>& out) {
    if (!fs::exists(root)) return;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_directory()) continue;
        session_inputs in;
        for (const auto& f : fs::directory_iterator(e.path())) {
            const std::string n = f.path().filename().string();
            if (n.size() > 10 && n.ends_with("_linea.txt")) in.route = f.path();
            else if (n.ends_with("-.txt")) in.train = f.path();
        }
        if (in.route.empty() || in.train.empty()) continue;
        const fs::path expected = e.path() / "expected.json";
        if (fs::exists(expected)) {
            std::ifstream j(expected);
            const nlohmann::json v = nlohmann::json::parse(j, nullptr, false);
            if (v.is_object() && v.contains("route_id")) in.route_id = v["route_id"], in.train_number = v["train_number"];
            if (v.is_object() && v.contains("geometry")) in.no_geometry = !v["geometry"].get<bool>();
        }
        out.push_back(in);
    }
}

TEST(Formatting, ChangesNothingTheCompilerReads) {
    temp_dir dir;
    const carried_files carried = write_carried_texts(dir.path());
    std::vector<session_inputs> pairs;
    session_inputs c;
    c.route = carried.route, c.train = carried.train;
    pairs.push_back(c);
    collect_pairs(test_paths::shared_vectors, pairs);
    collect_pairs(test_paths::bad_inputs, pairs);
    ASSERT_GT(pairs.size(), 50u);
    size_t changed = 0;
    for (session_inputs in : pairs) {
        const std::optional<compiled_state> before = compiled(in);
        if (!before) continue;  // a run that cannot compile (a missing file) has nothing to compare
        std::string route, train;
        try {
            route = read_file(in.route), train = read_file(in.train);
        } catch (const std::exception&) {
            continue;
        }
        in.route_text = formatted(route, file_testo::linea);
        in.train_text = formatted(train, file_testo::treno);
        changed += *in.route_text != route || *in.train_text != train;
        EXPECT_EQ(formatted(*in.route_text, file_testo::linea), *in.route_text) << in.route << ": not idempotent";
        EXPECT_EQ(formatted(*in.train_text, file_testo::treno), *in.train_text) << in.train << ": not idempotent";
        const std::optional<compiled_state> after = compiled(in);
        ASSERT_TRUE(after) << in.train;
        EXPECT_TRUE(*after == *before) << in.route << " and " << in.train << " compile otherwise once formatted";
    }
    EXPECT_GT(changed, pairs.size() / 2) << "formatting changed too few scenarios to show anything";
}

}  // namespace
