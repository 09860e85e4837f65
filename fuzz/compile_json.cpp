// `compile --check --json` with the route identifier and the train number taken
// from the input too, so bytes that are not UTF-8 reach the summary, which must
// always parse. The first byte's low bit is --no-geometry; the rest is
// ID#####NUMBER#####ROUTE#####TRAIN (an empty identifier comes from the file's name).
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/compile.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> p = fuzz::parti(input.substr(1), 4);
    compile_options o;
    o.route_id = p[0];
    o.train_number = p[1];
    o.route = fuzz::scrivi("Fuzz_linea.txt", fuzz::percorso_corto(p[2]));
    o.train = fuzz::scrivi("Fuzz_1-.txt", p[3]);
    o.output = fuzz::cartella();
    o.no_geometry = input[0] & 1;
    o.check = true;
    o.json = true;
    std::ostringstream out, err;
    run_compile(o, out, err);
    if (!nlohmann::json::accept(out.str())) __builtin_trap();
    return 0;
}
