#include "viewer/routes.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "viewer/page_files.h"

namespace {

http_reply text_reply(unsigned status, std::string text) { return {status, "text/plain; charset=utf-8", text + "\n"}; }

// The query's whole-number values: from and to (metres), width and height (the
// sheet's pixels), each or none, in any order; nothing when a value is no whole number.
struct scene_query {
    std::optional<int32_t> from, to, width, height;
};
std::optional<scene_query> scene_query_of(std::string_view query) {
    scene_query q;
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view item = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        const size_t eq = item.find('=');
        const std::string_view key = item.substr(0, eq);
        std::optional<int32_t>* slot = key == "from" ? &q.from : key == "to" ? &q.to : key == "width" ? &q.width
                                     : key == "height" ? &q.height : nullptr;
        if (!slot) continue;
        if (eq == std::string_view::npos) return std::nullopt;
        const std::string_view text = item.substr(eq + 1);
        int32_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
        *slot = value;
    }
    return q;
}

}  // namespace

bool drawing_budget::allows(clock::time_point now) {
    if (last_ != clock::time_point{})
        left_ = std::min(reserve_, left_ + std::chrono::duration_cast<clock::duration>((now - last_) * share_));
    last_ = now;
    return left_ > clock::duration::zero();
}

http_reply viewer_reply(const live_compile& live, std::string_view path, std::string_view query, drawing_budget* budget) {
    if (path == "/") return {200, "text/html; charset=utf-8", std::string(page_html)};
    if (path == "/page.js") return {200, "text/javascript; charset=utf-8", std::string(page_js)};
    if (path == "/page.css") return {200, "text/css; charset=utf-8", std::string(page_css)};
    if (path == "/state.json") return {200, "application/json", live.state_json()};
    if (path != "/scene.svg") return text_reply(404, "not found");
    const auto q = scene_query_of(query);
    if (!q) return text_reply(400, "from and to take whole metres, width and height whole pixels");
    if (q->width.has_value() != q->height.has_value()) return text_reply(400, "give width and height together");
    const auto size = q->width ? std::optional<sheet_size>({*q->width, *q->height}) : std::nullopt;
    const std::string key = std::to_string(live.version()) + "?" + std::string(query);
    if (budget)
        if (const std::string* kept = budget->kept(key)) return {200, "image/svg+xml", *kept};
    const auto start = drawing_budget::clock::now();
    if (budget && !budget->allows(start)) return text_reply(503, "busy drawing: try again shortly");
    const auto svg = live.svg(q->from, q->to, size);
    if (budget) budget->spent(drawing_budget::clock::now() - start);
    if (!svg) return text_reply(400, svg.error().message);
    if (!*svg) return text_reply(404, "no compile could be drawn yet");
    if (budget) budget->keep(key, **svg);
    return {200, "image/svg+xml", **svg};
}
