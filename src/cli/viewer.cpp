#include "cli/viewer.h"

#include <chrono>
#include <ctime>
#include <exception>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <utility>
#include <variant>

#include "cli/diagnostics.h"
#include "cli/plot.h"
#include "model/codice.h"
#include "drawing/render.h"
#include "drawing/sheet_layout.h"

namespace {

// The viewer's sheet: the page scales it, so one size serves every window.
constexpr sheet_size SHEET{1600, 1100};

std::string utc_now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
    return text;
}

}  // namespace

route_viewer::route_viewer(viewer_inputs inputs) : inputs_(std::move(inputs)) {}
route_viewer::~route_viewer() = default;

void route_viewer::compile() {
    ++version_;
    compiled_at_ = utc_now();
    check_inputs in;
    in.route = inputs_.route, in.train = inputs_.train;
    in.route_id = inputs_.route_id, in.train_number = inputs_.train_number;
    diagnostics_.clear(), sources_.clear(), failure_.clear(), report_.reset();
    error_code_ = error_metres_ = 0;
    std::variant<checked_compile, check_failure> result = check_failure{};
    try {
        result = check_compile(in);
    } catch (const std::exception& e) {
        // A run-time failure ends a `compile`; here it is one more state of the files.
        result = check_failure{0, e.what()};
    }
    if (auto* f = std::get_if<check_failure>(&result)) {
        failure_ = f->message;
        diagnostic d;
        d.message = f->message;
        diagnostics_ = {d};
        return;
    }
    auto c = std::make_shared<checked_compile>(std::move(std::get<checked_compile>(result)));
    diagnostics_ = c->diagnostics, sources_ = c->sources;
    route_id_ = c->route_id, train_number_ = c->train_number;
    error_code_ = numero(c->m.codice_errore), error_metres_ = c->m.metri_errore;
    if (c->esito.rapporto != codice::nessuno) report_ = std::to_string(numero(c->esito.rapporto));
    if (!drawable(*c)) return;
    const scene whole = scene_of(*c, std::nullopt, std::nullopt, SHEET.width);
    whole_svg_ = render_svg(whole, SHEET);
    length_m_ = whole.length_m, from_m_ = whole.from_m, to_m_ = whole.to_m;
    drawn_ = std::move(c);
}

std::string route_viewer::state_json() const {
    compile_outcome outcome;
    outcome.error_code = error_code_, outcome.error_metres = error_metres_, outcome.report = report_;
    // The state's keys are sorted, where the compile summary keeps its own order.
    nlohmann::json j(summary_json(diagnostics_, outcome));
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
    if (drawn_) {
        j["length_m"] = length_m_;
        // Where the distance axis lies on the sheet, for the page to place a position.
        const sheet_rect strip = layout_of(SHEET).strips.front();
        j["sheet"] = {{"width", SHEET.width}, {"height", SHEET.height}};
        j["axis"] = {{"left", strip.x}, {"right", strip.x + strip.width}, {"from_m", from_m_}, {"to_m", to_m_}};
    }
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<std::string> route_viewer::svg(std::optional<int32_t> from_m, std::optional<int32_t> to_m) const {
    if (!drawn_) return std::nullopt;
    if (!from_m && !to_m) return whole_svg_;
    if ((from_m && *from_m < 0) || (from_m && to_m && *to_m <= *from_m))
        throw std::invalid_argument("'to' must lie after 'from', both at or above 0");
    return render_svg(scene_of(*drawn_, from_m, to_m, SHEET.width), SHEET);
}
