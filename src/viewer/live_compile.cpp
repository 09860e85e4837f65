#include "viewer/live_compile.h"

#include <chrono>
#include <ctime>
#include <exception>
#include <nlohmann/json.hpp>
#include <utility>

#include "diagnostics/json_form.h"
#include "diagnostics/warnings.h"
#include "drawing/render.h"
#include "drawing/scene_build.h"
#include "drawing/sheet_layout.h"
#include "model/codice.h"
#include "platform/exit_status.h"

namespace {

// The viewer's sheet: the page scales it, so one size serves every window.
constexpr sheet_size SHEET{1600, 1100};
// What a page may ask for: no smaller than the sheet's rows need, no larger than a screen.
constexpr int32_t MIN_PAGE_SHEET = 300, MAX_PAGE_SHEET = 8000;

std::string utc_now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
    return text;
}

}  // namespace

live_compile::live_compile(viewer_inputs inputs) : inputs_(std::move(inputs)) {}
live_compile::~live_compile() = default;

void live_compile::compile() {
    ++version_;
    compiled_at_ = utc_now();
    session_inputs in;
    in.route = inputs_.route, in.train = inputs_.train;
    in.route_id = inputs_.route_id, in.train_number = inputs_.train_number;
    diagnostics_.clear(), sources_ = {}, failure_.clear(), report_.reset(), drawing_kept_.clear();
    error_code_ = error_metres_ = 0;
    result<session_compile> compiled = failure{};
    try {
        compiled = compile_in_memory(in);
    } catch (const std::exception& e) {
        // Nothing is meant to throw past the session; should anything (memory), it
        // is one more state of the files, not the end of the server.
        compiled = failure{EXIT_FAILURE_IO, e.what()};
    }
    if (!compiled) {
        failure_ = compiled.error().message;
        diagnostics_ = {failure_diagnostic(failure_)};
        return;
    }
    auto c = std::make_shared<session_compile>(std::move(*compiled));
    diagnostics_ = c->diagnostics, sources_ = c->sources;
    route_id_ = c->route_id, train_number_ = c->train_number;
    error_code_ = numero(c->m.codice_errore), error_metres_ = c->m.metri_errore;
    if (c->esito.rapporto != codice::nessuno) report_ = std::to_string(numero(c->esito.rapporto));
    if (!c->drawable()) return;
    // A file cut short, as a save caught half-written is, draws part of the line
    // as if it were the whole: the last good drawing stays, and the state says why.
    for (const diagnostic& d : c->diagnostics)
        if (drawn_ && d.code == warning_code(warning_kind::truncated)) {
            drawing_kept_ = d.message;
            return;
        }
    scene_options whole_line;
    whole_line.columns = SHEET.width;
    const scene whole = scene_of(c->m, whole_line);
    whole_svg_ = render_svg(whole, SHEET);
    drawn_version_ = version_, drawn_at_ = compiled_at_;
    length_m_ = whole.length_m, from_m_ = whole.from_m, to_m_ = whole.to_m;
    drawn_ = std::move(c);
}

std::string live_compile::state_json() const {
    compile_outcome outcome;
    outcome.error_code = error_code_, outcome.error_metres = error_metres_, outcome.report = report_;
    // The state's keys are sorted, where the compile summary keeps its own order.
    nlohmann::json j(summary_json(diagnostics_, sources_, outcome));
    j.erase("written");
    const bool failed = !failure_.empty() || report_ || error_code_ != 0;
    j["version"] = version_;
    j["ok"] = !failed;
    j["error_code"] = error_code_;
    j["error_metres"] = error_metres_;
    j["compiled_at"] = compiled_at_;
    j["failure"] = failure_.empty() ? nlohmann::json(nullptr) : nlohmann::json(failure_);
    j["route_id"] = route_id_;
    j["train_number"] = train_number_;
    j["drawing"] = drawn_ != nullptr;
    // Which compile the drawing is of: after a failed one, the last good one.
    j["drawing_version"] = drawn_ ? nlohmann::json(drawn_version_) : nlohmann::json(nullptr);
    j["drawing_compiled_at"] = drawn_ ? nlohmann::json(drawn_at_) : nlohmann::json(nullptr);
    j["drawing_current"] = drawn_ != nullptr && drawn_version_ == version_;
    j["drawing_kept_because"] = drawing_kept_.empty() ? nlohmann::json(nullptr) : nlohmann::json(drawing_kept_);
    if (drawn_) {
        j["length_m"] = length_m_;
        // Where the distance axis lies on the sheet, for the page to place a position.
        const sheet_rect strip = layout_of(SHEET).strips.front();
        j["sheet"] = {{"width", SHEET.width}, {"height", SHEET.height}};
        j["axis"] = {{"left", strip.x}, {"right", strip.x + strip.width}, {"from_m", from_m_}, {"to_m", to_m_}};
    }
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

result<std::optional<std::string>> live_compile::svg(std::optional<int32_t> from_m, std::optional<int32_t> to_m,
                                                      std::optional<sheet_size> size) const {
    if (!drawn_) return std::optional<std::string>();
    if (size && (size->width < MIN_PAGE_SHEET || size->height < MIN_PAGE_SHEET || size->width > MAX_PAGE_SHEET ||
                 size->height > MAX_PAGE_SHEET))
        return failure{EXIT_USAGE, "width and height take " + std::to_string(MIN_PAGE_SHEET) + " to " +
                                       std::to_string(MAX_PAGE_SHEET) + " pixels"};
    const sheet_size sheet = size.value_or(SHEET);
    if (!from_m && !to_m && sheet == SHEET) return std::optional<std::string>(whole_svg_);
    // One rule for both bounds, whether given or taken from the line's ends.
    const int32_t from = from_m.value_or(0), to = to_m.value_or(length_m_);
    if (from < 0 || to <= from) return failure{EXIT_USAGE, "'to' must lie after 'from', both at or above 0"};
    scene_options stretch;
    stretch.from_m = from_m, stretch.to_m = to_m;
    stretch.columns = sheet.width;
    return std::optional<std::string>(render_svg(scene_of(drawn_->m, stretch), sheet));
}
