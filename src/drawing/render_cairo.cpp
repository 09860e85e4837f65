// PNG and PDF through cairo: the same sheet as the SVG, put down by a canvas
// over a cairo context. Built only into the drawing helper (and the tests).
#include "drawing/render_cairo.h"

#include <stdexcept>

#include "platform/exit_status.h"
#include "drawing/sheet_layout.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

void set_ink(cairo_t* cr, colour c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

class cairo_canvas final : public canvas {
public:
    explicit cairo_canvas(cairo_t* cr) : cr_(cr) {
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        // The toy font API: fontconfig finds the face on Linux.
        cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }

    void begin_element(const scene_element&) override {}
    void end_element() override {}

    void push_clip(const sheet_rect& r) override {
        cairo_save(cr_);
        cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
        cairo_clip(cr_);
    }
    void pop_clip() override { cairo_restore(cr_); }

    void polyline(const std::vector<scene_point>& points, colour ink, double width) override {
        if (points.empty()) return;
        cairo_move_to(cr_, points[0].x, points[0].y);
        for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].x, points[i].y);
        stroke(ink, width);
    }
    void fill_rect(const sheet_rect& r, colour ink) override {
        cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
        set_ink(cr_, ink);
        cairo_fill(cr_);
    }
    void frame_rect(const sheet_rect& r, colour ink, double width) override {
        cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
        stroke(ink, width);
    }
    void circle(scene_point c, double radius, colour ink) override {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, c.x, c.y, radius, 0.0, 2.0 * std::numbers::pi);
        set_ink(cr_, ink);
        cairo_fill(cr_);
    }
    void text(scene_point at, std::string_view utf8, const sheet_text& style) override {
        const std::string t(utf8);
        cairo_save(cr_);
        cairo_set_font_size(cr_, style.size);
        cairo_translate(cr_, at.x, at.y);
        cairo_rotate(cr_, style.rotation_deg * std::numbers::pi / 180.0);
        cairo_text_extents_t ext;
        cairo_text_extents(cr_, t.c_str(), &ext);
        const double shift = style.anchor == text_anchor::start    ? 0.0
                             : style.anchor == text_anchor::middle ? ext.x_advance / 2.0
                                                                   : ext.x_advance;
        cairo_move_to(cr_, -shift, 0.0);
        set_ink(cr_, style.ink);
        cairo_show_text(cr_, t.c_str());
        cairo_restore(cr_);
    }

private:
    void stroke(colour ink, double width) {
        set_ink(cr_, ink);
        cairo_set_line_width(cr_, width);
        cairo_stroke(cr_);
    }
    cairo_t* cr_;
};

using surface_ptr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using context_ptr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Nothing when cairo could do `what`, else the failure saying why not.
maybe_failure check(cairo_status_t status, const char* what) {
    if (status == CAIRO_STATUS_SUCCESS) return std::nullopt;
    return failure{EXIT_FAILURE_IO, std::string("cairo could not ") + what + ": " + cairo_status_to_string(status)};
}

maybe_failure draw_on(cairo_surface_t* surface, const scene& s, sheet_size size) {
    if (auto f = check(cairo_surface_status(surface), "make the surface")) return f;
    context_ptr cr(cairo_create(surface), cairo_destroy);
    set_ink(cr.get(), {255, 255, 255});
    cairo_paint(cr.get());
    cairo_canvas c(cr.get());
    draw_sheet(s, size, c);
    return check(cairo_status(cr.get()), "draw the sheet");
}

}  // namespace

static result<std::string> pdf_bytes(const std::vector<scene>& pages, sheet_size size) {
    std::string bytes;
    surface_ptr surface(cairo_pdf_surface_create_for_stream(append_bytes, &bytes, size.width, size.height),
                        cairo_surface_destroy);
    for (const scene& page : pages) {
        if (auto f = draw_on(surface.get(), page, size)) return *f;
        cairo_surface_show_page(surface.get());
    }
    cairo_surface_finish(surface.get());
    if (auto f = check(cairo_surface_status(surface.get()), "write the PDF")) return *f;
    return bytes;
}

static result<std::string> cairo_bytes(const draw_request& r) {
    std::string bytes;
    if (r.format == sheet_format::png && r.pages.size() == 1) {
        surface_ptr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, r.size.width, r.size.height),
                            cairo_surface_destroy);
        if (auto f = draw_on(surface.get(), r.pages[0], r.size)) return *f;
        if (auto f = check(cairo_surface_write_to_png_stream(surface.get(), append_bytes, &bytes), "write the PNG"))
            return *f;
    } else if (r.format == sheet_format::pdf) {
        return pdf_bytes(r.pages, r.size);
    } else {
        throw std::invalid_argument("cairo draws one PNG sheet or a PDF's pages; the SVG comes from render_svg");
    }
    return bytes;
}

result<std::string> draw_with_cairo(const draw_request& r) {
    check_sheet_size(r.size);
    return cairo_bytes(r);
}
