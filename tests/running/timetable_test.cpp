// The timetable's figures on the hand-written scenario of tests/running/scenario:
// the bound against an integration of its own, and the model's minimum times
// against what must hold of any train on any line.
#include "running/timetable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "session/compile_session.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

modello hand_written() {
    const fs::path dir = fs::path(test_paths::bad_inputs).parent_path() / "running" / "scenario";
    session_inputs in;
    in.route = dir / "Prova_linea.txt", in.train = dir / "Prova_1-.txt";
    result<session_compile> c = compile_in_memory(in);
    EXPECT_TRUE(c);
    return c ? std::move(c->m) : modello{};
}

// Seconds from a to b at the permitted speeds, piece by piece between the cell
// edges and the restrictions' ends: the lowest of the cell's line speed and the
// restrictions over the piece.
double integrated_bound(const modello& m, int64_t a, int64_t b) {
    std::vector<int64_t> edges = {a, b};
    for (int64_t x = a - a % 50 + 50; x < b; x += 50) edges.push_back(x);
    for (const placed_restriction& r : restrictions_of(m))
        for (const int64_t x : {int64_t{r.start_m}, int64_t{r.start_m} + r.length_m})
            if (x > a && x < b) edges.push_back(x);
    std::sort(edges.begin(), edges.end());
    double seconds = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int64_t from = edges[i], to = edges[i + 1];
        if (from == to) continue;
        double kmh = m.celle[size_t(from / 50)].v_limite * 5;
        for (const placed_restriction& r : restrictions_of(m))
            if (from >= r.start_m && to <= int64_t{r.start_m} + r.length_m) kmh = std::min<double>(kmh, r.speed_kmh);
        seconds += double(to - from) / (kmh / 3.6);
    }
    return seconds;
}

}  // namespace

TEST(Timetable, TheBoundIsTheDistanceOverThePermittedSpeed) {
    const modello m = hand_written();
    const timetable_figures f = timetable_of(m, {}, {}, false);
    ASSERT_EQ(f.stations.size(), 5u);  // PIANO has no time
    for (size_t k = 1; k < f.stations.size(); ++k) {
        ASSERT_TRUE(f.sections[k].bound_s) << k;
        EXPECT_NEAR(*f.sections[k].bound_s, integrated_bound(m, f.stations[k - 1].position_m, f.stations[k].position_m),
                    1e-6)
            << f.stations[k].name;
    }
    // MONTE to VALLE, 5,500 m at 120 km/h.
    EXPECT_NEAR(*f.sections[2].bound_s, 165, 1e-9);
}

TEST(Timetable, TheModelsMinimumsKeepTheirOrderOnGeneratedLines) {
    const modello base = hand_written();
    std::mt19937 random(37);
    for (int trial = 0; trial < 6; ++trial) {
        modello m = base;
        for (cella& c : m.celle) {
            c.pendenza = static_cast<uint8_t>(100 + std::uniform_int_distribution<int>(-12, 12)(random));
            c.v_limite = static_cast<uint8_t>(std::uniform_int_distribution<int>(12, 32)(random));
        }
        train_model train;
        train.coaches = std::uniform_int_distribution<int>(1, 14)(random);
        train.braked_mass_percent = std::uniform_int_distribution<int>(40, 140)(random);
        const auto minimums = [&](const modello& line, const train_model& t) {
            std::vector<double> out;
            const timetable_figures f = timetable_of(line, t, {});
            for (size_t k = 1; k < f.sections.size(); ++k) {
                const timed_section& s = f.sections[k];
                EXPECT_GE(*s.min_pass_s, *s.bound_s - 1e-6) << trial;
                EXPECT_GE(*s.min_stop_s, *s.min_pass_s - 1e-6) << trial;  // stopping never shortens it
                out.push_back(*s.min_stop_s);
                out.push_back(*s.min_pass_s);
            }
            return out;
        };
        const std::vector<double> plain = minimums(m, train);
        const auto never_shorter = [&](const std::vector<double>& other, const char* what) {
            for (size_t i = 0; i < plain.size(); ++i) EXPECT_GE(other[i], plain[i] - 1e-6) << what << " " << trial;
        };
        train_model heavier = train, braked_less = train;
        heavier.coaches = *train.coaches + 3;
        never_shorter(minimums(m, heavier), "more coaches");
        braked_less.braked_mass_percent = *train.braked_mass_percent - 30;
        never_shorter(minimums(m, braked_less), "less braked mass");
        modello steeper = m;
        for (cella& c : steeper.celle) c.pendenza = static_cast<uint8_t>(c.pendenza + 4);
        never_shorter(minimums(steeper, train), "a steeper climb");
    }
}
