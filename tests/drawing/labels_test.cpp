// Every label of a sheet, measured as the renderers draw it: none overlaps
// another, none leaves its panel or the sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "drawing/scene_build.h"
#include "drawing/sheet_layout.h"
#include "session/compile_session.h"
#include "tests/support/carried_texts.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

#ifdef HAVE_CAIRO
#include <cairo.h>
#endif

namespace {

// Keeps each text's box and the clip it was drawn in (the sheet when none).
class label_canvas final : public canvas {
public:
    explicit label_canvas(sheet_size size) : clips_{{0, 0, double(size.width), double(size.height)}} {}
    struct label {
        std::string text;
        sheet_rect box, panel;
    };
    std::vector<label> labels;

    void begin_element(const scene_element&) override {}
    void end_element() override {}
    void push_clip(const sheet_rect& r) override { clips_.push_back(r); }
    void pop_clip() override { clips_.pop_back(); }
    void polyline(const std::vector<scene_point>&, colour, double) override {}
    void fill_rect(const sheet_rect&, colour) override {}
    void frame_rect(const sheet_rect&, colour, double) override {}
    void circle(scene_point, double, colour) override {}
    void text(scene_point at, std::string_view utf8, const sheet_text& style) override {
        labels.push_back({std::string(utf8), text_box(at, utf8, style), clips_.back()});
        EXPECT_TRUE(encloses(clips_.front(), labels.back().box)) << utf8;  // on the sheet
    }

private:
    std::vector<sheet_rect> clips_;
};

// The labels that overlap another or leave their panel, said in words.
std::vector<std::string> faults_of(const scene& s, sheet_size size, size_t& drawn) {
    label_canvas c(size);
    draw_sheet(s, size, c);
    drawn = c.labels.size();
    std::vector<std::string> out;
    auto& ls = c.labels;
    std::sort(ls.begin(), ls.end(), [](const auto& a, const auto& b) { return a.box.x < b.box.x; });
    for (size_t i = 0; i < ls.size(); ++i) {
        if (!encloses(ls[i].panel, ls[i].box)) out.push_back("'" + ls[i].text + "' leaves its panel");
        for (size_t j = i + 1; j < ls.size() && ls[j].box.x < ls[i].box.x + ls[i].box.width; ++j)
            if (overlaps(ls[i].box, ls[j].box)) out.push_back("'" + ls[i].text + "' overlaps '" + ls[j].text + "'");
    }
    return out;
}

// A million metres whose gradient and speed change every few cells, with a
// restriction, boards and stations of long names every 25 km.
struct million_metres {
    std::vector<cella> celle = std::vector<cella>(1000000 / METRI_CELLA + 1);
    std::array<voce, NUMERO_VOCI> voci{};
    tracciato_t t;
    million_metres() {
        for (size_t k = 0; k < celle.size(); ++k) {
            celle[k].pendenza = static_cast<uint8_t>(100 + k / 4 % 7);
            celle[k].v_limite = static_cast<uint8_t>(20 + k / 10 % 3);
            if (k % 7 == 3) celle[k].tipo_oggetto = OGGETTO_SEGNALE;
        }
        voci[VOCE_TRENO_LINEA].fine_zona = 1000000;
        for (int i = 1; i < 40; ++i) {
            voci[i].testo = "STAZIONE NUMERO " + std::to_string(i) + " DI UNA LINEA LUNGA";
            voci[i].progressiva = i * 25000;
            voci[i].inizio_zona = i * 25000 - 200, voci[i].fine_zona = i * 25000 + 200;
        }
        t.dimensiona(1000000);
        for (int32_t m = 0; m <= 1000000; m += 1) {
            t.imposta_reale(m, 0, 2000.0 * std::sin(m / 3000.0));
            t.imposta_reale(m, 1, m);
        }
    }
};

}  // namespace

TEST(SheetLabels, NoneOverlapsOrLeavesItsPanelOnTheCarriedLineAndOnAMillionMetres) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    session_inputs in;
    in.route = files.route, in.train = files.train;
    const auto carried = compile_in_memory(in);
    ASSERT_TRUE(carried);
    // A hand-written scenario, its stations all but one timed, drawn with its fastest run.
    const std::filesystem::path scenario = std::filesystem::path(test_paths::source_root) / "tests/running/scenario";
    in.route = scenario / "Prova_linea.txt", in.train = scenario / "Prova_1-.txt";
    const auto hand_written = compile_in_memory(in);
    ASSERT_TRUE(hand_written);
    static const million_metres long_line;
    scene_source source;
    source.celle = &long_line.celle, source.voci = &long_line.voci, source.tracciato = &long_line.t;

    const struct {
        const char* what;
        std::function<scene(int32_t columns)> scene_at;
        size_t least_labels;
    } scenes[] = {
        {"the carried line", [&](int32_t w) { scene_options o; o.columns = w; return scene_of(carried->m, o); }, 70},
        {"20 km of it", [&](int32_t w) { scene_options o; o.columns = w, o.from_m = 20000, o.to_m = 40000; return scene_of(carried->m, o); }, 30},
        {"a PDF's page of it", [&](int32_t w) { scene_options o; o.columns = w, o.from_m = 100000, o.to_m = 150000; return scene_of(carried->m, o); }, 40},
        {"a hand-written scenario", [&](int32_t w) { scene_options o; o.columns = w; return scene_of(hand_written->m, o); }, 30},
        {"a million metres", [&](int32_t w) { scene_options o; o.columns = w; return build_scene(source, o); }, 40},
    };
    // The viewer's and plot's default, a smaller one, A3 and A4 in points, landscape.
    for (const sheet_size size : {sheet_size{1600, 1100}, sheet_size{1200, 900}, sheet_size{1191, 842}, sheet_size{842, 595}})
        for (const auto& sc : scenes) {
            SCOPED_TRACE(std::string(sc.what) + " on " + std::to_string(size.width) + "x" + std::to_string(size.height));
            size_t drawn = 0;
            const std::vector<std::string> faults = faults_of(sc.scene_at(size.width), size, drawn);
            EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first: " << faults.front();
            EXPECT_GE(drawn, sc.least_labels);
        }
}

// A label too long for its room loses whole characters, one at a time, for an
// ellipsis: an accented letter is one character, and it stays when the ellipsis
// fits after it.
TEST(SheetLabels, FittingCutsWholeCharacters) {
    const struct {
        std::string text;
        std::string room;  // the text whose width is the room given
        std::string expected;
    } cases[] = {
        {"Citt\u00e0x", "Citt\u00e0x", "Citt\u00e0x"},
        {"Citt\u00e0x", "Citt\u2026", "Citt\u2026"},
        {"Citt\u00e0x", "\u2026", ""},
        {"Citt\u00e0xyz", "Citt\u00e0\u2026", "Citt\u00e0\u2026"},
        {"Citt\u00e0xyz", "Citt\u00e0x\u2026", "Citt\u00e0x\u2026"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitted(c.text, 10.0, text_width(c.room, 10.0)), c.expected) << c.text << " in " << c.room;
}

#ifdef HAVE_CAIRO
// The table the labels are placed by is the face cairo draws them with.
TEST(SheetLabels, TheWidthTableMeasuresAsCairoDoes) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
    cairo_t* cr = cairo_create(surface);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 100.0);
    for (const char* text : {"LIDONIA CENTRALE", "PORTO D'ASCOLI", "km 350", "+5\u2030", "(Km 345+557)", "Città è ù"}) {
        cairo_text_extents_t e;
        cairo_text_extents(cr, text, &e);
        EXPECT_NEAR(text_width(text, 100.0), e.x_advance, e.x_advance * 0.01) << text;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
#endif
