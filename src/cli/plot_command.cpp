#include <charconv>
#include <iostream>
#include <memory>

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

// The scene of the text files, compiled in memory; their diagnostics go to err.
result<scene> scene_of_texts(const plot_options& o, const scene_options& options, std::ostream& err) {
    session_inputs in;
    in.route = o.route, in.train = o.train;
    in.route_id = o.route_id, in.train_number = o.train_number;
    const result<session_compile> c = compile_in_memory(in);
    if (!c) return c.error();
    print_diagnostics(err, c->diagnostics, c->sources, use_colour(o.color));
    if (c->esito.rapporto != codice::nessuno) {
        err << testo_errore(std::to_string(numero(c->esito.rapporto))) << '\n';
        return failure{EXIT_RESERVED, ""};
    }
    if (!c->drawable()) return failure{EXIT_ERROR_STATE, NOTHING_DRAWN};
    return scene_of(c->m, options);
}

result<scene> scene_of_compiled(const plot_options& o, const scene_options& options) {
    if (!o.route_id || !o.train_number)
        return usage_error("--compiled needs --route-id and --train-number, which name its files");
    if (auto f = check_given_identifiers(o.route_id, o.train_number)) return *f;
    const result<compiled_scenario> c = read_compiled_scenario(o.compiled, *o.route_id, *o.train_number);
    if (!c) return c.error();
    scene_source source;
    source.celle = &c->celle, source.voci = &c->voci;
    source.tracciato = c->tracciato.allocato() ? &c->tracciato : nullptr;
    source.no_plan_note = c->no_plan_note;
    source.sources = c->sources;
    return build_scene(source, options);
}

maybe_failure plot(const plot_options& o, std::ostream& err) {
    const std::optional<sheet_format> format = sheet_format_of(utf8_path(o.output.filename()));
    if (!format)
        return usage_error(utf8_path(o.output) + ": the drawing's format comes from its extension: .svg, .png or .pdf");
    if (*format != sheet_format::svg && !cairo_available()) return usage_error("this build draws SVG only; use -o FILE.svg");
    const std::optional<sheet_size> size = size_of(o.size);
    if (!size) return usage_error("--size takes WxH, two positive whole numbers such as 1600x1100");
    if (o.from_m && o.to_m && *o.to_m <= *o.from_m) return usage_error("--to must lie after --from");
    if (o.compiled.empty() && (o.route.empty() || o.train.empty()))
        return usage_error("give ROUTE and TRAIN, or --compiled DIR");

    scene_options options;
    options.from_m = o.from_m, options.to_m = o.to_m;
    options.columns = size->width;
    const result<scene> drawing = o.compiled.empty() ? scene_of_texts(o, options, err) : scene_of_compiled(o, options);
    if (!drawing) return drawing.error();
    // The line's length is known once it is compiled; a stretch that ends past it stops at its end.
    if (o.from_m && *o.from_m > drawing->length_m)
        return usage_error("--from " + std::to_string(*o.from_m) + " lies beyond the line, which is " +
                           std::to_string(drawing->length_m) + " m long");
    // A sheet too big to draw is found once there is a drawing.
    if (auto problem = sheet_size_problem(*size)) return failure{EXIT_FAILURE_IO, *problem};
    const result<std::string> bytes = *format == sheet_format::svg ? render_svg(*drawing, *size)
                                                                   : render_cairo(*drawing, *size, *format);
    if (!bytes) return failure{bytes.error().status, utf8_path(o.output) + ": " + bytes.error().message};
    // The drawing's folder is made as compile makes its output folder, once there is something to write.
    if (const std::filesystem::path folder = o.output.parent_path(); !folder.empty())
        if (auto problem = output_problem(folder)) return failure{EXIT_FAILURE_IO, utf8_path(folder) + ": " + *problem};
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
    sub->add_option("--size", o->size, "The sheet in pixels (PDF: points), WxH")->default_str("1600x1100");
    sub->add_option("--color", o->color, "Colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->default_str("auto");
    sub->callback([&chosen, o] { chosen = [o] { return run_plot(*o, std::cout, std::cerr); }; });
}
