// `errors`: the author's list of codes, and the reference it points into.
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <cctype>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "compile/codici_errore.h"
#include "platform/file_ops.h"
#include "tests/support/test_paths.h"

namespace {

// The anchors a Markdown viewer gives the headings: lower case, blanks to
// hyphens, other punctuation dropped.
std::set<std::string> anchors(const std::string& markdown) {
    std::set<std::string> out;
    std::istringstream lines(markdown);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '#') continue;
        std::string slug;
        for (const char c : line.substr(line.find_first_not_of('#')))
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')
                slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            else if (c == ' ')
                slug += '-';
        out.insert(slug.substr(slug.find_first_not_of('-')));
    }
    return out;
}

}  // namespace

TEST(Errors, EveryCodeInNumericOrderWithItsFixAndItsPlaceInTheReference) {
    std::ostringstream out, err;
    ASSERT_EQ(run_errors({}, out, err), 0);
    const auto headings = anchors(read_file(test_paths::format_reference));
    int last = 0;
    for (const voce_errore& e : tabella_errori()) EXPECT_GT(headings.count(e.sezione), 0u) << e.numero << " " << e.sezione;
    std::istringstream lines(out.str());
    int codes = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("error ", 0) != 0) continue;
        const int code = std::stoi(line.substr(6));
        EXPECT_GT(code, last) << line;
        last = code;
        ++codes;
    }
    EXPECT_EQ(codes, static_cast<int>(tabella_errori().size()));
    EXPECT_EQ(out.str().find("recorded by"), std::string::npos);  // the internal notes are --verbose's
}

TEST(Errors, OneCodeAsTextOrJson) {
    const struct {
        errors_options options;
        int status;
        std::string said;  // part of out, or of err for a failure
    } cases[] = {
        {{16, false, false}, 0, "error 16: signal cell already occupied\n    fix: Move the signal"},
        {{16, false, true}, 0, "    recorded by: signal placement\n"},
        {{99, false, false}, 2, "there is no error code 99"},
        {{25, true, true}, 0, "\"see\": \"docs/format.md#numbers\""},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(run_errors(c.options, out, err), c.status);
        EXPECT_NE((c.status == 0 ? out : err).str().find(c.said), std::string::npos) << out.str() << err.str();
        if (c.options.json) {
            const auto j = nlohmann::json::parse(out.str());
            ASSERT_EQ(j.size(), 1u);
            EXPECT_EQ(j[0]["code"], 25);
            EXPECT_EQ(j[0]["recorded_by"], "reader, either phase");
        }
    }
}
