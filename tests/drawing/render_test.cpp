#include "drawing/render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "drawing/draw_request.h"
#include "drawing/sheet_layout.h"

#ifdef HAVE_CAIRO
#include <cairo.h>
#endif
#ifndef _WIN32
#include "tests/support/run_program.h"
#endif

namespace {

constexpr sheet_size small_sheet{900, 700};
const std::vector<std::string> station_names{"Alpha", "B&<\"ta"};

scene_element element(scene_kind kind, scene_shape shape, scene_panel panel, std::vector<scene_point> points,
                      std::string text = {}, int32_t line = 0) {
    scene_element e;
    e.kind = kind;
    e.shape = shape;
    e.panel = panel;
    e.from_m = static_cast<int32_t>(points.front().x);
    e.to_m = static_cast<int32_t>(points.back().x);
    e.points = std::move(points);
    e.text = std::move(text);
    if (line) e.file = "route.txt", e.line = line;
    return e;
}

// A curve of 2 km north then east, two stations, a signal, a restriction, the
// profiles, a fault and a km post.
scene sample_scene() {
    scene s;
    s.route_id = "R1";
    s.train_number = "4711";
    s.length_m = 2000;
    s.sources = {"route.txt", "train.txt"};
    s.from_m = 0;
    s.to_m = 2000;
    s.has_plan = true;
    std::vector<scene_point> track;
    for (int i = 0; i <= 20; ++i) {
        const double a = i * 0.0785;  // a quarter turn over 2 km
        track.push_back({1273.0 * (1.0 - std::cos(a)), 1273.0 * std::sin(a)});
    }
    s.plan_min_x = 0.0, s.plan_max_x = 1273.0, s.plan_min_y = 0.0, s.plan_max_y = 1273.0;
    using sh = scene_shape;
    using pn = scene_panel;
    s.elements = {
        element(scene_kind::restriction, sh::band, pn::plan, {track.begin() + 5, track.begin() + 9}),
        element(scene_kind::track, sh::polyline, pn::plan, track),
        element(scene_kind::station, sh::marker, pn::plan, {track[2]}, station_names[0], 3),
        element(scene_kind::station, sh::marker, pn::plan, {track[18]}, station_names[1], 9),
        element(scene_kind::signal, sh::marker, pn::plan, {track[10]}, "S1", 12),
        element(scene_kind::station, sh::marker, pn::objects, {{200, 0}}, station_names[0], 3),
        element(scene_kind::station, sh::marker, pn::objects, {{1800, 0}}, station_names[1], 9),
        element(scene_kind::gradient, sh::polyline, pn::gradient, {{0, 0}, {800, 0}, {800, 12}, {2000, 12}}),
        element(scene_kind::line_speed, sh::polyline, pn::speed, {{0, 100}, {1000, 100}, {1000, 80}, {2000, 80}}),
        element(scene_kind::restriction_speed, sh::polyline, pn::speed, {{500, 60}, {900, 60}}),
        element(scene_kind::fault, sh::marker, pn::objects, {{1500, 0}}, "fault 7", 20),
        element(scene_kind::km_post, sh::marker, pn::kilometres, {{1000, 0}}, "1.0"),
    };
    return s;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(RenderSvg, GroupsEveryElementWithItsPlaceAndLine) {
    const std::string svg = render_svg(sample_scene(), small_sheet);
    EXPECT_EQ(count(svg, "<g data-kind=\"station\""), 4u);
    EXPECT_EQ(count(svg, "<g data-kind=\"signal\""), 1u);
    const size_t signal = svg.find("<g data-kind=\"signal\"");
    ASSERT_NE(signal, std::string::npos);
    const std::string tag = svg.substr(signal, svg.find('\n', signal) - signal);
    EXPECT_TRUE(tag.ends_with(" data-file=\"route.txt\" data-line=\"12\">")) << tag;
    EXPECT_NE(svg.find(">Alpha</text>"), std::string::npos);
    EXPECT_NE(svg.find(">B&amp;&lt;&quot;ta</text>"), std::string::npos);
    EXPECT_EQ(svg.find("B&<"), std::string::npos);
}

#ifndef _WIN32
TEST(RenderSvg, IsWellFormedXml) {
    temp_dir dir;
    scene s = sample_scene();
    s.elements[4].values = {{"name", "a<b&c"}, {"aspect", "\"red\""}};
    std::ofstream(dir.path() / "sheet.svg", std::ios::binary) << render_svg(s, small_sheet);
    const program_result r = run_command({"xmllint", "--noout", "sheet.svg"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
}
#endif

#ifndef _WIN32
// The words a sheet shows: the SVG's own text, or what pdftotext reads from the PDF.
std::string shown_text(const scene& s, sheet_format format) {
    if (format == sheet_format::svg) return render_svg(s, small_sheet);
    temp_dir dir;
    std::ofstream(dir.path() / "sheet.pdf", std::ios::binary) << *render_cairo(s, small_sheet, format);
    const program_result r = run_command({"pdftotext", "sheet.pdf", "-"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

TEST(Render, EveryFormatWithTextShowsTheStationsAndTheMissingPlansNote) {
    scene s = sample_scene();
    s.has_plan = false;
    s.plan_note = "no geometry in the route";
    std::vector<sheet_format> formats{sheet_format::svg};
    if (cairo_available()) formats.push_back(sheet_format::pdf);
    for (sheet_format format : formats) {
        const std::string text = shown_text(s, format);
        EXPECT_NE(text.find("no geometry in the route"), std::string::npos) << static_cast<int>(format);
        EXPECT_NE(text.find("Alpha"), std::string::npos) << static_cast<int>(format);
    }
}
#endif

TEST(RenderSvg, LongLineStaysSmall) {
    scene s = sample_scene();
    s.to_m = 1'000'000;
    std::vector<scene_point> profile;
    for (int i = 0; i < 4000; ++i) profile.push_back({i * 250.0, std::sin(i * 0.01) * 500.0});
    s.elements.push_back(element(scene_kind::height, scene_shape::polyline, scene_panel::height, profile));
    const std::string svg = render_svg(s, sheet_size{});
    EXPECT_LT(svg.size(), 2'000'000u);
    // No number written with more than two decimals.
    auto digit = [&](size_t i) { return i < svg.size() && svg[i] >= '0' && svg[i] <= '9'; };
    for (size_t dot = svg.find('.'); dot != std::string::npos; dot = svg.find('.', dot + 1))
        EXPECT_FALSE(dot > 0 && digit(dot - 1) && digit(dot + 1) && digit(dot + 2) && digit(dot + 3)) << svg.substr(dot - 1, 5);
}

// What the program hands the drawing helper comes back whole, doubles bit for bit;
// cut short, it is refused.
TEST(DrawRequest, RoundTripsEveryFieldAndRefusesTruncatedBytes) {
    draw_request r{sheet_format::pdf, {842, 595}, {sample_scene(), sample_scene()}};
    r.pages[1].page_note = "page 2 of 2";
    r.pages[1].time_origin_s = -86'400'000'000LL;
    r.pages[1].elements[0].values = {{"speed_kmh", "60"}, {"name", "B\xC3\xA4r"}};
    r.pages[1].elements[0].points = {{0.1 + 0.2, -0.0}, {1e-310, 1.7976931348623157e308}};
    const std::string bytes = draw_request_bytes(r);
    const result<draw_request> back = read_draw_request(bytes);
    ASSERT_TRUE(back) << back.error().message;
    EXPECT_EQ(*back, r);
    EXPECT_TRUE(std::signbit(back->pages[1].elements[0].points[0].y));
    EXPECT_FALSE(read_draw_request(std::string_view(bytes).substr(0, bytes.size() - 1)));
    EXPECT_FALSE(read_draw_request(""));
}

TEST(Render, RejectsAnEmptySheet) {
    EXPECT_THROW(render_svg(sample_scene(), {0, 100}), std::invalid_argument);
}

#ifdef HAVE_CAIRO
cairo_status_t read_bytes(void* closure, unsigned char* data, unsigned int length) {
    auto* rest = static_cast<std::string_view*>(closure);
    if (rest->size() < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, rest->data(), length);
    rest->remove_prefix(length);
    return CAIRO_STATUS_SUCCESS;
}

uint32_t big_endian(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

TEST(RenderCairo, PngHasTheSizeAndTheTrackInThePlan) {
    const std::string png = *render_cairo(sample_scene(), small_sheet, sheet_format::png);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(big_endian(png, 16), 900u);
    EXPECT_EQ(big_endian(png, 20), 700u);

    std::string_view rest = png;
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(read_bytes, &rest);
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    const sheet_rect plan = layout_of(small_sheet).plan;
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    int track_pixels = 0;
    for (int y = static_cast<int>(plan.y); y < static_cast<int>(plan.y + plan.height); ++y)
        for (int x = static_cast<int>(plan.x); x < static_cast<int>(plan.x + plan.width); ++x) {
            uint32_t px;
            std::memcpy(&px, data + y * stride + x * 4, 4);
            track_pixels += (px & 0xffffff) == (uint32_t{track_colour.r} << 16 | track_colour.g << 8 | track_colour.b);
        }
    cairo_surface_destroy(image);
    EXPECT_GT(track_pixels, 60);  // a quarter turn in a plan of 170 units, much of it under the restriction
}

TEST(RenderCairo, FilesStartWithTheirSignature) {
    for (auto [format, signature] : {std::pair{sheet_format::png, "\x89PNG\r\n"}, std::pair{sheet_format::pdf, "%PDF-"}})
        EXPECT_TRUE(render_cairo(sample_scene(), small_sheet, format)->starts_with(signature)) << signature;
}

TEST(RenderCairo, PdfHoldsEveryStationsName) {
    const std::string text = shown_text(sample_scene(), sheet_format::pdf);
    for (const std::string& name : station_names) EXPECT_NE(text.find(name), std::string::npos) << name;
}
#else
TEST(RenderCairo, SaysThisBuildHasNone) {
    EXPECT_FALSE(cairo_available());
    EXPECT_FALSE(render_cairo(sample_scene(), small_sheet, sheet_format::png));
}
#endif

}  // namespace
