#pragma once
// What the program hands the drawing helper, which alone links cairo: the pages
// of one PNG or PDF, as bytes on the helper's standard input. The helper answers
// on its standard output: the file's bytes and status 0, or a message and another status.
#include <string>
#include <string_view>
#include <vector>

#include "drawing/render.h"
#include "drawing/scene.h"
#include "platform/failure.h"

// The helper's program name, found beside the program or on PATH.
inline constexpr const char* draw_helper_name = "scenario-compiler-draw";

struct draw_request {
    sheet_format format = sheet_format::png;
    sheet_size size;
    std::vector<scene> pages;  // a PNG's one sheet, or a PDF's pages
    bool operator==(const draw_request&) const = default;
};

// Every field of every page, doubles bit for bit.
std::string draw_request_bytes(const draw_request& r);

// The request back; a failure when the bytes are not one.
result<draw_request> read_draw_request(std::string_view bytes);
