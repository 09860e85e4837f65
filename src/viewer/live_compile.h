#pragma once
// The live compile state of a scenario's two text files: the last compile's
// state and diagnostics, and the drawing of the last compile that could be drawn
// (a file broken mid-edit keeps the drawing before it on the page).
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drawing/render.h"
#include "platform/failure.h"
#include "session/compile_session.h"

struct viewer_inputs {
    std::filesystem::path route, train;
    std::optional<std::string> route_id, train_number;  // UTF-8; not given: from the files' names
};

class live_compile {
public:
    explicit live_compile(viewer_inputs inputs);
    ~live_compile();

    // Compiles the files again, writing nothing; each call is a new version.
    void compile();
    int64_t version() const { return version_; }

    // The last compile: its diagnostics and source lines, or why it could not run.
    const std::vector<diagnostic>& diagnostics() const { return diagnostics_; }
    const source_files& sources() const { return sources_; }
    const std::string& failure_message() const { return failure_; }
    int32_t error_code() const { return error_code_; }

    // {version, ok, error_code, error_metres, compiled_at, failure, diagnostics,
    //  report, route_id, train_number, length_m, drawing, drawing_version,
    //  drawing_compiled_at, drawing_current, drawing_kept_because, sheet, axis}:
    //  drawing_version is the compile the drawing is of, drawing_current whether
    //  that is the last one, drawing_kept_because why a compile that could be
    //  drawn did not replace it (a file cut short), or null.
    std::string state_json() const;
    // The drawing of metres [from, to] (the whole line without them) on a sheet
    // of `size` (not given: the default sheet), so that a page can draw it at
    // its own resolution; nothing before a compile could be drawn, or the
    // failure of a bad range or size.
    result<std::optional<std::string>> svg(std::optional<int32_t> from_m, std::optional<int32_t> to_m,
                                           std::optional<sheet_size> size = std::nullopt) const;

private:
    viewer_inputs inputs_;
    int64_t version_ = 0;
    std::vector<diagnostic> diagnostics_;
    source_files sources_;
    std::string failure_;
    int32_t error_code_ = 0, error_metres_ = 0;
    std::optional<std::string> report_;
    std::string compiled_at_;
    std::string route_id_, train_number_;
    std::shared_ptr<const session_compile> drawn_;  // the last compile that could be drawn
    std::string whole_svg_;                          // its whole line, drawn once
    int32_t length_m_ = 0, from_m_ = 0, to_m_ = 0;
    int64_t drawn_version_ = 0;
    std::string drawn_at_;
    std::string drawing_kept_;  // why the last compile's drawing is not shown, when it could be drawn
};
