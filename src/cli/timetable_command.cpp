#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/colour.h"
#include "cli/command_table.h"
#include "cli/commands.h"
#include "compile/codici_errore.h"
#include "diagnostics/nearest_name.h"
#include "diagnostics/text_form.h"
#include "model/testo_1252.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "platform/file_ops.h"
#include "platform/input_files.h"
#include "platform/path_text.h"
#include "running/figures.h"
#include "running/timetable.h"
#include "session/compile_session.h"

namespace {

// Seconds as the table's machine forms give them: to a tenth.
double tenths(double seconds) { return std::floor(seconds * 10 + 0.5) / 10; }

// "m:ss" for the text table; "-" for a figure not known.
std::string minutes(const std::optional<double>& seconds) {
    if (!seconds) return "-";
    const int64_t s = whole_seconds(*seconds);
    return std::to_string(s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60);
}

struct table_row {
    const timed_station& station;
    const timed_section& section;
    bool first;
    std::optional<double> margin_s, margin_percent;
};

std::vector<table_row> rows_of(const timetable_figures& f) {
    std::vector<table_row> rows;
    for (size_t k = 0; k < f.stations.size(); ++k) {
        table_row r{f.stations[k], f.sections[k], k == 0, std::nullopt, std::nullopt};
        if (k > 0 && (r.margin_s = margin_of(r.section)) && *r.section.min_s > 0)
            r.margin_percent = *r.margin_s / *r.section.min_s * 100;
        rows.push_back(r);
    }
    return rows;
}

nlohmann::json train_json(const train_in_use& t) {
    const train_model& p = t.model;
    return {{"source", p.from_profile ? "profile" : "default"},
            {"coaches", t.coaches},
            {"braked_mass_percent", t.braked_mass_percent},
            {"mass_t", t.mass_t},
            {"length_m", t.length_m},
            {"top_speed_kmh", tenths(t.top_speed_kmh)},
            {"braking_cap_kmh", tenths(t.braking_cap_kmh)},
            {"loco_mass_t", p.loco_mass_t},
            {"loco_adhesive_mass_t", p.loco_adhesive_mass_t},
            {"loco_length_m", p.loco_length_m},
            {"starting_effort_kn", p.starting_effort_kn},
            {"power_kw", p.power_kw},
            {"loco_top_speed_kmh", p.top_speed_kmh},
            {"coach_mass_t", p.coach_mass_t},
            {"coach_length_m", p.coach_length_m},
            {"davis_a_n_per_t", p.davis_a_n_per_t},
            {"davis_b_n_per_t_kmh", p.davis_b_n_per_t_kmh},
            {"davis_c_loco_n_per_kmh2", p.davis_c_loco_n_per_kmh2},
            {"davis_c_coach_n_per_kmh2", p.davis_c_coach_n_per_kmh2},
            {"rotating_mass_factor", p.rotating_mass_factor},
            {"service_deceleration_ms2", p.service_deceleration_ms2},
            {"brake_factor", p.brake_factor}};
}

nlohmann::json figure(const std::optional<double>& seconds) {
    return seconds ? nlohmann::json(tenths(*seconds)) : nlohmann::json(nullptr);
}

std::string table_json(const timetable_figures& f) {
    nlohmann::json stations = nlohmann::json::array();
    for (const table_row& r : rows_of(f)) {
        nlohmann::json s = {{"name", utf8_da_1252(r.station.name)},
                            {"position_m", r.station.position_m},
                            {"km", r.station.km ? nlohmann::json(*r.station.km) : nlohmann::json(nullptr)},
                            {"scheduled", clock_hms(r.station.scheduled_s)},
                            {"stop", r.station.stop}};
        if (!r.first) {
            s["section_s"] = r.section.scheduled_s;
            s["earlier"] = r.section.earlier;
            s["bound_s"] = figure(r.section.bound_s);
            s["min_pass_s"] = figure(r.section.min_pass_s);
            s["min_stop_s"] = figure(r.section.min_stop_s);
            s["min_s"] = figure(r.section.min_s);
            s["margin_s"] = figure(r.margin_s);
            s["margin_percent"] = figure(r.margin_percent);
            s["limit"] = r.section.limit;
        }
        stations.push_back(s);
    }
    return nlohmann::json{{"train", train_json(f.train)}, {"stations", stations}}.dump(1);
}

std::string csv_field(const std::string& utf8) {
    if (utf8.find_first_of(",\"\n") == std::string::npos) return utf8;
    std::string q = "\"";
    for (const char c : utf8) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

std::string csv_figure(const std::optional<double>& seconds) { return seconds ? decimal(*seconds, 1) : ""; }

std::string table_csv(const timetable_figures& f) {
    std::string out = "name,position_m,km,scheduled,stop,section_s,bound_s,min_pass_s,min_stop_s,min_s,margin_s,"
                      "margin_percent,limit\r\n";
    for (const table_row& r : rows_of(f)) {
        out += csv_field(utf8_da_1252(r.station.name)) + "," + std::to_string(r.station.position_m) + "," +
               (r.station.km ? std::to_string(*r.station.km) : "") + "," + clock_hms(r.station.scheduled_s) + "," +
               (r.station.stop ? "stop" : "pass") + ",";
        if (!r.first)
            out += std::to_string(r.section.scheduled_s) + "," + csv_figure(r.section.bound_s) + "," +
                   csv_figure(r.section.min_pass_s) + "," + csv_figure(r.section.min_stop_s) + "," +
                   csv_figure(r.section.min_s) + "," + csv_figure(r.margin_s) + "," + csv_figure(r.margin_percent) +
                   "," + csv_field(r.section.limit);
        else
            out += ",,,,,,,";
        out += "\r\n";
    }
    return out;
}

std::string padded(const std::string& text, size_t width, bool right = false) {
    const std::string pad(width > text.size() ? width - text.size() : 0, ' ');
    return right ? pad + text : text + pad;
}

std::string table_text(const timetable_figures& f) {
    size_t name_width = 7;
    for (const timed_station& s : f.stations) name_width = std::max(name_width, s.name.size());
    std::ostringstream out;
    out << "Train: " << utf8_da_1252(train_words(f.train)) << ", " << decimal(f.train.length_m, 0) << " m, "
        << decimal(f.train.mass_t, 0) << " t, top speed " << decimal(f.train.top_speed_kmh, 0) << " km/h\n"
        << "Times in m:ss, each section from the timed station above. bound: at the permitted speeds;\n"
        << "pass, stop: the model from the station above (from a stand where marked *), running through\n"
        << "this one or stopping at it; margin: the section's time less the model's, as the * mark it.\n\n";
    out << padded("station", name_width + 2) << padded("position", 11, true) << padded("km", 10, true) << "  "
        << padded("time", 8, true) << padded("section", 9, true) << padded("bound", 8, true) << padded("pass", 8, true)
        << padded("stop", 8, true) << padded("margin", 14, true) << "  limit\n";
    for (const table_row& r : rows_of(f)) {
        // Padded in its own bytes (one a character), then shown as UTF-8.
        out << utf8_da_1252(padded(r.station.name + (r.station.stop ? " *" : ""), name_width + 2))
            << padded(metres_words(r.station.position_m), 11, true)
            << padded(r.station.km ? decimal(double(*r.station.km) / 1000, 3) : "-", 10, true) << "  "
            << padded(clock_hms(r.station.scheduled_s), 8, true);
        if (!r.first) {
            const std::string margin =
                r.section.earlier ? "earlier"
                : r.margin_s      ? (*r.margin_s < 0 ? "-" : "") + minutes(std::fabs(*r.margin_s)) +
                                   (r.margin_percent ? " " + decimal(*r.margin_percent, 0) + "%" : "")
                                  : "-";
            out << padded(minutes(double(r.section.scheduled_s)), 9, true) << padded(minutes(r.section.bound_s), 8, true)
                << padded(minutes(r.section.min_pass_s), 8, true) << padded(minutes(r.section.min_stop_s), 8, true)
                << padded(margin, 14, true) << "  " << r.section.limit;
        }
        out << '\n';
    }
    return out.str();
}

}  // namespace

result<train_model> load_train_profile(const std::filesystem::path& file) {
    if (file.empty()) return train_model{};
    const result<std::string> text = read_file_bytes(file);
    if (!text) return text.error();
    const result<train_model> p = read_train_profile(*text);
    if (!p) return usage_error(utf8_path(file) + ": " + p.error().message);
    return p;
}

result<chosen_running> running_of(const running_choice& o) {
    const result<train_model> loaded = load_train_profile(o.train_profile);
    if (!loaded) return loaded.error();
    chosen_running c{*loaded, {}};
    c.stops.all = o.stops != "none";
    for (const auto& [names, stop] : {std::pair{&o.stop, true}, std::pair{&o.pass, false}})
        for (const std::string& name : *names) {
            const result<std::string> cp1252 = cp1252_da_utf8(name);
            if (!cp1252) return usage_error("the station name '" + name + "' " + cp1252.error().message);
            c.stops.named[*cp1252] = stop;
        }
    return c;
}

maybe_failure unknown_stations(const stop_choice& stops, const std::vector<timed_station>& stations) {
    std::vector<std::string> names;
    for (const timed_station& s : stations) names.push_back(s.name);
    for (const auto& [name, stop] : stops.named)
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            std::string problem = "no timed station is named '" + utf8_da_1252(name) + "'";
            if (auto near = nearest_name(name, names)) problem += "; did you mean '" + utf8_da_1252(*near) + "'?";
            return usage_error(problem);
        }
    return std::nullopt;
}

void add_running_options(CLI::App* sub, running_choice& o) {
    add_path_option(sub, "--train-profile", o.train_profile,
                    "A JSON file of train model values over the defaults (see docs/train-model.md)");
    sub->add_option("--stops", o.stops, "Stop at every timed station (all) or at none")
        ->check(CLI::IsMember({"all", "none"}))
        ->default_str("all");
    sub->add_option("--stop", o.stop, "Stop at this station (repeatable)")->allow_extra_args(false);
    sub->add_option("--pass", o.pass, "Run through this station (repeatable)")->allow_extra_args(false);
}

int run_timetable(const timetable_options& o, std::ostream& out, std::ostream& err) {
    const auto fail = [&](const failure& f) { return print_failure(err, "timetable", f); };
    const result<chosen_running> running = running_of(o);
    if (!running) return fail(running.error());
    const train_model& profile = running->train;
    const stop_choice* stops = &running->stops;
    session_inputs in;
    in.route = o.route, in.train = o.train;
    in.route_id = o.route_id, in.train_number = o.train_number;
    in.warnings.train = profile;
    const result<session_compile> compiled = compile_in_memory(in);
    if (!compiled) return fail(compiled.error());
    const session_compile& c = *compiled;
    print_diagnostics(err, c.diagnostics, c.sources, use_colour(o.color));
    if (c.esito.rapporto != codice::nessuno) {
        err << testo_errore(std::to_string(numero(c.esito.rapporto))) << '\n';
        return EXIT_RESERVED;
    }
    if (c.m.codice_errore != codice::nessuno || !c.esito.griglia_allocata) return EXIT_ERROR_STATE;

    const timetable_figures f = timetable_of(c.m, profile, *stops);
    // A name to stop or pass at that is no timed station's is a mistake of the command line.
    if (auto unknown = unknown_stations(*stops, f.stations)) return fail(*unknown);
    out << (o.format == "json" ? table_json(f) + "\n" : o.format == "csv" ? table_csv(f) : table_text(f)) << std::flush;
    return EXIT_OK;
}

void add_timetable_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<timetable_options>();
    CLI::App* sub = add_command(app, "timetable",
                                "The timetable beside the running times of a train model: bounds, minimum times, margins",
                                "scenario-compiler timetable Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt --format=json",
                                {{EXIT_OK}, {EXIT_ERROR_STATE}, {EXIT_USAGE}, {EXIT_FAILURE_IO}, {EXIT_RESERVED}});
    if (!sub) return;
    add_text_inputs(sub, o->route, o->train, o->route_id, o->train_number).first->required();
    sub->get_option("TRAIN")->required();
    add_running_options(sub, *o);
    sub->add_option("--format", o->format, "text (a table for the terminal), json or csv")
        ->check(CLI::IsMember({"text", "json", "csv"}))
        ->default_str("text");
    sub->add_option("--color", o->color, "Colour the diagnostics: auto, always, never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->default_str("auto");
    sub->callback([&chosen, o] { chosen = [o] { return run_timetable(*o, std::cout, std::cerr); }; });
}
