#include "running/timetable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "placement/lettura_chilometrica.h"
#include "running/fastest_run.h"
#include "running/figures.h"

namespace {

run_train run_train_of(const train_in_use& t) {
    const train_model& p = t.model;
    run_train r;
    r.mass_kg = t.mass_t * 1000;
    r.effective_mass_kg = r.mass_kg * p.rotating_mass_factor;
    r.adhesive_mass_kg = p.loco_adhesive_mass_t * 1000;
    r.starting_effort_n = p.starting_effort_kn * 1000;
    r.power_w = p.power_kw * 1000;
    r.davis_a_n = p.davis_a_n_per_t * t.mass_t;
    r.davis_b_n_per_kmh = p.davis_b_n_per_t_kmh * t.mass_t;
    r.davis_c_n_per_kmh2 = p.davis_c_loco_n_per_kmh2 + p.davis_c_coach_n_per_kmh2 * t.coaches;
    r.deceleration_ms2 = p.service_deceleration_ms2;
    return r;
}

// The track under the run: the train's limits capped by its top speed, and the
// cells' gradients and adhesion. An adhesion of 0 is a line without an adhesion
// line before it, taken as dry rail.
run_track track_of(const modello& m, std::vector<uint16_t> limits, double top_speed_kmh) {
    run_track t;
    t.limit_kmh = std::move(limits);
    t.top_speed_kmh = top_speed_kmh;
    for (const cella& c : m.celle) {
        t.gradient.push_back(static_cast<double>(c.pendenza) - 100);
        t.adhesion.push_back(c.aderenza == 0 ? 100.0 : static_cast<double>(c.aderenza));
    }
    return t;
}

bool has_zero(const std::vector<uint16_t>& kmh, int32_t a, int32_t b) {
    for (int32_t i = a; i < b; ++i)
        if (kmh[size_t(i)] <= 0) return true;
    return false;
}

// The stretch of equal limit the run spends longest in, between metres a and b;
// returns the seconds from a to b.
double limiting_stretch(const std::vector<uint16_t>& kmh, const permitted_speeds& limits, double top_speed_kmh,
                        const std::vector<double>& speeds, int32_t from, int32_t a, int32_t b, timed_section& s) {
    double best = -1, total = 0;
    for (int32_t start = a; start < b;) {
        const size_t i = size_t(start);
        const bool top = kmh[i] > top_speed_kmh;
        int32_t end = start + 1;
        while (end < b && limits.source[size_t(end)] == limits.source[i] &&
               (top ? kmh[size_t(end)] > top_speed_kmh : kmh[size_t(end)] == kmh[i]))
            ++end;
        const double seconds = run_seconds(speeds, from, start, end);
        total += seconds;
        if (seconds > best) {
            best = seconds;
            if (top) {
                s.limit = "the train's top speed " + decimal(top_speed_kmh, 0) + " km/h, " +
                          thousands(start) + " to " + metres_words(end);
                s.limit_line = -1;
            } else if (limits.source[i] >= 0) {
                const placed_restriction& r = limits.restrictions[size_t(limits.source[i])];
                s.limit = "restriction " + std::to_string(r.speed_kmh) + " km/h, " +
                          thousands(r.start_m) + " to " +
                          metres_words(int64_t{r.start_m} + r.length_m);
                s.limit_line = r.line;
            } else {
                s.limit = "line speed " + std::to_string(kmh[i]) + " km/h, " +
                          thousands(start) + " to " + metres_words(end);
                s.limit_line = -1;
            }
        }
        start = end;
    }
    return total;
}

}  // namespace

bool runs_over(const modello& m) { return m.codice_errore == codice::nessuno && !m.rapporto && m.griglia_allocata(); }

std::vector<timed_station> timed_stations(const modello& m) {
    std::vector<timed_station> out;
    int32_t number = 0;
    for (size_t i = 0; i < m.registro.righe.size(); ++i) {
        if (m.registro.righe[i].genere != genere_riga::stazione) continue;
        if (++number >= VOCE_PRIMO_CARTELLO) break;
        const voce& v = m.voci[size_t(number)];
        if (v.orario == 0) continue;
        timed_station s;
        s.number = number, s.line = static_cast<int32_t>(i), s.name = v.testo;
        s.position_m = v.progressiva, s.scheduled_s = v.orario;
        s.km = lettura_chilometrica(m.voci, v.progressiva);
        out.push_back(std::move(s));
    }
    return out;
}

int64_t step_forward(int64_t from_s, int64_t to_s) { return (((to_s - from_s) % 86400) + 86400) % 86400; }

timetable_figures timetable_of(const modello& m, const train_model& profile, const stop_choice& choice,
                               bool model_runs, std::vector<section_run>* runs) {
    timetable_figures f;
    f.train = train_for(m, profile);
    f.stations = timed_stations(m);
    f.sections.resize(f.stations.size());
    for (timed_station& s : f.stations) {
        const auto named = choice.named.find(s.name);
        s.stop = named != choice.named.end() ? named->second : choice.all;
    }
    if (f.stations.size() < 2) return f;
    int32_t first = f.stations.front().position_m, last = first;
    for (const timed_station& s : f.stations) first = std::min(first, s.position_m), last = std::max(last, s.position_m);
    if (first < 0) return f;  // a line does not run before its origin

    permitted_speeds head = head_limits(m, last + 1);
    for (size_t k = 1; k < f.stations.size(); ++k) {
        timed_section& s = f.sections[k];
        s.scheduled_s = step_forward(f.stations[k - 1].scheduled_s, f.stations[k].scheduled_s);
        s.earlier = s.scheduled_s >= HALF_DAY_S;
        const int32_t a = f.stations[k - 1].position_m, b = f.stations[k].position_m;
        if (b < a || has_zero(head.kmh, a, b)) continue;
        // Metres at one speed at a time.
        double seconds = 0;
        for (int32_t i = a, j; i < b; i = j) {
            for (j = i + 1; j < b && head.kmh[size_t(j)] == head.kmh[size_t(i)];) ++j;
            seconds += (j - i) * 3.6 / head.kmh[size_t(i)];
        }
        s.bound_s = seconds;
    }
    if (!model_runs) return f;

    // The head's limits become the train's, and their speeds the track's.
    permitted_speeds limits = train_limits(std::move(head), f.train.length_m);
    const run_track track = track_of(m, std::move(limits.kmh), f.train.top_speed_kmh);
    const run_train train = run_train_of(f.train);
    // Section by section, each from its start as the chosen stops have it:
    // standing, or at the speed the run before passed it at.
    double entry_ms = 0;
    std::vector<double> passing, stopping;
    for (size_t k = 1; k < f.stations.size(); ++k) {
        timed_section& s = f.sections[k];
        const timed_station &from = f.stations[k - 1], &to = f.stations[k];
        const int32_t a = from.position_m, b = to.position_m;
        if (k == 1 || from.stop) entry_ms = 0;
        if (!s.bound_s || has_zero(track.limit_kmh, a, b)) {
            entry_ms = 0;
            continue;
        }
        const std::vector<int32_t> start = entry_ms == 0 ? std::vector<int32_t>{a} : std::vector<int32_t>{};
        fastest_speeds(track, train, a, b, start, entry_ms, passing);
        // Stopping changes the run only within the braking distance from the top
        // speed before the stop: before that the two runs are one, metre for metre.
        const double top_ms = f.train.top_speed_kmh / 3.6;
        const int32_t braking = static_cast<int32_t>(std::ceil(top_ms * top_ms / (2 * train.deceleration_ms2))) + 2;
        const int32_t tail = std::max(a, b - braking);
        fastest_speeds(track, train, tail, b, {b}, passing[size_t(tail - a)], stopping);
        s.min_pass_s = limiting_stretch(track.limit_kmh, limits, f.train.top_speed_kmh, passing, a, a, b, s);
        s.min_stop_s = *s.min_pass_s - run_seconds(passing, a, tail, b) + run_seconds(stopping, tail, tail, b);
        s.min_s = to.stop ? s.min_stop_s : s.min_pass_s;
        entry_ms = passing.back();
        if (runs) {
            section_run& r = runs->emplace_back(section_run{k, a, {}, {}});
            r.speed_ms.assign(passing.begin(), passing.begin() + (tail - a));
            const std::vector<double>& rest = to.stop ? stopping : passing;
            r.speed_ms.insert(r.speed_ms.end(), rest.end() - (b - tail + 1), rest.end());
            r.seconds.resize(r.speed_ms.size());
            for (size_t i = 1; i < r.seconds.size(); ++i)
                r.seconds[i] = r.seconds[i - 1] + 2 / (r.speed_ms[i - 1] + r.speed_ms[i]);
        }
    }
    return f;
}

std::optional<double> margin_of(const timed_section& s) {
    if (!s.min_s || s.earlier) return std::nullopt;
    return static_cast<double>(s.scheduled_s) - *s.min_s;
}
