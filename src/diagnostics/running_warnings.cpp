#include "diagnostics/running_warnings.h"

#include <algorithm>
#include <optional>
#include <string>

#include "diagnostics/warnings.h"
#include "model/testo_1252.h"
#include "running/figures.h"
#include "running/permitted_speed.h"
#include "running/restriction_braking.h"
#include "running/timetable.h"

namespace {

struct running_builder {
    const modello& m;
    std::vector<diagnostic> out;

    const riga_letta& line(int32_t i) const { return m.registro.righe[size_t(i)]; }
    static luogo_testo field(const riga_letta& r, size_t i) { return i < r.posti.size() ? r.posti[i] : r.luogo; }
    diagnostic& add(warning_kind kind, const luogo_testo& where, const std::string& message_1252) {
        out.push_back(warning_of(kind, where, message_1252));
        return out.back();
    }
    static void note(diagnostic& d, const luogo_testo& where, const std::string& message_1252) {
        d.notes.push_back({where, utf8_da_1252(message_1252)});
    }
    // The last line of a kind, if any.
    const riga_letta* last_of(genere_riga g) const {
        const riga_letta* found = nullptr;
        for (const riga_letta& r : m.registro.righe)
            if (r.genere == g) found = &r;
        return found;
    }
};

std::string at(const timed_station& s) { return s.name + " (" + clock_hms(s.scheduled_s) + ")"; }

void timetable_checks(running_builder& b, const timetable_figures& f) {
    const riga_letta* clock = b.last_of(genere_riga::orologio);
    if (clock != nullptr && !f.stations.empty()) {
        const voce& train = b.m.voci[VOCE_TRENO];
        const int64_t start = (int64_t{train.parametro3} * 60 + train.parametro4) * 60 + train.parametro5;
        const timed_station& first = f.stations.front();
        if (step_forward(start, first.scheduled_s) >= HALF_DAY_S) {
            diagnostic& d = b.add(warning_kind::timetable, b.field(b.line(first.line), STATION_HOURS),
                                  "the first timed station, " + at(first) + ", is before the clock starts (" +
                                      clock_hms(start) + ")");
            b.note(d, clock->luogo, "the clock");
        }
    }
    for (size_t k = 1; k < f.stations.size(); ++k) {
        const timed_station &from = f.stations[k - 1], &to = f.stations[k];
        const timed_section& s = f.sections[k];
        const luogo_testo where = b.field(b.line(to.line), STATION_HOURS);
        const std::string stretch =
            metres_words(int64_t{to.position_m} - from.position_m) + " from " + at(from) + " to " + at(to);
        if (s.earlier) {
            diagnostic& d = b.add(warning_kind::timetable, where,
                                  to.name + "'s time " + clock_hms(to.scheduled_s) + " is earlier than " + at(from) +
                                      ", the timed station before it");
            b.note(d, b.line(from.line).luogo, "the station before");
            continue;
        }
        if (s.bound_s && s.scheduled_s < *s.bound_s) {
            diagnostic& d = b.add(warning_kind::timetable, where,
                                  stretch + " in " + duration_words(double(s.scheduled_s)) +
                                      ": at the permitted speeds it takes at least " + duration_words(*s.bound_s));
            b.note(d, b.line(from.line).luogo, "the station before");
        } else if (s.min_pass_s && s.scheduled_s < *s.min_pass_s) {
            diagnostic& d = b.add(warning_kind::tight_timetable, where,
                                  stretch + " in " + duration_words(double(s.scheduled_s)) + ": " + train_words(f.train) +
                                      " needs at least " + duration_words(*s.min_pass_s) + " from a stand at " +
                                      from.name + ", running through " + to.name + ", limited by the " + s.limit);
            b.note(d, b.line(from.line).luogo, "the station before");
            if (s.limit_line >= 0) b.note(d, b.line(s.limit_line).luogo, "the restriction");
        }
    }
}

// The highest line speed over metres a to b, and where it stands.
int32_t highest_line_speed(const modello& m, int64_t a, int64_t b, int64_t& where) {
    int32_t highest = 0;
    for (int64_t cell = std::max<int64_t>(a, 0) / METRI_CELLA; cell * METRI_CELLA < b; ++cell) {
        if (static_cast<size_t>(cell) >= m.celle.size()) break;
        if (m.celle[size_t(cell)].v_limite * 5 > highest) highest = m.celle[size_t(cell)].v_limite * 5, where = cell * METRI_CELLA;
    }
    return highest;
}

// The speed line in force at a position.
const riga_letta* speed_line_at(const modello& m, int64_t position) {
    const riga_letta* found = nullptr;
    for (const riga_letta& r : m.registro.righe)
        if (r.genere == genere_riga::velocita && !r.valori.empty() && r.valori[0] <= position) found = &r;
    return found;
}

// A length that reads as a speed and a speed that reads as a length.
bool plausibly_swapped(const placed_restriction& r, int32_t line_speed) {
    return r.length_m >= 5 && r.length_m <= 250 && r.length_m % 5 == 0 && r.length_m < line_speed &&
           r.speed_kmh >= 100 && r.speed_kmh % 50 == 0;
}

void restriction_checks(running_builder& b, const train_in_use& train) {
    const riga_letta* braked = b.last_of(genere_riga::frenata);
    for (const placed_restriction& r : restrictions_of(b.m)) {
        const riga_letta& line = b.line(r.line);
        int64_t where = r.start_m;
        const int32_t line_speed = highest_line_speed(b.m, r.start_m, int64_t{r.start_m} + r.length_m, where);
        if (line_speed > 0 && r.speed_kmh >= line_speed) {
            diagnostic& d = b.add(warning_kind::restriction, b.field(line, RESTRICTION_SPEED),
                                  "a restriction of " + std::to_string(r.speed_kmh) + " km/h over " +
                                      metres_words(r.length_m) + " restricts nothing: the line speed there is " +
                                      std::to_string(line_speed) + " km/h at most");
            if (plausibly_swapped(r, line_speed))
                b.note(d, b.field(line, RESTRICTION_LENGTH),
                       "the speed and the length may be swapped: a restriction of " + std::to_string(r.length_m) +
                           " km/h over " + metres_words(r.speed_kmh) + " is written with the speed second");
            else if (const riga_letta* speed = speed_line_at(b.m, where))
                b.note(d, speed->luogo, "the line speed");
        }
        // From the line speed at the warning cell the train must slow to the restriction's speed.
        const std::optional<restriction_braking> braking = braking_for(b.m, r, train);
        if (!braking || braking->from_kmh <= r.speed_kmh) continue;
        const double speed = braking->from_kmh, gradient = braking->gradient_permille;
        const std::optional<double>& needed = braking->needed_m;
        if (needed && *needed <= LINE_BRAKING_DISTANCE_M) continue;
        const std::string percent = decimal(train.braked_mass_percent, 0) + "%";
        diagnostic& d = b.add(
            warning_kind::braking, b.field(line, RESTRICTION_SPEED),
            "from " + decimal(speed, 0) + " km/h at the restriction's warning, " +
                metres_words(int64_t(LINE_BRAKING_DISTANCE_M)) + " before it, a train of braked mass " + percent +
                (needed ? " needs " + metres_words(int64_t(*needed + 0.5)) + " to slow to "
                        : " cannot slow on this gradient to ") +
                std::to_string(r.speed_kmh) + " km/h (mean gradient " + decimal(gradient, 1) + " per mille)");
        if (braked != nullptr) b.note(d, braked->luogo, "the braked-mass percentage");
    }
}

}  // namespace

std::vector<diagnostic> running_warnings(const modello& m, const train_model& train, bool model_runs) {
    running_builder b{m, {}};
    if (!runs_over(m)) return {};
    const timetable_figures f = timetable_of(m, train, stop_choice{}, model_runs);
    timetable_checks(b, f);
    restriction_checks(b, f.train);
    return b.out;
}
