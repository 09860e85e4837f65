#pragma once
// What the viewer's server answers: the page and its files, the live state and
// the drawing. Nothing of a request names a file.
#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "viewer/http_server.h"
#include "viewer/live_compile.h"

// GET PATH?QUERY: "/" and the page's files, /state.json, /scene.svg (from=M&to=M,
// whole metres, the stretch drawn; width=W&height=H, the sheet in pixels).
// Anything else is 404.
// With a budget, a drawing asked for once the budget is spent is answered 503.
class drawing_budget;
http_reply viewer_reply(const live_compile& live, std::string_view path, std::string_view query,
                        drawing_budget* budget = nullptr);

// The time the server's one thread may spend drawing: a share of the time that
// passes, and a reserve for a burst. Clients asking for drawings faster than it
// allows are told to come back, so that the page's other requests and the
// event streams are still served. The last drawing is kept: the same one asked
// for again (of the same compile) costs nothing.
class drawing_budget {
public:
    using clock = std::chrono::steady_clock;
    // Drawing may take `share` of the time, `reserve` at most ahead.
    drawing_budget(double share, clock::duration reserve) : share_(share), reserve_(reserve), left_(reserve) {}
    bool allows(clock::time_point now);
    void spent(clock::duration d) { left_ -= d; }
    // The drawing kept for `key`, if it is the last one drawn.
    const std::string* kept(const std::string& key) const { return key == kept_key_ ? &kept_ : nullptr; }
    void keep(std::string key, std::string svg) { kept_key_ = std::move(key), kept_ = std::move(svg); }

private:
    double share_;
    clock::duration reserve_, left_;
    clock::time_point last_{};
    std::string kept_key_, kept_;
};
