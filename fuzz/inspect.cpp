// `inspect` on any bytes as each kind of compiled file. The first byte picks the
// kind (route, scenario, cells), --json, and whether a small --cells or --points
// range is asked for; the rest is the file. A JSON answer must parse.
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const KINDS[] = {"route", "scenario", "cells", "cells"};
    const uint8_t scelta = data[0];
    inspect_options o;
    o.file = fuzz::scrivi("compiled.bin", std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    o.kind = KINDS[scelta & 3];
    o.json = scelta & 4;
    if (scelta & 8) (o.kind == "route" ? o.points : o.cells) = (scelta & 16) ? "0-3" : "2-40";
    std::ostringstream out, err;
    int status = run_inspect(o, out, err);
    if (o.json && status == 0 && !nlohmann::json::accept(out.str())) __builtin_trap();
    return 0;
}
