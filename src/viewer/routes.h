#pragma once
// What the viewer's server answers: the page and its files, the live state and
// the drawing. Nothing of a request names a file.
#include <string_view>

#include "viewer/http_server.h"
#include "viewer/live_compile.h"

// GET PATH?QUERY: "/" and the page's files, /state.json, /scene.svg (from=M&to=M,
// whole metres, the stretch drawn; width=W&height=H, the sheet in pixels).
// Anything else is 404.
http_reply viewer_reply(const live_compile& live, std::string_view path, std::string_view query);
