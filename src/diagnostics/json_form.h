#pragma once
// The diagnostics as JSON: the one form of a diagnostic and of a compile's
// summary, for `compile --json` and the live view's state alike.
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "diagnostics/diagnostic.h"

// {"severity", "code", "file", "line", "column", "position_m", "message", "notes",
// "fixes": [{"file", "line", "column", "end_column" (just past the bytes replaced), "text"}]}.
nlohmann::ordered_json diagnostic_json(const diagnostic& d, const source_files& sources);
// {"diagnostics": [...], "error_state": {"code", "metres"} (null when no compile ran), "report", "written"}.
nlohmann::ordered_json summary_json(const std::vector<diagnostic>& diagnostics, const source_files& sources,
                                    const compile_outcome& outcome);
// The summary as compile --json prints it; text that is not UTF-8 is replaced.
std::string diagnostics_json(const std::vector<diagnostic>& diagnostics, const source_files& sources,
                             const compile_outcome& outcome);

// The outcome's fields, alike in the summary and in the SARIF log's properties.
nlohmann::ordered_json error_state_json(const compile_outcome& outcome);
nlohmann::ordered_json report_json(const compile_outcome& outcome);

// Indented by one space, text that is not UTF-8 replaced: how the machine forms print.
std::string dump_json(const nlohmann::ordered_json& j);
