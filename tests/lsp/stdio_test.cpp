// The program's `lsp` command over real stdin and stdout: framing as bytes, the
// exit status the protocol asks for, and input that is no protocol at all.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "lsp/file_uri.h"
#include "model/testo_1252.h"
#include "tests/support/carried_texts.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace {

std::string frame(const nlohmann::json& j) {
    const std::string body = j.dump();
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

struct served {
    int status = -1;
    std::vector<nlohmann::json> messages;
};

served serve(const temp_dir& dir, const std::string& input) {
    std::ofstream(dir.path() / "in", std::ios::binary) << input;
    const std::string command = std::string(test_paths::program) + " lsp --stdio < '" + (dir.path() / "in").string() +
                                "' > '" + (dir.path() / "out").string() + "'";
    served s;
    const int w = std::system(command.c_str());
    s.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    const std::string out = slurp(dir.path() / "out");
    for (size_t at = 0; at < out.size();) {
        const size_t head = out.find("\r\n\r\n", at);
        if (head == std::string::npos) break;
        const size_t n = std::stoul(out.substr(at + 16, head - at - 16));
        s.messages.push_back(nlohmann::json::parse(out.substr(head + 4, n)));
        at = head + 4 + n;
    }
    return s;
}

TEST(LspStdio, ServesAnEditingSessionAndExitsAsTheProtocolSays) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    const std::string train_uri = uri_of_path(files.train);
    const std::string text = utf8_da_1252(slurp(files.train));
    std::string in = frame({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", nlohmann::json::object()}}}});
    // Noise first: a header without a length, a body that is not JSON; the session goes on.
    in += "X-Noise: 1\r\n\r\n" + std::string("Content-Length: 5\r\n\r\n{oops");
    in += frame({{"jsonrpc", "2.0"},
                 {"method", "textDocument/didOpen"},
                 {"params", {{"textDocument", {{"uri", train_uri}, {"version", 1}, {"text", with_lines(text, {{79, "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0"}})}}}}}});
    in += frame({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "textDocument/hover"},
                 {"params", {{"textDocument", {{"uri", train_uri}}}, {"position", {{"line", 78}, {"character", 0}}}}}});
    in += frame({{"jsonrpc", "2.0"}, {"id", 3}, {"method", "shutdown"}});
    in += frame({{"jsonrpc", "2.0"}, {"method", "exit"}});
    const served s = serve(dir, in);
    EXPECT_EQ(s.status, 0);
    ASSERT_EQ(s.messages.size(), 7u);
    EXPECT_EQ(s.messages[0]["id"], 1);
    EXPECT_EQ(s.messages[1]["error"]["code"], -32600);  // no Content-Length
    EXPECT_EQ(s.messages[2]["error"]["code"], -32700);  // not JSON
    EXPECT_EQ(s.messages[4]["params"]["uri"], train_uri);
    EXPECT_EQ(s.messages[4]["params"]["diagnostics"][0]["code"], "E16");
    EXPECT_NE(s.messages[5]["result"]["contents"]["value"].get<std::string>().find("**segnale**"), std::string::npos);
    EXPECT_EQ(s.messages[6]["result"], nullptr);

    // Input that ends without shutdown (here inside a body over the size limit): status 1.
    const served cut = serve(dir, "Content-Length: 999999999\r\n\r\n{\"jsonrpc\":");
    EXPECT_EQ(cut.status, 1);
    EXPECT_TRUE(cut.messages.empty());
}

}  // namespace
#endif
