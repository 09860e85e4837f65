#include <iostream>
#include <memory>

#include <nlohmann/json.hpp>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "decoding/compiled_files.h"
#include "decoding/inspect_views.h"
#include "platform/exit_status.h"
#include "platform/input_files.h"
#include "platform/path_text.h"

namespace {

// Refuses a range that lies wholly outside the file, naming the indices it has.
maybe_failure range_fits(const index_range& r, int64_t last, std::string_view what) {
    if (r.from <= last) return std::nullopt;
    return usage_error(std::string(what) + " " + std::to_string(r.from) + "-" + std::to_string(r.to) +
                 " lie outside the file, which has " + std::string(what) + " 0 to " + std::to_string(last));
}

// The view of the file's contents: JSON into j, or text onto out.
maybe_failure view(const inspect_options& o, compiled_kind kind, const std::string& bytes,
                   const std::optional<index_range>& cells, const std::optional<index_range>& points,
                   nlohmann::json& j, std::ostream& out) {
    const std::string name = utf8_path(o.file.filename());
    switch (kind) {
        case compiled_kind::route: {
            const result<tracciato_t> t = decode_route_file(bytes);
            if (!t) return invalid_file(o.file, kind, t.error());
            if (points)
                if (auto f = range_fits(*points, t->ultimo_metro, "metres")) return f;
            if (o.json) j = route_json(*t, points);
            else print_route(*t, points, out << name << ": ");
            break;
        }
        case compiled_kind::scenario: {
            const auto voci = decode_scenario_file(bytes);
            if (!voci) return invalid_file(o.file, kind, voci.error());
            if (o.json) j = scenario_json(*voci);
            else print_scenario(*voci, out << name << ": ");
            break;
        }
        case compiled_kind::cells: {
            const auto celle = decode_cell_file(bytes);
            if (!celle) return invalid_file(o.file, kind, celle.error());
            if (cells)
                if (auto f = range_fits(*cells, static_cast<int64_t>(celle->size()) - 1, "cells")) return f;
            if (o.json) j = cells_json(*celle, cells);
            else print_cells(*celle, cells, out << name << ": ");
            break;
        }
    }
    return std::nullopt;
}

// The kind given, or else the one the file's name tells.
std::optional<compiled_kind> kind_of(const inspect_options& o) {
    return o.kind.empty() ? kind_from_name(o.file) : kind_from_word(o.kind);
}

maybe_failure inspect(const inspect_options& o, std::ostream& out) {
    const std::optional<compiled_kind> kind = kind_of(o);
    if (!kind) {
        if (!o.kind.empty()) return usage_error("unknown kind '" + o.kind + "' (route, scenario or cells)");
        return usage_error("cannot tell the kind of " + utf8_path(o.file) +
                     " from its name; give --kind route, scenario or cells");
    }
    std::optional<index_range> cells, points;
    if (!o.cells.empty()) {
        if (*kind != compiled_kind::cells) return usage_error("--cells applies to a compiled train cell file");
        cells = parse_index_range(o.cells);
        if (!cells) return usage_error("--cells takes FROM-TO, two cell indices with FROM <= TO");
    }
    if (!o.points.empty()) {
        if (*kind != compiled_kind::route) return usage_error("--points applies to a compiled route file");
        points = parse_index_range(o.points);
        if (!points) return usage_error("--points takes FROM-TO, two metres with FROM <= TO");
    }
    const result<std::string> bytes = read_input_file(o.file);
    if (!bytes) return bytes.error();
    nlohmann::json j;
    if (auto f = view(o, *kind, *bytes, cells, points, j, out)) return f;
    if (o.json) {
        j["file"] = utf8_path(o.file.filename());
        j["kind"] = kind_word(*kind);
        out << j.dump(1) << '\n';
    }
    return std::nullopt;
}

}  // namespace

std::string inspect_failure_document(const std::optional<std::string>& file, const std::optional<std::string>& kind,
                                     const std::string& message) {
    const auto or_null = [](const std::optional<std::string>& s) { return s ? nlohmann::json(*s) : nlohmann::json(); };
    const nlohmann::json j = {{"file", or_null(file)}, {"kind", or_null(kind)}, {"error", {{"message", message}}}};
    return j.dump(1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int run_inspect(const inspect_options& options, std::ostream& out, std::ostream& err) {
    const maybe_failure f = inspect(options, out);
    if (!f) return EXIT_OK;
    if (options.json) {
        const std::optional<compiled_kind> kind = kind_of(options);
        out << inspect_failure_document(utf8_path(options.file.filename()),
                                        kind ? std::optional<std::string>(kind_word(*kind)) : std::nullopt,
                                        failure_line("inspect", f->message))
            << '\n';
    }
    return print_failure(err, "inspect", *f);
}

void add_inspect_command(CLI::App& app, command_action& chosen) {
    auto options = std::make_shared<inspect_options>();
    CLI::App* sub = add_command(app, "inspect",
                                "Decode a compiled file (route .dat, scenario .sim or cell .dat) into readable text",
                                "scenario-compiler inspect Lidonia_Sabrio_914.dat --cells 32-34",
                                {{EXIT_OK}, {EXIT_USAGE}, {EXIT_FAILURE_IO}});
    if (!sub) return;
    add_path_option(sub, "FILE", options->file, "The compiled file")->required();
    sub->add_option("--kind", options->kind, "route, scenario or cells (default: from the file's name)")
        ->check(CLI::IsMember({"route", "scenario", "cells"}));
    sub->add_flag("--json", options->json, "Print one JSON object instead of text");
    sub->add_option("--cells", options->cells, "Cell indices FROM-TO to list in full (cell files)");
    sub->add_option("--points", options->points, "Metres FROM-TO whose raw points to list (route files)");
    sub->callback([&chosen, options] { chosen = [options] { return run_inspect(*options, std::cout, std::cerr); }; });
}
