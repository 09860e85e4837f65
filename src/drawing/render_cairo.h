#pragma once
// PNG and PDF drawn through cairo, in this process: the drawing helper's work
// (the program itself asks the helper, through render_cairo and render_pdf_pages).
#include <string>

#include "drawing/draw_request.h"
#include "platform/failure.h"

// The file's bytes, or a failure saying what cairo could not do.
result<std::string> draw_with_cairo(const draw_request& r);
