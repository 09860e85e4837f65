// Every case of the bad-input corpus (tests/bad_inputs, described in its README)
// through `compile --check --json`, in-process: the exit status, the error state
// and the place of its diagnostic, and the inputs left exactly as they were.
#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "platform/file_ops.h"
#include "tests/support/fault_oracle.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

const char* const ROUTE = "Prova_linea.txt";
const char* const TRAIN = "Prova_1-.txt";

fs::path corpus() {
    if (const char* env = std::getenv("SCENARIO_BAD_INPUTS_DIR")) return env;
    return test_paths::bad_inputs;
}

// The case's inputs by name: the files in its folder, and those its expected
// file describes as head, repeat times `times`, tail (too big to keep as files).
std::map<std::string, std::string> inputs(const fs::path& dir, const nlohmann::json& expected) {
    std::map<std::string, std::string> out;
    for (const char* name : {ROUTE, TRAIN})
        if (file_exists(dir / name)) out[name] = read_file(dir / name);
    const nlohmann::json generate = expected.value("generate", nlohmann::json::object());
    for (const auto& [name, g] : generate.items()) {
        const std::string repeat = g["repeat"].get<std::string>();
        const size_t times = g["times"].get<size_t>();
        std::string bytes = g["head"].get<std::string>();
        bytes.reserve(bytes.size() + repeat.size() * times + g["tail"].get<std::string>().size());
        for (size_t i = 0; i < times; ++i) bytes += repeat;
        bytes += g["tail"].get<std::string>();
        out[name] = std::move(bytes);
    }
    return out;
}

void run_case(const fs::path& dir) {
    const nlohmann::json expected = nlohmann::json::parse(read_file(dir / "expected.json"));
    for (const char* key : {"exit", "codice_errore", "metri_errore", "file", "line", "column"})
        ASSERT_TRUE(expected.contains(key)) << "expected.json has no " << key;
    const std::map<std::string, std::string> files = inputs(dir, expected);
    temp_dir in;
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) {
        write_file(in.path() / name, bytes);
        names.push_back(name);
    }
    compile_options o;
    o.route = in.path() / ROUTE;
    o.train = in.path() / TRAIN;
    o.output = in.path() / "out";
    o.check = true;
    o.format = "json";
    o.no_geometry = expected.value("no_geometry", false);
    o.warnings = expected.value("flags", std::vector<std::string>{});
    std::ostringstream out, err;
    int status = -1;
    try {
        status = run_compile(o, out, err);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "compile threw: " << e.what();
        return;
    }
    EXPECT_EQ(status, expected["exit"].get<int>());
    const nlohmann::json got = nlohmann::json::parse(out.str(), nullptr, false);
    ASSERT_FALSE(got.is_discarded()) << "no JSON summary on stdout";
    const nlohmann::json& state = got["error_state"];
    EXPECT_EQ(state.is_null() ? state : state["code"], expected["codice_errore"]);
    EXPECT_EQ(state.is_null() ? state : state["metres"], expected["metri_errore"]);
    // The error state's fault is among the diagnostics, at its file (by name), line and column.
    const auto place = [](const nlohmann::json& d) {
        const std::string name = d["file"].is_null() ? "-" : fs::path(d["file"].get<std::string>()).filename().string();
        return name + ":" + d["line"].dump() + ":" + d["column"].dump();
    };
    const auto expect_diagnostic = [&](const std::string& wanted) {
        bool found = false;
        for (const nlohmann::json& d : got["diagnostics"]) found = found || d["code"].get<std::string>() + " " + place(d) == wanted;
        EXPECT_TRUE(found) << "no " << wanted << " in " << got["diagnostics"].dump();
    };
    const int codice = expected["codice_errore"].is_null() ? 0 : expected["codice_errore"].get<int>();
    if (codice != 0) expect_diagnostic("E" + std::to_string(codice) + " " + place(expected));
    // A numbered report has a diagnostic of its own, "E1250 FILE:LINE:COLUMN", where the case records it.
    if (expected.contains("report_place")) {
        const std::string wanted = expected["report_place"].get<std::string>();
        EXPECT_EQ(got["report"].is_string() ? "E" + got["report"].get<std::string>() : "no report",
                  wanted.substr(0, wanted.find(' ')));
        expect_diagnostic(wanted);
    }
    // The compiler form (on stderr) and SARIF of the same compile, for the checks below.
    const std::string text = err.str();
    compile_options as_sarif = o;
    as_sarif.format = "sarif";
    std::ostringstream sarif_out, sarif_err;
    run_compile(as_sarif, sarif_out, sarif_err);
    // Where the case records its warnings, exactly those, each as "CODE FILE:LINE:COLUMN", in every form.
    if (expected.contains("warnings")) {
        std::vector<std::string> warned;
        for (const nlohmann::json& d : got["diagnostics"])
            if (d["severity"] == "warning") warned.push_back(d["code"].get<std::string>() + " " + place(d));
        EXPECT_EQ(warned, expected["warnings"].get<std::vector<std::string>>());
        std::vector<std::string> texts, sarif;
        for (const std::string& w : warned) {
            std::string code = w.substr(0, w.find(' ')), at = w.substr(w.find(' ') + 1);
            // A place without a column is shown without it.
            if (at.size() > 5 && at.compare(at.size() - 5, 5, ":null") == 0) at.resize(at.size() - 5);
            const std::string line = at + ": warning: ", tail = " [" + code + "]\n";
            for (size_t from = 0; (from = text.find(line, from)) != std::string::npos; ++from)
                if (text.substr(from, text.find('\n', from) - from + 1).find(tail) != std::string::npos) {
                    texts.push_back(w);
                    break;
                }
        }
        EXPECT_EQ(texts, warned) << text;
        const nlohmann::json sarif_log = nlohmann::json::parse(sarif_out.str());
        for (const nlohmann::json& r : sarif_log["runs"][0]["results"]) {
            if (r["level"] != "warning") continue;
            const nlohmann::json& l = r["locations"][0]["physicalLocation"];
            sarif.push_back(r["ruleId"].get<std::string>() + " " +
                            fs::path(l["artifactLocation"]["uri"].get<std::string>()).filename().string() + ":" +
                            l["region"]["startLine"].dump() + ":" + l["region"].value("startColumn", nlohmann::json()).dump());
        }
        EXPECT_EQ(sarif, warned);
    }
    // Where the case records what its diagnostics say, each text is said in every form.
    if (expected.contains("says")) {
        const std::pair<const char*, std::string> forms[] = {{"json", out.str()}, {"text", text}, {"sarif", sarif_out.str()}};
        for (const std::string& said : expected["says"].get<std::vector<std::string>>())
            for (const auto& [format, form] : forms) {
                EXPECT_NE(form.find(said), std::string::npos) << format << " lacks: " << said;
            }
    }
    // The search that reads on finds what compiling again for every fault finds.
    if (files.count(ROUTE) && files.count(TRAIN))
        searches_agree(files.at(ROUTE), files.at(TRAIN), o.no_geometry ? 0 : 1, 0, dir.string());
    // An author's inputs are never changed or deleted, and --check writes
    // nothing, not even the output folder.
    EXPECT_EQ(in.names(), names);
    for (const auto& [name, bytes] : files) {
        if (!file_exists(in.path() / name)) continue;  // named by the check above
        EXPECT_TRUE(read_file(in.path() / name) == bytes) << name << " changed";
    }
}

}  // namespace

TEST(BadInputs, EveryCaseGivesItsRecordedOutcome) {
    const fs::path root = corpus();
    if (!fs::is_directory(root)) {
#ifdef _WIN32
        // The folder is named by its build-machine path, which the emulator may not map.
        if (std::getenv("CI") == nullptr) GTEST_SKIP() << "no bad-input corpus at " << root.string();
#endif
        FAIL() << "no bad-input corpus at " << root.string();
    }
    std::set<fs::path> cases;
    for (const auto& kind : fs::directory_iterator(root)) {
        if (!kind.is_directory()) continue;
        for (const auto& c : fs::directory_iterator(kind.path())) {
            if (!c.is_directory()) continue;
            EXPECT_TRUE(file_exists(c.path() / "expected.json")) << c.path().string() << " has no expected.json";
            if (file_exists(c.path() / "expected.json")) cases.insert(c.path());
        }
    }
    ASSERT_FALSE(cases.empty());
    for (const fs::path& c : cases) {
        SCOPED_TRACE(c.parent_path().filename().string() + "/" + c.filename().string());
        run_case(c);
    }
}
