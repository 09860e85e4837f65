// The SVG sheet, written by the program: no library, the same bytes on every
// platform. Numbers keep two decimals at most, so a long line stays small.
#include <array>

#include "drawing/render.h"
#include "drawing/sheet_layout.h"

namespace {

// Text and attribute values; the C0 controls XML 1.0 cannot hold are dropped.
void append_escaped(std::string& out, std::string_view text) {
    for (char ch : text) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t' || ch == '\n' || ch == '\r') out += ch;
        }
    }
}

std::string hex(colour c) {
    constexpr std::string_view digits = "0123456789abcdef";
    std::string out = "#";
    for (uint8_t v : {c.r, c.g, c.b}) out += {digits[v >> 4], digits[v & 15]};
    return out;
}

std::string num(double v) { return decimal_text(v, 2); }

class svg_canvas final : public canvas {
public:
    svg_canvas(sheet_size size, const scene& s) {
        // Where the plan and the distance axis lie, and the stretch the axis spans,
        // for a page that shows parts of the sheet apart.
        const sheet_boxes b = layout_of(size);
        const sheet_rect& axis = b.strips.front();
        out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
               std::to_string(size.width) + "\" height=\"" + std::to_string(size.height) + "\" viewBox=\"0 0 " +
               std::to_string(size.width) + " " + std::to_string(size.height) + "\" data-plan=\"" + num(b.plan.x) + ' ' +
               num(b.plan.y) + ' ' + num(b.plan.width) + ' ' + num(b.plan.height) + "\" data-axis=\"" + num(axis.x) + ' ' +
               num(axis.x + axis.width) + "\" data-stretch=\"" + std::to_string(s.from_m) + ' ' + std::to_string(s.to_m) +
               "\" font-family=\"DejaVu Sans, sans-serif\">\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    }
    std::string finish() { return std::move(out_) + "</svg>\n"; }

    void begin_element(const scene_element& e) override {
        out_ += "<g data-kind=\"";
        append_escaped(out_, kind_name(e.kind));
        out_ += "\" data-from-m=\"" + std::to_string(e.from_m) + "\" data-to-m=\"" + std::to_string(e.to_m) +
                "\" data-values=\"";
        for (size_t i = 0; i < e.values.size(); ++i) {
            if (i) out_ += ';';
            append_escaped(out_, e.values[i].first);
            out_ += '=';
            append_escaped(out_, e.values[i].second);
        }
        out_ += '"';
        if (!e.file.empty()) {
            out_ += " data-file=\"";
            append_escaped(out_, e.file);
            out_ += '"';
        }
        if (e.line > 0) out_ += " data-line=\"" + std::to_string(e.line) + '"';
        out_ += ">\n";
    }
    void end_element() override { out_ += "</g>\n"; }

    void push_clip(const sheet_rect& r) override {
        const std::string id = "clip" + std::to_string(++clips_);
        out_ += "<clipPath id=\"" + id + "\">";
        rect(r);
        out_ += "/></clipPath>\n<g clip-path=\"url(#" + id + ")\">\n";
    }
    void pop_clip() override { out_ += "</g>\n"; }

    void polyline(const std::vector<scene_point>& points, colour ink, double width) override {
        out_ += "<polyline fill=\"none\" stroke=\"" + hex(ink) + "\" stroke-width=\"" + num(width) +
                "\" stroke-linejoin=\"round\" points=\"";
        for (size_t i = 0; i < points.size(); ++i) {
            if (i) out_ += ' ';
            out_ += num(points[i].x) + ',' + num(points[i].y);
        }
        out_ += "\"/>\n";
    }
    void fill_rect(const sheet_rect& r, colour ink) override {
        rect(r);
        out_ += " fill=\"" + hex(ink) + "\"/>\n";
    }
    void frame_rect(const sheet_rect& r, colour ink, double width) override {
        rect(r);
        out_ += " fill=\"none\" stroke=\"" + hex(ink) + "\" stroke-width=\"" + num(width) + "\"/>\n";
    }
    void circle(scene_point c, double radius, colour ink) override {
        out_ += "<circle cx=\"" + num(c.x) + "\" cy=\"" + num(c.y) + "\" r=\"" + num(radius) + "\" fill=\"" + hex(ink) +
                "\"/>\n";
    }
    void text(scene_point at, std::string_view utf8, const sheet_text& style) override {
        static constexpr std::array<const char*, 3> anchors{"start", "middle", "end"};
        const std::string x = num(at.x), y = num(at.y);
        out_ += "<text x=\"" + x + "\" y=\"" + y + "\" font-size=\"" + num(style.size) + "\" fill=\"" + hex(style.ink) + '"';
        if (style.anchor != text_anchor::start)
            out_ += std::string(" text-anchor=\"") + anchors[static_cast<size_t>(style.anchor)] + '"';
        if (style.rotation_deg != 0.0)
            out_ += " transform=\"rotate(" + num(style.rotation_deg) + ' ' + x + ' ' + y + ")\"";
        out_ += '>';
        append_escaped(out_, utf8);
        out_ += "</text>\n";
    }

private:
    void rect(const sheet_rect& r) {
        out_ += "<rect x=\"" + num(r.x) + "\" y=\"" + num(r.y) + "\" width=\"" + num(r.width) + "\" height=\"" +
                num(r.height) + '"';
    }

    std::string out_;
    int clips_ = 0;
};

}  // namespace

std::string render_svg(const scene& s, sheet_size size) {
    check_sheet_size(size);
    svg_canvas c(size, s);
    draw_sheet(s, size, c);
    return c.finish();
}
