// Completion inserts lines the compiler reads as their keyword: in a scenario of
// every kind's example line, each line in turn replaced by its completion item as
// inserted (snippet with its defaults, or the plain line) is read as its kind
// with no diagnostic of its own. The editor's reading of a keyword field agrees
// with the compiler's for the spellings the reader accepts.
#include "lsp/features.h"

#include <gtest/gtest.h>

#include <regex>

#include "session/compile_session.h"

namespace {

struct scenario_lines {
    std::vector<std::string> route = {"[generale]"}, train = {"[generale]"};
    std::vector<std::string>& of(file_testo f) { return f == file_testo::treno ? train : route; }
};

scenario_lines examples() {
    scenario_lines s;
    for (const genere_campi& g : generi_campi()) {
        if (g.sezione == sezione_riga::corpo && s.route.back() != "[curve]") s.route.push_back("[curve]");
        s.of(g.file()).emplace_back(g.esempio);
    }
    s.route.push_back("[fine]");
    s.train.push_back("[fine]");
    return s;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

session_compile compiled(const scenario_lines& s) {
    session_inputs in;
    in.route = "R_linea.txt", in.train = "R_1-.txt";
    in.route_text = joined(s.route), in.train_text = joined(s.train);
    result<session_compile> c = compile_in_memory(in);
    if (!c) throw std::runtime_error(c.error().message);
    return std::move(*c);
}

// A snippet as an editor inserts it when the author takes every default.
std::string with_defaults(const std::string& snippet) {
    std::string s = std::regex_replace(snippet, std::regex(R"(\$\{\d+\|((?:\\.|[^,|\\])*)[^}]*\|\})"), "$1");
    s = std::regex_replace(s, std::regex(R"(\$\{\d+:((?:\\.|[^}\\])*)\})"), "$1");
    return std::regex_replace(s, std::regex(R"(\\(.))"), "$1");
}

// The kind the compile recorded at a line, and the diagnostics placed on it.
std::optional<genere_riga> recorded_at(const session_compile& c, file_testo f, int32_t line) {
    for (size_t i = 0; i < c.m.registro.righe.size(); ++i)
        if (const luogo_testo p = c.m.luogo_riga(static_cast<int32_t>(i)); p.file == f && p.line == line)
            return c.m.registro.righe[i].genere;
    return std::nullopt;
}
std::string diagnostics_at(const session_compile& c, file_testo f, int32_t line) {
    std::string out;
    for (const diagnostic& d : c.diagnostics)
        if (d.place.file == f && d.place.line == line) out += d.code + " " + d.message + "\n";
    return out;
}

TEST(Completion, EveryKeywordsItemIsReadAsItsKind) {
    const scenario_lines base = examples();
    ASSERT_EQ(diagnostics_at(compiled(base), file_testo::linea, 0), "");
    for (const genere_campi& g : generi_campi()) {
        scenario_lines blank = base;
        std::vector<std::string>& lines = blank.of(g.file());
        const auto at = std::find(lines.begin(), lines.end(), g.esempio) - lines.begin();
        const int32_t line = static_cast<int32_t>(at) + 1;
        lines[static_cast<size_t>(at)] = "";
        const auto answer = completion(read_lines(joined(blank.of(g.file())), g.file()), {g.file(), line, 1, 0});
        ASSERT_TRUE(answer) << g.chiave;
        const auto item = std::find_if(answer->entries.begin(), answer->entries.end(),
                                       [&](const completion_entry& e) { return e.label == g.chiave; });
        ASSERT_NE(item, answer->entries.end()) << g.chiave;
        EXPECT_NE(item->documentation.find(std::string(g.campi.back().nome)), std::string::npos);
        for (const std::string& inserted : {with_defaults(item->snippet), item->plain}) {
            SCOPED_TRACE(item->snippet + " inserted as " + inserted);
            scenario_lines edited = blank;
            edited.of(g.file())[static_cast<size_t>(at)] = inserted;
            const session_compile c = compiled(edited);
            EXPECT_EQ(recorded_at(c, g.file(), line), g.genere);
            EXPECT_EQ(diagnostics_at(c, g.file(), line), "");
        }
    }
}

TEST(Completion, SnippetsOfferTheKeywordsVariantsAsChoices) {
    const auto answer = completion(read_lines("[generale]\r\n\r\n", file_testo::linea), {file_testo::linea, 2, 1, 0});
    ASSERT_TRUE(answer);
    std::map<std::string, std::string> snippets;
    for (const completion_entry& e : answer->entries) snippets[e.label] = e.snippet;
    EXPECT_EQ(snippets["progressiva chilometrica"], "progressiva chilometrica ${1|uno,due,tre|}, ${2:0}, ${3:100000}, ${4:0}");
    EXPECT_EQ(snippets["ripetizione segnali"], "ripetizione segnali ${1|4,9|} codici, ${2:0}, ${3:11000}");
    const auto body = completion(read_lines("[generale]\r\n[curve]\r\n\r\n", file_testo::linea), {file_testo::linea, 3, 1, 0});
    ASSERT_TRUE(body);
    for (const completion_entry& e : body->entries)
        if (e.label == "curva") {
            EXPECT_EQ(e.snippet, "curva${1|s1,s2,s3,s4,s5,s6,d1,d2,d3,d4,d5,d6|}, ${2:2000}, ${3:600}");
        }
}

// The editor's kind of a keyword field (for hover, hints and signature help)
// against the compiler's, each spelling in place of its kind's example keyword.
TEST(LineReading, KeywordSpellingsAreReadAsTheCompilerReadsThem) {
    const struct {
        genere_riga kind;
        const char* spelling;
    } spellings[] = {
        {genere_riga::velocita, "velocit\xE0"},        {genere_riga::velocita, "VELOCITA'"},
        {genere_riga::progressiva, "progressiva due"},  {genere_riga::progressiva, "progressiva chilometrica"},
        {genere_riga::sfondo, "Sfondo uno"},            {genere_riga::indicatori_vmax, "indicatori_v"},
        {genere_riga::cartello_indicatore, "cartello indicatore"}, {genere_riga::frenata, "massa frenata"},
        {genere_riga::vetture, "vetture"},              {genere_riga::lunghezza, "Lunghezza del percorso"},
        {genere_riga::curva, "CURVAd2"},
    };
    for (const auto& s : spellings) {
        const genere_campi& g = campi_di(s.kind);
        SCOPED_TRACE(s.spelling);
        scenario_lines edited = examples();
        std::vector<std::string>& lines = edited.of(g.file());
        const auto at = std::find(lines.begin(), lines.end(), g.esempio) - lines.begin();
        lines[static_cast<size_t>(at)] = s.spelling + std::string(g.esempio.substr(g.esempio.find(',')));
        const int32_t line = static_cast<int32_t>(at) + 1;
        const line_reading r = read_lines(joined(lines), g.file())[static_cast<size_t>(at)];
        EXPECT_EQ(r.kind, recorded_at(compiled(edited), g.file(), line));
    }
}

}  // namespace
