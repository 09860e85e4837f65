// The server as an editor meets it: JSON-RPC messages in, the messages it sends
// out, each expected message a pattern (the keys and array elements it names
// must match; an array's length too, unless its last element is "..."). The
// transcripts are files in tests/lsp/transcripts.
#include "lsp/server.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "lsp/file_uri.h"
#include "lsp/message_intake.h"
#include "lsp/scenario_check.h"
#include "platform/input_files.h"
#include "model/testo_1252.h"
#include "tests/support/carried_texts.h"
#include "tests/support/lsp_transcript.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

using json = nlohmann::json;

namespace {

// Where `expected` does not match `actual`, or "" when it does.
std::string mismatch(const json& expected, const json& actual, const std::string& at = "") {
    if (expected.is_object()) {
        if (!actual.is_object()) return at + ": not an object";
        for (const auto& [k, v] : expected.items()) {
            if (!actual.contains(k)) return at + "/" + k + ": missing";
            if (std::string m = mismatch(v, actual[k], at + "/" + k); !m.empty()) return m;
        }
        return "";
    }
    if (expected.is_array()) {
        const bool prefix = !expected.empty() && expected.back() == "...";
        const size_t n = expected.size() - (prefix ? 1 : 0);
        if (!actual.is_array() || (prefix ? actual.size() < n : actual.size() != n))
            return at + ": expected " + std::to_string(n) + (prefix ? " or more" : "") + " elements";
        for (size_t i = 0; i < n; ++i)
            if (std::string m = mismatch(expected[i], actual[i], at + "/" + std::to_string(i)); !m.empty()) return m;
        return "";
    }
    return expected == actual ? "" : at + ": expected " + expected.dump();
}

const std::filesystem::path TRANSCRIPTS = std::filesystem::path(test_paths::source_root) / "tests" / "lsp" / "transcripts";

const lsp_transcript::definitions& shared() {
    static const lsp_transcript::definitions defs = lsp_transcript::read_definitions(TRANSCRIPTS / "shared.defs");
    return defs;
}

// The transcripts by their files' names.
std::vector<std::string> transcript_names() {
    std::set<std::string> names;
    for (const auto& f : std::filesystem::directory_iterator(TRANSCRIPTS))
        if (f.path().extension() == ".txt") names.insert(f.path().stem().string());
    return {names.begin(), names.end()};
}

std::string json_string(const std::string& s) { return json(s).dump(); }

void replace_all(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
}

class Transcript : public testing::TestWithParam<std::string> {};

TEST_P(Transcript, AnswersAsExpected) {
    const std::vector<transcript_step> steps = lsp_transcript::read_transcript(TRANSCRIPTS / (GetParam() + ".txt"), shared());
    ASSERT_FALSE(steps.empty());
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    std::ifstream in(files.train, std::ios::binary);
    const std::string carried = utf8_da_1252(std::string(std::istreambuf_iterator<char>(in), {}));
    std::filesystem::create_directory(dir.path() / "lone");
    const std::map<std::string, std::string> uris = {{"$ROUTE", uri_of_path(files.route)},
                                                     {"$TRAIN", uri_of_path(files.train)},
                                                     {"$LONE", uri_of_path(dir.path() / "lone" / "A_B_7-.txt")},
                                                     {"$SOLO", uri_of_path(dir.path() / "lone" / "C_linea.txt")},
                                                     // The reference as the server finds it: under Wine, a path on the emulator's drive.
                                                     {"$REFERENCE", uri_of_path(reference_document().value_or(test_paths::format_reference))}};
    std::ostringstream out;
    server_settings settings;
    settings.compile_time = std::chrono::milliseconds(100);
    language_server server(out, settings);
    const auto start = language_server::clock::now();
    size_t read = 0;
    std::string document = carried;  // the train file as last sent: where the marks are
    for (const transcript_step& s : steps) {
        const bool sends_text = s.in.find("$TEXT") != std::string::npos;
        ASSERT_TRUE(sends_text || s.edits.empty()) << "edits for a step that sends no text: " << s.in.substr(0, 120);
        if (sends_text) document = lsp_transcript::with_edits(carried, s.edits);
        std::string in_text = lsp_transcript::with_marks(s.in, document);
        for (const auto& [k, v] : uris) replace_all(in_text, k, v);
        replace_all(in_text, "$TEXT", json_string(document));
        const auto now = start + std::chrono::milliseconds(s.at_ms);
        if (s.in == "tick") server.tick(now);
        else if (s.in.rfind("cancel ", 0) == 0) server.cancel(s.in.substr(7));
        else if (s.in == "remove the route file") std::filesystem::remove(files.route);
        else server.handle({in_text, std::nullopt}, now);
        // The messages the step sent.
        std::vector<json> sent;
        const std::string all = out.str();
        while (read < all.size()) {
            const size_t head = all.find("\r\n\r\n", read);
            ASSERT_NE(head, std::string::npos);
            const size_t n = std::stoul(all.substr(read + 16, head - read - 16));
            sent.push_back(json::parse(all.substr(head + 4, n)));
            read = head + 4 + n;
        }
        ASSERT_EQ(sent.size(), s.out.size()) << "after " << s.in.substr(0, 120) << "\n" << json(sent).dump();
        for (size_t i = 0; i < sent.size(); ++i) {
            std::string expected_text = lsp_transcript::with_marks(s.out[i], document);
            for (const auto& [k, v] : uris) replace_all(expected_text, k, v);
            const std::string why = mismatch(json::parse(expected_text), sent[i]);
            EXPECT_EQ(why, "") << "after " << s.in.substr(0, 120) << "\n" << sent[i].dump();
        }
    }
}

// A file's name as the test's: debounce_is_bounded as DebounceIsBounded.
std::string test_name(const testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (size_t i = 0; i < info.param.size(); ++i) {
        const char c = info.param[i];
        const bool first = i == 0 || info.param[i - 1] == '_';
        if (c != '_') name += first ? char(std::toupper(static_cast<unsigned char>(c))) : c;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Server, Transcript, testing::ValuesIn(transcript_names()), test_name);

}  // namespace

// Requests over a document of some 130,000 hints and 12,000 symbols, asked for
// whole: each answer holds at most MAX_ANSWER_ITEMS entries, hints no more
// lines than MAX_RANGE_LINES from the first asked.
TEST(Server, AnswersOverALargeDocumentAreBounded) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    std::ifstream in(files.train, std::ios::binary);
    std::string text = utf8_da_1252(std::string(std::istreambuf_iterator<char>(in), {}));
    std::string signals;
    for (int i = 0; i < 12000; ++i) signals += "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0\n";
    text.insert(text.find("segnale"), signals);
    std::ostringstream out;
    language_server server(out, {});
    const auto now = language_server::clock::now();
    const std::string uri = json(uri_of_path(files.train)).dump();
    for (const std::string& m : {shared().at("INIT"), R"j({"method":"textDocument/didOpen","params":{"textDocument":{"uri":)j" + uri +
                                             R"j(,"version":1,"text":)j" + json(text).dump() + "}}}"})
        server.handle({m, std::nullopt}, now);
    const auto answer = [&](const std::string& method, const std::string& more) {
        out.str("");
        server.handle({R"j({"id":9,"method":")j" + method + R"j(","params":{"textDocument":{"uri":)j" + uri + "}" + more + "}}",
                       std::nullopt},
                      now);
        const std::string all = out.str();
        return json::parse(all.substr(all.find("\r\n\r\n") + 4))["result"];
    };
    const json hints = answer("textDocument/inlayHint", R"j(,"range":{"start":{"line":0,"character":0},"end":{"line":2147483646,"character":0}})j");
    EXPECT_EQ(hints.size(), MAX_ANSWER_ITEMS);
    const json far = answer("textDocument/inlayHint", R"j(,"range":{"start":{"line":2000,"character":0},"end":{"line":2147483646,"character":0}})j");
    ASSERT_FALSE(far.empty());
    EXPECT_LE(far.back()["position"]["line"].get<int64_t>(), 2000 + MAX_RANGE_LINES);
    size_t symbols = 0;
    const std::function<void(const json&)> count = [&](const json& list) {
        for (const json& s : list) ++symbols, count(s.value("children", json::array()));
    };
    count(answer("textDocument/documentSymbol", ""));
    EXPECT_EQ(symbols, MAX_ANSWER_ITEMS);
}

// The reader sees cancellations ahead of the handler: only $/cancelRequest's id counts.
TEST(Server, CancellationsAreSeenAheadByTheirIdOnly) {
    EXPECT_EQ(cancelled_request(R"j({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":5}})j"), "5");
    EXPECT_EQ(cancelled_request(R"j({"method":"$/cancelRequest","params":{"id":"a"}})j"), "\"a\"");
    EXPECT_EQ(cancelled_request(R"j({"method":"$/cancelRequest","params":{"id":[1]}})j"), std::nullopt);
    EXPECT_EQ(cancelled_request(R"j({"id":5,"method":"x","params":{"text":"$/cancelRequest"}})j"), std::nullopt);
}

// A document past the input limit is not compiled or served: one diagnostic at
// its start says why, and a request on it is Invalid params.
TEST(Server, ADocumentPastTheLimitIsRefused) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    std::ostringstream out;
    language_server server(out, {});
    const auto now = language_server::clock::now();
    const std::string uri = json(uri_of_path(files.train)).dump();
    const std::string text(MAX_INPUT_FILE_BYTES + 1, ';');
    for (const std::string& m : {shared().at("INIT"), R"j({"method":"textDocument/didOpen","params":{"textDocument":{"uri":)j" + uri +
                                             R"j(,"version":1,"text":)j" + json(text).dump() + "}}}",
                                 R"j({"id":2,"method":"textDocument/foldingRange","params":{"textDocument":{"uri":)j" + uri + "}}}"})
        server.handle({m, std::nullopt}, now);
    std::vector<json> sent;
    const std::string all = out.str();
    for (size_t at = 0; at < all.size();) {
        const size_t head = all.find("\r\n\r\n", at);
        const size_t n = std::stoul(all.substr(at + 16, head - at - 16));
        sent.push_back(json::parse(all.substr(head + 4, n)));
        at = head + 4 + n;
    }
    ASSERT_EQ(sent.size(), 3u);
    const json& d = sent[1]["params"]["diagnostics"];
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0]["range"]["start"], json({{"line", 0}, {"character", 0}}));
    EXPECT_NE(d[0]["message"].get<std::string>().find("is too large: 16777217 bytes"), std::string::npos) << d;
    EXPECT_EQ(sent[2]["error"]["code"], -32602);
}
