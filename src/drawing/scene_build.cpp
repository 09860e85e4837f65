#include "drawing/scene_build.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include "compile/codici_errore.h"
#include "drawing/scene_parts.h"
#include "drawing/sheet_layout.h"
#include "model/cell_objects.h"
#include "model/orologio.h"
#include "model/testo_1252.h"
#include "placement/lettura_chilometrica.h"

scene_source scene_source_of(const modello& m) {
    scene_source s;
    s.celle = &m.celle;
    s.voci = &m.voci;
    if (m.tracciato.allocato())
        s.tracciato = &m.tracciato;
    else
        s.no_plan_note = "no geometry: the route was compiled without it";
    s.line_of_cell = [&m](int64_t k) -> std::optional<luogo_testo> {
        const luogo_testo place = m.luogo_riga(m.riga_cella(k));
        if (place.line == 0) return std::nullopt;
        return place;
    };
    // The reader fills the station records in the order of the station lines.
    s.line_of_station = [&m](int i) -> std::optional<luogo_testo> {
        int seen = 0;
        for (size_t r = 0; r < m.registro.righe.size(); ++r)
            if (m.registro.righe[r].genere == genere_riga::stazione && ++seen == i) {
                return m.luogo_riga(static_cast<int32_t>(r));
            }
        return std::nullopt;
    };
    // An inserted cut belongs to its restriction's line; a written one to its own.
    s.cut_inserted = [&m](int64_t k) {
        const int32_t r = m.riga_cella(k);
        return r < 0 || static_cast<size_t>(r) >= m.registro.righe.size() ||
               m.registro.righe[static_cast<size_t>(r)].genere != genere_riga::abbattimento;
    };
    s.sources = {m.registro.percorso_linea, m.registro.percorso_treno};
    s.route_text = m.registro.percorso_linea, s.train_text = m.registro.percorso_treno;
    // The runs of the default train, stopping at every timed station, as the
    // timetable command gives them; a partial model runs no train.
    if (runs_over(m)) {
        const timetable_figures f = timetable_of(m, train_model{}, stop_choice{}, true, &s.runs);
        s.run_train = utf8_da_1252(train_words(f.train)) + ", stopping at every timed station";
    }
    if (m.codice_errore != codice::nessuno) {
        scene_source::fault_mark f{numero(m.codice_errore), m.metri_errore, significato_errore(m.codice_errore), {}};
        if (m.origine.line != 0) f.line = m.origine;
        s.fault = f;
    }
    return s;
}

namespace {

// The posts' steps, in metres: the least whose labels stand this far apart.
constexpr std::array<int32_t, 5> KM_POST_STEPS{1000, 2000, 5000, 10000, 20000};
constexpr double KM_POST_COLUMNS = 56.0;
// A step's value is written where the step is at least this many columns long.
constexpr double VALUE_COLUMNS = 34.0;

double gradient_of(const cella& c) { return c.pendenza - 100.0; }
double speed_of(const cella& c) { return c.v_limite * 5.0; }

struct builder {
    const scene_source& source;
    const std::vector<cella>& celle;
    const std::array<voce, NUMERO_VOCI>& voci;
    scene_stretch stretch;
    std::optional<scene_plan> plan;
    scene out;

    // The element came from this line of a text file.
    void at_line(scene_element& e, const luogo_testo& line) const {
        e.file = line.file == file_testo::linea ? source.route_text
                 : line.file == file_testo::treno ? source.train_text
                                                  : std::string();
        e.line = line.line;
    }

    scene_element& add(scene_kind kind, scene_shape shape, scene_panel panel, int64_t from_m, int64_t to_m,
                       std::optional<int64_t> cell = std::nullopt) {
        scene_element e;
        e.kind = kind;
        e.shape = shape;
        e.panel = panel;
        e.from_m = static_cast<int32_t>(from_m);
        e.to_m = static_cast<int32_t>(to_m);
        if (cell && source.line_of_cell)
            if (const auto line = source.line_of_cell(*cell)) at_line(e, *line);
        out.elements.push_back(std::move(e));
        return out.elements.back();
    }
    // A point of the line on the plan and, unless it has no panel there, on the distance axis.
    void point(scene_kind kind, int64_t at, std::optional<int64_t> cell, const std::string& text,
               const std::vector<std::pair<std::string, std::string>>& values, bool on_plan,
               std::optional<scene_panel> panel, scene_shape shape = scene_shape::marker) {
        if (!stretch.holds(at)) return;
        if (on_plan && plan) {
            scene_element& e = add(kind, scene_shape::marker, scene_panel::plan, at, at, cell);
            e.points = {plan->at(at)};
            e.text = text, e.values = values;
        }
        if (panel) {
            scene_element& e = add(kind, shape, *panel, at, at, cell);
            e.points = {{static_cast<double>(at), 0.0}};
            e.text = text, e.values = values;
        }
    }
    // A stretch of the line: on the plan its track, on the panel its ends.
    void band(scene_kind kind, int64_t a, int64_t b, std::optional<int64_t> cell,
              const std::vector<std::pair<std::string, std::string>>& values, bool on_plan, scene_panel panel) {
        if (!stretch.touches(a, b)) return;
        if (on_plan && plan) {
            scene_element& e = add(kind, scene_shape::band, scene_panel::plan, a, b, cell);
            e.points = plan->track(a, b);
            e.values = values;
        }
        scene_element& e = add(kind, scene_shape::band, panel, a, b, cell);
        e.points = {{stretch.clip(a), 0.0}, {stretch.clip(b), 0.0}};
        e.values = values;
    }
    void profile(scene_kind kind, scene_panel panel, std::vector<scene_point> points) {
        if (points.empty()) return;
        scene_element& e = add(kind, scene_shape::polyline, panel, stretch.from, stretch.to);
        e.points = std::move(points);
    }

    // The cells holding an object of the code, in order along the line.
    std::vector<int64_t> cells_with(uint8_t code) const {
        std::vector<int64_t> out;
        for (size_t k = 0; k < celle.size(); ++k)
            if (celle[k].tipo_oggetto == code) out.push_back(static_cast<int64_t>(k));
        return out;
    }
    std::vector<std::pair<std::string, std::string>> object_values(int64_t k) const {
        const cella& c = celle[static_cast<size_t>(k)];
        const object_description d = describe_object(c.tipo_oggetto);
        const int16_t data[] = {c.dato1, c.dato2, c.dato3, c.dato4};
        std::vector<std::pair<std::string, std::string>> values;
        for (size_t i = 0; i < d.fields.size(); ++i)
            if (!d.fields[i].empty()) values.emplace_back(d.fields[i], std::to_string(data[i]));
        return values;
    }
    int64_t at_cell(int64_t k) const { return object_metres(celle[static_cast<size_t>(k)].tipo_oggetto, k); }

    void track() {
        if (!plan) return;
        scene_element& e = add(scene_kind::track, scene_shape::polyline, scene_panel::plan, stretch.from, stretch.to);
        e.points = plan->track(stretch.from, stretch.to);
    }

    // Runs of cells inside a mountain span.
    void mountains() {
        for (size_t k = 0; k < celle.size(); ++k) {
            if (celle[k].tipo_montagna == 0) continue;
            size_t last = k;
            while (last + 1 < celle.size() && celle[last + 1].tipo_montagna != 0) ++last;
            band(scene_kind::mountain, static_cast<int64_t>(k) * METRI_CELLA,
                 static_cast<int64_t>(last + 1) * METRI_CELLA, static_cast<int64_t>(k),
                 {{"type", std::to_string(celle[k].tipo_montagna)}}, true, scene_panel::gradient);
            k = last;
        }
    }

    // Each restriction's start paired with the end that follows it, in order.
    struct restriction_stretch {
        int64_t from, to, start_cell;
        int16_t speed;
    };
    std::vector<restriction_stretch> restriction_stretches() const {
        const std::vector<int64_t> starts = cells_with(OGGETTO_INIZIO_RALLENTAMENTO);
        const std::vector<int64_t> ends = cells_with(OGGETTO_FINE_RALLENTAMENTO);
        std::vector<restriction_stretch> found;
        for (size_t i = 0; i < starts.size(); ++i) {
            const int64_t a = at_cell(starts[i]);
            const int64_t b = i < ends.size() ? at_cell(ends[i]) : std::max<int64_t>(a, out.length_m);
            found.push_back({a, b, starts[i], celle[static_cast<size_t>(starts[i])].dato1});
        }
        return found;
    }
    void restrictions() {
        for (const auto& [a, b, start, speed] : restriction_stretches()) {
            const std::vector<std::pair<std::string, std::string>> values = {{"speed_kmh", std::to_string(speed)}};
            band(scene_kind::restriction, a, b, start, values, true, scene_panel::speed);
            if (!stretch.touches(a, b)) continue;
            scene_element& e = add(scene_kind::restriction_speed, scene_shape::polyline, scene_panel::speed, a, b, start);
            e.points = {{stretch.clip(a), double(speed)}, {stretch.clip(b), double(speed)}};
            e.values = values;
        }
    }

    // Records 1 upward hold the stations; the board texts among them are named by their cells.
    std::vector<int> station_records() const {
        std::set<int> boards;
        for (const int64_t k : cells_with(OGGETTO_CARTELLO_INDICATORE)) boards.insert(celle[static_cast<size_t>(k)].dato1);
        std::vector<int> out;
        for (int i = 1; i < VOCE_PRIMO_CARTELLO && !(voci[i] == voce{}) && !boards.count(i); ++i) out.push_back(i);
        return out;
    }
    void stations() {
        std::map<int, int64_t> marks;
        for (const int64_t k : cells_with(OGGETTO_STAZIONE)) marks.emplace(celle[static_cast<size_t>(k)].dato1, k);
        for (const int i : station_records()) {
            const voce& v = voci[i];
            const std::string name = utf8_da_1252(v.testo);
            std::vector<std::pair<std::string, std::string>> values = {{"name", name}};
            if (v.orario != 0) values.emplace_back("time", clock_text(v.orario));
            values.emplace_back("kind", std::to_string(v.categoria));
            const auto mark = marks.find(i);
            const size_t before = out.elements.size();
            if (v.fine_zona > v.inizio_zona)
                band(scene_kind::station_area, v.inizio_zona, v.fine_zona, std::nullopt, {{"name", name}}, false,
                     scene_panel::objects);
            point(scene_kind::station, v.progressiva, mark == marks.end() ? std::nullopt : std::optional(mark->second),
                  name, values, true, scene_panel::objects, scene_shape::label);
            if (const auto line = source.line_of_station ? source.line_of_station(i) : std::nullopt)
                for (size_t e = before; e < out.elements.size(); ++e)
                    at_line(out.elements[e], *line);
        }
    }

    void signals() {
        for (const int64_t k : cells_with(OGGETTO_SEGNALE))
            point(scene_kind::signal, at_cell(k), k, "", object_values(k), true, scene_panel::objects);
    }
    void speed_boards() {
        for (const int64_t k : cells_with(OGGETTO_INDICATORE_V_MAX))
            point(scene_kind::speed_board, at_cell(k), k, "", object_values(k), false, scene_panel::objects);
    }

    // Posts where the kilometric reading is a whole multiple of the step: the
    // least step of KM_POST_STEPS whose posts stand KM_POST_COLUMNS apart.
    void km_posts(int32_t columns) {
        const double metres_a_column = double(stretch.to - stretch.from) / std::max(columns, 1);
        int32_t every = KM_POST_STEPS.back();
        for (const int32_t step : KM_POST_STEPS)
            if (step >= KM_POST_COLUMNS * metres_a_column) {
                every = step;
                break;
            }
        const std::string step_km = std::to_string(every / 1000);
        int64_t end = INT64_MAX;  // where the reference after this one takes over
        for (const riferimento_chilometrico& r : riferimenti_chilometrici(voci)) {
            const int64_t lo = std::max<int64_t>(r.inizio, stretch.from), hi = std::min<int64_t>(end - 1, stretch.to);
            end = r.inizio;
            if (lo > hi || r.lettura(lo) < 0) continue;
            for (int64_t km = r.lettura(lo) / every * every; km >= std::max<int64_t>(r.lettura(hi), 0); km -= every) {
                const std::string whole = std::to_string(km / 1000);
                point(scene_kind::km_post, r.posizione(km), std::nullopt, "km " + whole,
                      {{"km", whole}, {"step_km", step_km}}, true, scene_panel::kilometres);
            }
        }
    }

    // The speed the train may run at: the line speed, lowered by each restriction over its stretch.
    std::vector<double> permitted_speeds() const {
        std::vector<double> v(celle.size());
        for (size_t k = 0; k < celle.size(); ++k) v[k] = speed_of(celle[k]);
        for (const restriction_stretch& r : restriction_stretches())
            for (int64_t k = std::max<int64_t>(r.from / METRI_CELLA, 0); k < static_cast<int64_t>(v.size()) && k * METRI_CELLA < r.to; ++k)
                v[static_cast<size_t>(k)] = std::min(v[static_cast<size_t>(k)], double(r.speed));
        return v;
    }
    void permitted_speed() {
        const std::vector<double> v = permitted_speeds();
        const auto at = [&v](int64_t k) { return v[static_cast<size_t>(k)]; };
        profile(scene_kind::permitted_speed, scene_panel::speed, cell_steps(celle, stretch, at));
        values_of(scene_kind::speed_value, scene_panel::speed, at, [](double x) { return decimal_text(x, 0); });
    }
    void gradient_values() {
        const auto at = [this](int64_t k) { return gradient_of(celle[static_cast<size_t>(k)]); };
        values_of(scene_kind::gradient_value, scene_panel::gradient, at,
                  [](double x) { return (x > 0 ? "+" : "") + decimal_text(x, 1) + "\u2030"; });
    }
    // A label of each step long enough to hold one, at its middle.
    void values_of(scene_kind kind, scene_panel panel, const std::function<double(int64_t)>& value,
                   std::string (*text)(double)) {
        const double least = VALUE_COLUMNS * 2.0 * stretch.min_dx;
        for (const value_run& r : cell_runs(celle, stretch, value)) {
            if (r.to - r.from < least) continue;
            scene_element& e = add(kind, scene_shape::label, panel, int64_t(r.from), int64_t(r.to));
            e.points = {{(r.from + r.to) / 2.0, r.value}};
            e.text = text(r.value);
        }
    }

    // A restriction's points in the objects lane, and the code cuts, told
    // apart by who placed them.
    void restriction_points() {
        const std::pair<uint8_t, const char*> kinds[] = {{OGGETTO_PREAVVISO_RALLENTAMENTO, "pre-warning"},
                                                         {OGGETTO_AVVISO_RALLENTAMENTO, "warning"},
                                                         {OGGETTO_INIZIO_RALLENTAMENTO, "start"},
                                                         {OGGETTO_FINE_RALLENTAMENTO, "end"}};
        for (const auto& [code, name] : kinds)
            for (const int64_t k : cells_with(code)) {
                auto values = object_values(k);
                values.insert(values.begin(), {"point", name});
                point(scene_kind::restriction_point, at_cell(k), k, "", values, false, scene_panel::objects);
            }
    }
    void code_cuts() {
        for (const uint8_t code : {OGGETTO_ABBATTIMENTO, OGGETTO_ABBATTIMENTO_SENZA_VALORE})
            for (const int64_t k : cells_with(code)) {
                const bool inserted = source.cut_inserted && source.cut_inserted(k);
                point(inserted ? scene_kind::inserted_cut : scene_kind::code_cut, at_cell(k), k, "", object_values(k),
                      false, scene_panel::objects);
            }
    }
    void boards() {
        for (const int64_t k : cells_with(OGGETTO_CARTELLO_INDICATORE)) {
            const int record = celle[static_cast<size_t>(k)].dato1;
            const std::string text =
                record > 0 && record < NUMERO_VOCI ? utf8_da_1252(voci[static_cast<size_t>(record)].testo) : "";
            auto values = object_values(k);
            values.emplace_back("text", text);
            point(scene_kind::board, at_cell(k), k, text, values, false, scene_panel::objects);
        }
    }

    // The graphical timetable: each timed station's time as a point, the points
    // joined in line order, and each section's fastest run leaving at the time
    // of the station before; the same run's speed in the speed lane. A time
    // earlier than the one before goes back in the panel.
    void timetable() {
        scene_element& panel = add(scene_kind::time_distance, scene_shape::band, scene_panel::time, stretch.from, stretch.to);
        panel.points = {{double(stretch.from), 0.0}, {double(stretch.to), 0.0}};
        std::vector<int> timed;  // records, as the engine counts its sections
        std::vector<scene_point> schedule;
        for (const int i : station_records())
            if (voci[i].orario != 0) {
                const voce& v = voci[i];
                const int64_t step = timed.empty() ? 0 : step_forward(voci[timed.back()].orario, v.orario);
                const double t = schedule.empty() ? 0.0 : schedule.back().y + double(step >= HALF_DAY_S ? step - 86400 : step);
                timed.push_back(i);
                schedule.push_back({double(v.progressiva), t});
            }
        if (timed.empty()) return;
        out.time_origin_s = voci[timed.front()].orario;
        panel.values = {{"from", clock_text(out.time_origin_s)}};
        if (!source.run_train.empty()) panel.values.emplace_back("train", source.run_train);
        // The line first, under its points and the runs.
        if (std::vector<scene_point> line = cut_to_stretch(schedule); line.size() > 1)
            profile(scene_kind::scheduled_time, scene_panel::time, std::move(line));
        for (size_t k = 0; k < timed.size(); ++k) {
            const voce& v = voci[timed[k]];
            if (!stretch.holds(v.progressiva)) continue;
            scene_element& e = add(scene_kind::scheduled_time, scene_shape::marker, scene_panel::time, v.progressiva,
                                   v.progressiva);
            e.points = {schedule[k]};
            e.text = clock_label(v.orario);
            e.values = {{"name", utf8_da_1252(v.testo)}, {"time", clock_text(v.orario)}};
            if (const auto line = source.line_of_station ? source.line_of_station(timed[k]) : std::nullopt)
                at_line(e, *line);
        }
        for (const section_run& r : source.runs) {
            if (r.section == 0 || r.section >= timed.size() || r.speed_ms.size() < 2) continue;
            const int64_t a = r.from_m, b = a + int64_t(r.speed_ms.size()) - 1;
            if (!stretch.touches(a, b)) continue;
            const std::vector<std::pair<std::string, std::string>> values = {
                {"from", utf8_da_1252(voci[timed[r.section - 1]].testo)},
                {"to", utf8_da_1252(voci[timed[r.section]].testo)},
                {"min_s", decimal_text(r.seconds.back(), 1)}};
            const double leaves = schedule[r.section - 1].y;
            for (const bool times : {false, true}) {
                std::vector<scene_point> curve = reduced(r, times ? leaves : 0.0, times);
                if (curve.size() < 2) continue;
                scene_element& e = add(scene_kind::fastest_run, scene_shape::polyline,
                                       times ? scene_panel::time : scene_panel::speed, a, b);
                e.points = std::move(curve);
                e.values = values;
            }
        }
    }
    // Points along the line cut to the stretch, a point put at each end it cuts.
    std::vector<scene_point> cut_to_stretch(const std::vector<scene_point>& p) const {
        std::vector<scene_point> out;
        const auto at = [&](size_t i, double x) {
            const scene_point &u = p[i - 1], &w = p[i];
            return scene_point{x, w.x == u.x ? w.y : u.y + (w.y - u.y) * (x - u.x) / (w.x - u.x)};
        };
        for (size_t i = 0; i < p.size(); ++i) {
            const bool in = p[i].x >= stretch.from && p[i].x <= stretch.to;
            if (i > 0 && p[i - 1].x < stretch.from && p[i].x > stretch.from) out.push_back(at(i, stretch.from));
            if (in) out.push_back(p[i]);
            if (i > 0 && p[i - 1].x < stretch.to && p[i].x > stretch.to) out.push_back(at(i, stretch.to));
        }
        return out;
    }
    // A run over the stretch, as km/h or as seconds after `leaves`, kept to the
    // least and the greatest of each half column so that no stop is lost.
    std::vector<scene_point> reduced(const section_run& r, double leaves, bool times) const {
        std::vector<scene_point> out;
        const int64_t first = std::max<int64_t>(r.from_m, stretch.from);
        const int64_t last = std::min<int64_t>(r.from_m + int64_t(r.speed_ms.size()) - 1, stretch.to);
        const auto point = [&](int64_t m) {
            const size_t i = size_t(m - r.from_m);
            return scene_point{double(m), times ? leaves + r.seconds[i] : r.speed_ms[i] * 3.6};
        };
        const double width = std::max(stretch.min_dx, 1.0);
        for (int64_t m = first; m <= last;) {
            const int64_t end = std::min<int64_t>(last, m + std::max<int64_t>(int64_t(width), 1) - 1);
            scene_point low = point(m), high = low;
            for (int64_t j = m + 1; j <= end; ++j) {
                const scene_point q = point(j);
                if (q.y < low.y) low = q;
                if (q.y > high.y) high = q;
            }
            if (m == first) out.push_back(point(m));
            for (const scene_point& q : low.x <= high.x ? std::array{low, high} : std::array{high, low})
                if (!(q == out.back())) out.push_back(q);
            m = end + 1;
        }
        if (!(point(last) == out.back())) out.push_back(point(last));
        return out;
    }

    void signal_repetition() {
        const voce& treno = voci[VOCE_TRENO];
        if (treno.fine_zona == 0) return;
        band(scene_kind::signal_repetition, treno.inizio_zona, treno.fine_zona, std::nullopt,
             {{"codes", std::to_string(treno.progressiva)}}, false, scene_panel::objects);
    }

    void fault(bool whole_line) {
        if (!source.fault) return;
        const scene_source::fault_mark& f = *source.fault;
        if (!whole_line && !stretch.holds(f.metres)) return;
        scene_element& e = add(scene_kind::fault, scene_shape::marker, scene_panel::objects, f.metres, f.metres);
        // The whole line shows its fault wherever it was found.
        e.points = {{stretch.clip(f.metres), 0.0}};
        e.text = "error " + std::to_string(f.code) + ": " + f.message;
        e.values = {{"code", std::to_string(f.code)}, {"message", f.message}};
        if (f.line) at_line(e, *f.line);
    }
};

}  // namespace

scene build_scene(const scene_source& source, const scene_options& options) {
    static const std::vector<cella> no_cells;
    static const std::array<voce, NUMERO_VOCI> no_records{};
    builder b{source, source.celle ? *source.celle : no_cells, source.voci ? *source.voci : no_records, {}, {}, {}};
    scene& s = b.out;
    s.route_id = utf8_da_1252(b.voci[VOCE_LINEA].testo);
    s.train_number = utf8_da_1252(b.voci[VOCE_TRENO].testo);
    s.length_m = b.voci[VOCE_TRENO_LINEA].fine_zona;
    s.sources = source.sources;
    // The whole line is the route's length as written; the cells and the
    // geometry run on past it, but nothing of the route stands there.
    s.from_m = std::max(options.from_m.value_or(0), 0);
    s.to_m = std::max(options.to_m.value_or(s.length_m), s.from_m + 1);
    const int32_t columns = std::max(options.columns, 1);
    b.stretch = {s.from_m, s.to_m, (s.to_m - s.from_m) / 2.0 / columns};

    if (source.tracciato && source.tracciato->allocato()) {
        b.plan.emplace(*source.tracciato, b.stretch, columns);
        if (b.plan->empty()) b.plan.reset();
    }
    s.has_plan = b.plan.has_value();
    if (b.plan) {
        s.plan_min_x = b.plan->min_x, s.plan_max_x = b.plan->max_x;
        s.plan_min_y = b.plan->min_y, s.plan_max_y = b.plan->max_y;
    } else {
        s.plan_note = source.no_plan_note.empty() ? "no geometry" : source.no_plan_note;
    }

    b.track();
    b.mountains();
    b.restrictions();
    b.profile(scene_kind::gradient, scene_panel::gradient, cell_steps(b.celle, b.stretch, gradient_of));
    b.profile(scene_kind::height, scene_panel::height, cell_heights(b.celle, b.stretch, gradient_of));
    b.profile(scene_kind::line_speed, scene_panel::speed, cell_steps(b.celle, b.stretch, speed_of));
    b.permitted_speed();
    b.gradient_values();
    b.signal_repetition();
    b.km_posts(columns);
    b.signals();
    b.speed_boards();
    b.boards();
    b.code_cuts();
    b.restriction_points();
    b.stations();
    b.timetable();
    b.fault(!options.from_m && !options.to_m);
    return s;
}

scene scene_of(const modello& m, const scene_options& options) { return build_scene(scene_source_of(m), options); }
