#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/colour.h"
#include "cli/command_table.h"
#include "cli/commands.h"
#include "decoding/compiled_set.h"
#include "diagnostics/text_form.h"
#include "drawing/render.h"
#include "drawing/scene_build.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "platform/input_files.h"
#include "platform/path_text.h"
#include "session/compile_session.h"

namespace {

// Why there is no drawing at all: a non-zero error state alone is drawn.
const char* const NOTHING_DRAWN = "nothing was compiled, so nothing is drawn";

// "WxH", two positive whole numbers.
std::optional<sheet_size> size_of(const std::string& text) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    sheet_size s;
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(text.data(), text.data() + x, s.width);
    const auto h = std::from_chars(text.data() + x + 1, end, s.height);
    if (w.ptr != text.data() + x || h.ptr != end || w.ec != std::errc{} || h.ec != std::errc{} || s.width <= 0 ||
        s.height <= 0)
        return std::nullopt;
    return s;
}

// Scenes of one compile, a stretch each.
using scene_maker = std::function<scene(const scene_options&)>;

// The scenes of the text files, compiled in memory once; their diagnostics go to err.
result<scene_maker> scenes_of_texts(const plot_options& o, std::ostream& err) {
    session_inputs in;
    in.route = o.route, in.train = o.train;
    in.route_id = o.route_id, in.train_number = o.train_number;
    result<session_compile> c = compile_in_memory(in);
    if (!c) return c.error();
    print_diagnostics(err, c->diagnostics, c->sources, use_colour(o.color));
    if (c->esito.rapporto != codice::nessuno) {
        err << testo_errore(std::to_string(numero(c->esito.rapporto))) << '\n';
        return failure{EXIT_RESERVED, ""};
    }
    if (!c->drawable()) return failure{EXIT_ERROR_STATE, NOTHING_DRAWN};
    auto kept = std::make_shared<session_compile>(std::move(*c));
    return scene_maker([kept](const scene_options& options) { return scene_of(kept->m, options); });
}

result<scene_maker> scenes_of_compiled(const plot_options& o) {
    if (!o.route_id || !o.train_number)
        return usage_error("--compiled needs --route-id and --train-number, which name its files");
    if (auto f = check_given_identifiers(o.route_id, o.train_number)) return *f;
    result<compiled_scenario> c = read_compiled_scenario(o.compiled, *o.route_id, *o.train_number);
    if (!c) return c.error();
    auto kept = std::make_shared<compiled_scenario>(std::move(*c));
    return scene_maker([kept](const scene_options& options) {
        scene_source source;
        source.celle = &kept->celle, source.voci = &kept->voci;
        source.tracciato = kept->tracciato.allocato() ? &kept->tracciato : nullptr;
        source.no_plan_note = kept->no_plan_note;
        source.sources = kept->sources;
        return build_scene(source, options);
    });
}

// A long line's pages: the whole stretch on one up to this length, else pages of the second.
constexpr int32_t ONE_PAGE_UP_TO_M = 100000, PAGE_M = 50000;

// The PDF's pages over [from, to], each a stretch of at most per_page metres.
std::vector<scene> pages_of(const scene_maker& make, int32_t from, int32_t to, std::optional<int32_t> per_page,
                            sheet_size page) {
    const int64_t span = std::max(to - from, 1);
    const int64_t each = per_page ? *per_page : span <= ONE_PAGE_UP_TO_M ? span : PAGE_M;
    const int64_t count = (span + each - 1) / each;
    std::vector<scene> pages;
    for (int64_t i = 0; i < count; ++i) {
        scene_options options;
        options.from_m = static_cast<int32_t>(from + i * each);
        options.to_m = static_cast<int32_t>(std::min<int64_t>(to, from + (i + 1) * each));
        options.columns = page.width;
        pages.push_back(make(options));
        if (count > 1) pages.back().page_note = "page " + std::to_string(i + 1) + " of " + std::to_string(count);
    }
    return pages;
}

maybe_failure plot(const plot_options& o, std::ostream& err) {
    const std::optional<sheet_format> format = sheet_format_of(utf8_path(o.output.filename()));
    if (!format)
        return usage_error(utf8_path(o.output) + ": the drawing's format comes from its extension: .svg, .png or .pdf");
    if (*format != sheet_format::svg && !cairo_available()) return usage_error("this build draws SVG only; use -o FILE.svg");
    const bool pdf = *format == sheet_format::pdf;
    // A PDF is laid out on paper, a picture has a size in pixels.
    if (pdf && o.size) return usage_error("--size is for PNG and SVG; a PDF takes --paper A4|A3|A2|A1");
    if (!pdf && (o.paper || o.km_per_page)) return usage_error("--paper and --km-per-page are for a PDF");
    const std::optional<sheet_size> size = pdf ? paper_size(o.paper.value_or("A3")) : size_of(o.size.value_or("1600x1100"));
    if (!size)
        return usage_error(pdf ? "--paper takes A4, A3, A2 or A1" : "--size takes WxH, two positive whole numbers such as 1600x1100");
    if (o.km_per_page && *o.km_per_page <= 0) return usage_error("--km-per-page takes a whole number of kilometres, 1 or more");
    if (o.from_m && o.to_m && *o.to_m <= *o.from_m) return usage_error("--to must lie after --from");
    if (o.compiled.empty() && (o.route.empty() || o.train.empty()))
        return usage_error("give ROUTE and TRAIN, or --compiled DIR");

    const result<scene_maker> make = o.compiled.empty() ? scenes_of_texts(o, err) : scenes_of_compiled(o);
    if (!make) return make.error();
    scene_options options;
    options.from_m = o.from_m, options.to_m = o.to_m;
    options.columns = size->width;
    const scene drawing = (*make)(options);
    // The line's length is known once it is compiled; a stretch that ends past it stops at its end.
    if (o.from_m && *o.from_m > drawing.length_m)
        return usage_error("--from " + std::to_string(*o.from_m) + " lies beyond the line, which is " +
                           std::to_string(drawing.length_m) + " m long");
    // A sheet too big to draw is found once there is a drawing.
    if (auto f = sheet_size_failure(*size)) return f;
    // More kilometres a page than any line has is one page.
    const auto per_page = o.km_per_page ? std::optional<int32_t>(static_cast<int32_t>(std::min<int64_t>(
                                              int64_t{*o.km_per_page} * 1000, std::numeric_limits<int32_t>::max())))
                                        : std::nullopt;
    const result<std::string> bytes =
        *format == sheet_format::svg ? render_svg(drawing, *size)
        : pdf ? render_pdf_pages(pages_of(*make, drawing.from_m, drawing.to_m, per_page, *size), *size)
              : render_cairo(drawing, *size, *format);
    if (!bytes) return failure{bytes.error().status, utf8_path(o.output) + ": " + bytes.error().message};
    // The drawing's folder is made as compile makes its output folder, once there is something to write.
    if (const std::filesystem::path folder = o.output.parent_path(); !folder.empty())
        if (auto f = check_output_folder(folder)) return f;
    return write_output_file(o.output, *bytes);
}

}  // namespace

int run_plot(const plot_options& o, std::ostream&, std::ostream& err) {
    const maybe_failure f = plot(o, err);
    if (!f) return EXIT_OK;
    // A numbered report has been printed in its own words.
    if (f->message.empty()) return f->status;
    return print_failure(err, "plot", *f);
}

void add_plot_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<plot_options>();
    CLI::App* sub = add_command(
        app, "plot",
        "Draw a scenario: the track seen from above, then the gradient, the height, the speeds, the objects and "
        "the kilometre posts along the line. From the text files it compiles them first, writing no compiled file",
        "scenario-compiler plot Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt -o route.svg --from 20000 --to 40000",
        {{EXIT_OK}, {EXIT_ERROR_STATE, NOTHING_DRAWN}, {EXIT_USAGE}, {EXIT_FAILURE_IO}, {EXIT_RESERVED}});
    if (!sub) return;
    const auto [route, train] = add_text_inputs(sub, o->route, o->train, o->route_id, o->train_number);
    add_path_option(sub, "--compiled", o->compiled,
                    "Draw the compiled files in DIR instead (give --route-id and --train-number)")
        ->excludes(route)
        ->excludes(train);
    add_path_option(sub, "-o,--output", o->output, "The drawing: FILE.svg, FILE.png or FILE.pdf")->required();
    sub->add_option("--from", o->from_m, "Draw from this many metres along the line (default: its start)")
        ->check(whole_number_from_zero());
    sub->add_option("--to", o->to_m, "Draw up to this many metres along the line (default: the route's length)")
        ->check(whole_number_from_zero());
    sub->add_option("--size", o->size, "The PNG's or SVG's sheet in pixels, WxH (default: 1600x1100)");
    sub->add_option("--paper", o->paper, "The PDF's paper, landscape: A4, A3, A2 or A1 (default: A3)");
    sub->add_option("--km-per-page", o->km_per_page,
                    "The PDF's kilometres a page (default: the whole line on one page up to 100 km, else 50)");
    sub->add_option("--color", o->color, "Colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->default_str("auto");
    sub->callback([&chosen, o] { chosen = [o] { return run_plot(*o, std::cout, std::cerr); }; });
}
