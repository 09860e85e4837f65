// PNG and PDF from the program: the drawing helper draws them, so that only it
// loads cairo and the libraries cairo pulls in.
#include <utility>

#include "drawing/draw_request.h"
#include "drawing/render.h"
#include "drawing/sheet_layout.h"
#include "platform/exit_status.h"

#ifdef HAVE_DRAW_HELPER
#include "platform/helper_program.h"

namespace {

result<std::string> drawn_by_helper(draw_request r) {
    check_sheet_size(r.size);
    result<helper_output> out = run_helper(draw_helper_name, draw_request_bytes(r));
    if (!out) return out.error();
    if (out->status != 0) return failure{EXIT_FAILURE_IO, std::move(out->bytes)};
    return std::move(out->bytes);
}

}  // namespace

bool cairo_available() { return true; }

result<std::string> render_cairo(const scene& s, sheet_size size, sheet_format format) {
    return drawn_by_helper({format, size, {s}});
}

result<std::string> render_pdf_pages(const std::vector<scene>& pages, sheet_size size) {
    return drawn_by_helper({sheet_format::pdf, size, pages});
}

#else

bool cairo_available() { return false; }

result<std::string> render_pdf_pages(const std::vector<scene>&, sheet_size) {
    return failure{EXIT_FAILURE_IO, "this build draws no PNG or PDF; write an SVG"};
}

result<std::string> render_cairo(const scene&, sheet_size, sheet_format) {
    return failure{EXIT_FAILURE_IO, "this build draws no PNG or PDF; write an SVG"};
}

#endif
