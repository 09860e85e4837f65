#include "cli/inspect.h"

#include "cli/compiled_files.h"
#include "cli/input_files.h"
#include "cli/inspect_views.h"
#include "platform/exit_status.h"
#include "platform/path_text.h"

namespace {

int usage(std::ostream& err, const std::string& message) {
    err << "scenario-compiler inspect: " << message << '\n';
    return EXIT_USAGE;
}

// Refuses a range that lies wholly outside the file, naming the indices it has.
bool range_fits(const index_range& r, int64_t last, std::string_view what, std::ostream& err) {
    if (r.from <= last) return true;
    err << "scenario-compiler inspect: " << what << " " << r.from << "-" << r.to << " lie outside the file, which has "
        << what << " 0 to " << last << '\n';
    return false;
}

}  // namespace

int run_inspect(const inspect_options& options, std::ostream& out, std::ostream& err) {
    std::optional<compiled_kind> kind =
        options.kind.empty() ? kind_from_name(options.file) : kind_from_word(options.kind);
    if (!kind) {
        if (!options.kind.empty()) return usage(err, "unknown kind '" + options.kind + "' (route, scenario or cells)");
        return usage(err, "cannot tell the kind of " + utf8_path(options.file) +
                              " from its name; give --kind route, scenario or cells");
    }
    std::optional<index_range> cells, points;
    if (!options.cells.empty()) {
        if (*kind != compiled_kind::cells) return usage(err, "--cells applies to a compiled train cell file");
        cells = parse_index_range(options.cells);
        if (!cells) return usage(err, "--cells takes FROM-TO, two cell indices with FROM <= TO");
    }
    if (!options.points.empty()) {
        if (*kind != compiled_kind::route) return usage(err, "--points applies to a compiled route file");
        points = parse_index_range(options.points);
        if (!points) return usage(err, "--points takes FROM-TO, two metres with FROM <= TO");
    }

    std::string bytes;
    if (!read_input_file(options.file, bytes, err)) return EXIT_FAILURE_IO;
    try {
        nlohmann::json j;
        switch (*kind) {
            case compiled_kind::route: {
                const tracciato_t t = decode_route_file(bytes);
                if (points && !range_fits(*points, t.ultimo_metro, "metres", err)) return EXIT_USAGE;
                if (options.json) j = route_json(t, points);
                else print_route(t, points, out << utf8_path(options.file.filename()) << ": ");
                break;
            }
            case compiled_kind::scenario: {
                const auto voci = decode_scenario_file(bytes);
                if (options.json) j = scenario_json(voci);
                else print_scenario(voci, out << utf8_path(options.file.filename()) << ": ");
                break;
            }
            case compiled_kind::cells: {
                const auto celle = decode_cell_file(bytes);
                if (cells && !range_fits(*cells, static_cast<int64_t>(celle.size()) - 1, "cells", err))
                    return EXIT_USAGE;
                if (options.json) j = cells_json(celle, cells);
                else print_cells(celle, cells, out << utf8_path(options.file.filename()) << ": ");
                break;
            }
        }
        if (options.json) {
            j["file"] = utf8_path(options.file.filename());
            j["kind"] = kind_word(*kind);
            out << j.dump(1) << '\n';
        }
    } catch (const decode_failure& e) {
        err << "scenario-compiler inspect: " << utf8_path(options.file) << ": not a valid "
            << kind_description(*kind) << ": " << e.what() << '\n';
        return EXIT_FAILURE_IO;
    }
    return EXIT_OK;
}
