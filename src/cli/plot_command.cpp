#include <charconv>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "cli/check_compile.h"
#include "cli/commands.h"
#include "cli/compiled_files.h"
#include "cli/input_files.h"
#include "cli/plot.h"
#include "drawing/render.h"
#include "drawing/scene_build.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

namespace {

const std::string PLOT_PREFIX = "scenario-compiler plot: ";

int fail(std::ostream& err, int status, const std::string& message) {
    err << PLOT_PREFIX << printable(message) << '\n';
    return status;
}

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

// The compiled files of a scenario, as `compile` names them in the folder.
struct compiled_scenario {
    std::array<voce, NUMERO_VOCI> voci{};
    std::vector<cella> celle;
    tracciato_t tracciato;
    std::string no_plan_note;
    std::vector<std::string> sources;
};

int read_compiled(const plot_options& o, compiled_scenario& c, std::ostream& err) {
    if (o.route_id.empty() || o.train_number.empty())
        return fail(err, EXIT_USAGE, "--compiled needs --route-id and --train-number, which name its files");
    modello names;
    std::string problem;
    for (auto [utf8, target] : {std::pair{&o.route_id, &names.nome_linea}, std::pair{&o.train_number, &names.numero_treno}}) {
        const auto cp1252 = cp1252_da_utf8(*utf8, problem);
        if (!cp1252) return fail(err, EXIT_USAGE, "'" + *utf8 + "' cannot name a file: " + problem);
        *target = *cp1252;
    }
    const auto path = [&](const std::string& name) { return percorso_file(o.compiled, name); };
    const std::filesystem::path route = path(nome_file_linea(names)), records = path(nome_file_voci(names)),
                                cells = path(nome_file_celle(names));
    std::string bytes;
    const auto decoded = [&](const std::filesystem::path& file, compiled_kind kind, auto decode, auto& target) -> int {
        if (!read_input_file(file, bytes, err)) return EXIT_FAILURE_IO;
        try {
            target = decode(bytes);
        } catch (const decode_failure& e) {
            return fail(err, EXIT_FAILURE_IO, utf8_path(file) + ": not a valid " +
                                                  std::string(kind_description(kind)) + ": " + e.what());
        }
        c.sources.push_back(utf8_path(file));
        return EXIT_OK;
    };
    if (int s = decoded(records, compiled_kind::scenario, decode_scenario_file, c.voci); s != EXIT_OK) return s;
    if (int s = decoded(cells, compiled_kind::cells, decode_cell_file, c.celle); s != EXIT_OK) return s;
    // Compiled without geometry: no route file, and no plan.
    if (!file_exists(route))
        c.no_plan_note = "no geometry: the route file " + utf8_path(route.filename()) + " is not in " +
                         utf8_path(o.compiled);
    else if (int s = decoded(route, compiled_kind::route, decode_route_file, c.tracciato); s != EXIT_OK)
        return s;
    return EXIT_OK;
}

}  // namespace

bool drawable(const checked_compile& c) {
    return c.esito.rapporto == codice::nessuno && c.esito.griglia_allocata;
}

scene scene_of(const checked_compile& c, std::optional<int32_t> from_m, std::optional<int32_t> to_m, int32_t columns) {
    scene_options options;
    options.from_m = from_m, options.to_m = to_m;
    options.columns = columns;
    return build_scene(scene_source_of(c.m), options);
}

int run_plot(const plot_options& o, std::ostream&, std::ostream& err) {
    const std::optional<sheet_format> format = sheet_format_of(utf8_path(o.output.filename()));
    if (!format)
        return fail(err, EXIT_USAGE, utf8_path(o.output) + ": the drawing's format comes from its extension: .svg, .png or .pdf");
    if (*format != sheet_format::svg && !cairo_available())
        return fail(err, EXIT_USAGE, "this build draws SVG only; use -o FILE.svg");
    const std::optional<sheet_size> size = size_of(o.size);
    if (!size) return fail(err, EXIT_USAGE, "--size takes WxH, two positive whole numbers such as 1600x1100");
    if (o.from_m && o.to_m && *o.to_m <= *o.from_m) return fail(err, EXIT_USAGE, "--to must lie after --from");
    if (o.compiled.empty() && (o.route.empty() || o.train.empty()))
        return fail(err, EXIT_USAGE, "give ROUTE and TRAIN, or --compiled DIR");

    scene drawing;
    if (o.compiled.empty()) {
        check_inputs in;
        in.route = o.route, in.train = o.train;
        in.route_id = o.route_id, in.train_number = o.train_number;
        const auto checked = check_compile(in);
        if (const auto* failure = std::get_if<check_failure>(&checked)) return fail(err, failure->status, failure->message);
        const checked_compile& c = std::get<checked_compile>(checked);
        print_diagnostics(err, c.diagnostics, c.sources, use_colour(o.color));
        if (c.esito.rapporto != codice::nessuno) {
            err << testo_errore(std::to_string(numero(c.esito.rapporto))) << '\n';
            return EXIT_RESERVED;
        }
        if (!drawable(c)) return fail(err, EXIT_ERROR_STATE, "nothing was compiled, so nothing is drawn");
        drawing = scene_of(c, o.from_m, o.to_m, size->width);
    } else {
        compiled_scenario c;
        if (const int status = read_compiled(o, c, err); status != EXIT_OK) return status;
        scene_source source;
        source.celle = &c.celle, source.voci = &c.voci;
        source.tracciato = c.tracciato.allocato() ? &c.tracciato : nullptr;
        source.no_plan_note = c.no_plan_note;
        source.sources = c.sources;
        scene_options options;
        options.from_m = o.from_m, options.to_m = o.to_m;
        options.columns = size->width;
        drawing = build_scene(source, options);
    }
    try {
        const std::string bytes = *format == sheet_format::svg ? render_svg(drawing, *size)
                                                               : render_cairo(drawing, *size, *format);
        write_file(o.output, bytes);
    } catch (const io_failure& e) {
        return fail(err, EXIT_FAILURE_IO, e.what());
    } catch (const std::runtime_error& e) {
        return fail(err, EXIT_FAILURE_IO, utf8_path(o.output) + ": " + e.what());
    }
    return EXIT_OK;
}

void add_plot_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<plot_options>();
    CLI::App* sub = add_command(
        app, "plot",
        "Draw a scenario: the track seen from above, then the gradient, the height, the speeds, the objects and "
        "the kilometre posts along the line. From the text files it compiles them first, writing no compiled file",
        "scenario-compiler plot Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt -o route.svg --from 20000 --to 40000");
    const auto [route, train] = add_text_inputs(sub, o->route, o->train, o->route_id, o->train_number);
    add_path_option(sub, "--compiled", o->compiled,
                    "Draw the compiled files in DIR instead (give --route-id and --train-number)")
        ->excludes(route)
        ->excludes(train);
    add_path_option(sub, "-o,--output", o->output, "The drawing: FILE.svg, FILE.png or FILE.pdf")->required();
    sub->add_option("--from", o->from_m, "Draw from this many metres along the line (default: its start)")
        ->check(CLI::NonNegativeNumber);
    sub->add_option("--to", o->to_m, "Draw up to this many metres along the line (default: the route's length)")
        ->check(CLI::NonNegativeNumber);
    sub->add_option("--size", o->size, "The sheet in pixels (PDF: points), WxH")->default_str("1600x1100");
    sub->add_option("--color", o->color, "Colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->default_str("auto");
    sub->callback([&chosen, o] { chosen = [o] { return run_plot(*o, std::cout, std::cerr); }; });
}
