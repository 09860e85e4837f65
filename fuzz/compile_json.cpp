// `compile --check` in a machine form, with the route identifier and the train
// number taken from the input too, so bytes that are not UTF-8 reach the summary,
// which must always parse. The first byte's bits: 0 --no-geometry, 1 SARIF instead
// of JSON, 2 --error-limit 1, 3 -Wall, 6 -Werror (4 and 5 are left alone: the
// seeds start with '0' or '1', which keeps them the plain JSON run). The rest is
// ID#####NUMBER#####ROUTE#####TRAIN (an empty identifier comes from the file's name).
#include <regex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "fuzz/fuzz_support.h"
#include "platform/exit_status.h"

namespace {

// The errors and warnings the compiler form counted on err: its summary line,
// the last line of that shape (a source line above it may look the same).
std::pair<size_t, size_t> counted(const std::string& err, int status) {
    // A run that fails before compiling prints its one error bare.
    if (status == EXIT_USAGE || status == EXIT_FAILURE_IO) return {1, 0};
    static const std::regex summary(R"((?:(\d+) errors?(?:, (\d+) warnings?)?|(\d+) warnings?) generated\.)");
    std::istringstream lines(err);
    std::string last;
    std::smatch m;
    for (std::string line; std::getline(lines, line);)
        if (line.ends_with(" generated.") && std::regex_match(line, summary)) last = line;
    if (!std::regex_match(last, m, summary)) return {0, 0};
    return {std::stoul("0" + m[1].str()), std::stoul("0" + m[2].str() + m[3].str())};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> p = fuzz::parti(input.substr(1), 4);
    const auto bit = [&](int b) { return (input[0] >> b & 1) != 0; };
    compile_options o;
    o.route_id = p[0];
    o.train_number = p[1];
    o.route = fuzz::scrivi("Fuzz_linea.txt", fuzz::percorso_corto(p[2]));
    o.train = fuzz::scrivi("Fuzz_1-.txt", p[3]);
    o.output = fuzz::cartella();
    o.no_geometry = bit(0);
    o.check = true;
    o.format = bit(1) ? "sarif" : "json";
    o.color = "never";
    if (bit(2)) o.error_limit = 1;
    if (bit(3)) o.warnings.push_back("all");
    if (bit(6)) o.warnings.push_back("error");
    std::ostringstream out, err;
    const int status = run_compile(o, out, err);

    if (err.str().find('\x1b') != std::string::npos) __builtin_trap();
    nlohmann::json j = nlohmann::json::parse(out.str(), nullptr, false);
    if (!j.is_object()) __builtin_trap();
    // A run that fails before compiling has no error state; every other has one.
    const bool compiled = status != EXIT_USAGE && status != EXIT_FAILURE_IO;
    if (bit(1) ? j["version"] != "2.1.0" || !j["runs"].is_array() || j["runs"].size() != 1
               : compiled ? !j["error_state"]["code"].is_number_integer() : !j["error_state"].is_null())
        __builtin_trap();
    const nlohmann::json* list = bit(1) ? &j["runs"][0]["results"] : &j["diagnostics"];
    if (!list->is_array()) __builtin_trap();
    // Both forms hold what the compiler form showed; -Werror leaves no warning,
    // and the error limit holds for the faults (warnings made errors aside).
    size_t errors = 0, faults = 0;
    for (const nlohmann::json& d : *list) {
        const auto text = [&](const char* key) {
            const auto it = d.find(key);
            return it != d.end() && it->is_string() ? it->get<std::string>() : std::string();
        };
        const std::string level = text(bit(1) ? "level" : "severity");
        if (level != "error" && level != "warning") __builtin_trap();
        errors += level == "error";
        faults += text(bit(1) ? "ruleId" : "code").starts_with('E');
    }
    if (counted(err.str(), status) != std::pair{errors, list->size() - errors}) __builtin_trap();
    if (bit(6) && errors != list->size()) __builtin_trap();
    if (bit(2) && faults > 1) __builtin_trap();
    return 0;
}
