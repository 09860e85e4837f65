// The scene of a route: what it holds, wherever it is built from.
#include "drawing/scene_build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <sstream>

#include "session/compile_session.h"
#include "cli/commands.h"
#include "decoding/compiled_files.h"
#include "model/codice.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/file_ops.h"
#include "running/timetable.h"
#include "tests/support/scenario_treno.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

namespace {

session_compile compiled(const std::filesystem::path& route, const std::filesystem::path& train, bool no_geometry = false) {
    session_inputs in;
    in.route = route, in.train = train, in.no_geometry = no_geometry;
    auto c = compile_in_memory(in);
    EXPECT_TRUE(c);
    return std::move(*c);
}

std::vector<const scene_element*> of_kind(const scene& s, scene_kind kind, scene_panel panel) {
    std::vector<const scene_element*> out;
    for (const scene_element& e : s.elements)
        if (e.kind == kind && e.panel == panel) out.push_back(&e);
    return out;
}

// What a scene shows, without where it was read from.
scene shown(scene s) {
    s.sources.clear();
    for (scene_element& e : s.elements) e.file.clear(), e.line = 0;
    return s;
}

}  // namespace

TEST(SceneBuild, TheCarriedScenarioShowsTheSameFromItsTextsAndFromItsCompiledFiles) {
    temp_dir dir;
    std::ostringstream out, err;
    ASSERT_EQ(run_export({dir.path()}, out, err), 0) << err.str();
    compile_options o;
    o.route = dir.path() / "Lidonia_Sabrio_linea.txt", o.train = dir.path() / "Lidonia_Sabrio_914-.txt";
    o.output = dir.path();
    ASSERT_EQ(run_compile(o, out, err), 0) << err.str();
    const session_compile c = compiled(o.route, o.train);
    const scene texts = build_scene(scene_source_of(c.m), {});

    const tracciato_t route = *decode_route_file(read_file(percorso_file(dir.path(), nome_file_linea(c.m))));
    const auto voci = *decode_scenario_file(read_file(percorso_file(dir.path(), nome_file_voci(c.m))));
    const auto celle = *decode_cell_file(read_file(percorso_file(dir.path(), nome_file_celle(c.m))));
    scene_source files;
    files.celle = &celle, files.voci = &voci, files.tracciato = &route;
    const scene_source of_texts = scene_source_of(c.m);
    files.cut_inserted = of_texts.cut_inserted;  // only the texts tell who placed a cut
    files.runs = of_texts.runs, files.run_train = of_texts.run_train;  // and run a train
    EXPECT_EQ(shown(texts), shown(build_scene(files, {})));

    EXPECT_TRUE(texts.has_plan);
    EXPECT_EQ(texts.to_m, 243000);
    std::vector<std::string> names, expected;
    for (const scene_element* e : of_kind(texts, scene_kind::station, scene_panel::plan)) names.push_back(e->text);
    for (const stazione_treno& s : stazioni_treno()) expected.push_back(utf8_da_1252(s.nome));
    EXPECT_EQ(names.size(), 35u);
    EXPECT_EQ(names, expected);
    // Every object has its element in the objects lane, labelled or not: one a line.
    const struct {
        genere_riga line;
        scene_kind kind;
    } objects[] = {{genere_riga::segnale, scene_kind::signal},
                   {genere_riga::indicatori_vmax, scene_kind::speed_board},
                   {genere_riga::cartello_indicatore, scene_kind::board},
                   {genere_riga::abbattimento, scene_kind::code_cut},
                   {genere_riga::stazione, scene_kind::station_area}};
    for (const auto& o : objects) {
        const auto lines = std::count_if(c.m.registro.righe.begin(), c.m.registro.righe.end(),
                                         [&](const riga_letta& r) { return r.genere == o.line; });
        EXPECT_EQ(static_cast<std::ptrdiff_t>(of_kind(texts, o.kind, scene_panel::objects).size()), lines) << kind_name(o.kind);
    }
    EXPECT_EQ(of_kind(texts, scene_kind::restriction, scene_panel::plan).size(), 4u);
    EXPECT_EQ(of_kind(texts, scene_kind::mountain, scene_panel::plan).size(), 3u);
    // The first restriction, from its start cell's line of the train file.
    const scene_element& slow = *of_kind(texts, scene_kind::restriction_speed, scene_panel::speed).front();
    EXPECT_EQ(slow.from_m, 24950);
    EXPECT_EQ(slow.values, (std::vector<std::pair<std::string, std::string>>{{"speed_kmh", "60"}}));
    EXPECT_EQ(slow.file, c.m.registro.percorso_treno);
    EXPECT_GT(slow.line, 0);
    // 350,100 at the start, counting down: the first post, km 350, is 100 m along.
    const scene_element& post = *of_kind(texts, scene_kind::km_post, scene_panel::kilometres).front();
    EXPECT_EQ(post.from_m, 100);
    EXPECT_EQ(post.text, "km 350");
}

TEST(SceneBuild, SmallScenariosShowTheirStationsTheirFaultAndAPlanWhenTheyHaveGeometry) {
    const std::string route =
        "[generale]\r\nlunghezza percorso, 3000\r\nripetizione segnali 4 codici, 0, 0\r\n[indicazioni]\r\n[fine]\r\n";
    const std::string station = "stazione, 1000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 8, 12, 30, PEDASO\r\n";
    struct row {
        const char* what;
        std::string stations;
        bool no_geometry;
        size_t count;
        size_t faults;
        int32_t at;
    } rows[] = {
        {"no station", "", false, 0, 0, 0},
        {"one station", station, false, 1, 0, 1000},
        {"no geometry", station, true, 1, 0, 1000},
        {"a fault: a station off the 50 m steps", "stazione, 1010" + station.substr(14), false, 1, 1, 1010},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.what);
        temp_dir dir;
        write_file(dir.path() / "Prova_linea.txt", route);
        write_file(dir.path() / "Prova_7-.txt",
                   "[generale]\r\nnumero vetture, 5\r\n[stazioni]\r\n" + r.stations + "[fine]\r\n");
        const session_compile c = compiled(dir.path() / "Prova_linea.txt", dir.path() / "Prova_7-.txt", r.no_geometry);
        const scene s = build_scene(scene_source_of(c.m), {});
        EXPECT_EQ(s.has_plan, !r.no_geometry);
        EXPECT_EQ(s.plan_note.empty(), !r.no_geometry);
        EXPECT_EQ(of_kind(s, scene_kind::track, scene_panel::plan).size(), r.no_geometry ? 0u : 1u);
        EXPECT_EQ(of_kind(s, scene_kind::fault, scene_panel::objects).size(), r.faults);
        const auto labels = of_kind(s, scene_kind::station, scene_panel::objects);
        ASSERT_EQ(labels.size(), r.count);
        if (r.count == 0) continue;
        EXPECT_EQ(labels[0]->from_m, r.at);
        if (r.faults) continue;  // the reader stopped inside the station's record
        EXPECT_EQ(labels[0]->values, (std::vector<std::pair<std::string, std::string>>{
                                         {"name", "PEDASO"}, {"time", "08:12:30"}, {"kind", "12"}}));
        EXPECT_EQ(labels[0]->line, 4);
    }
}

// A million metres: 20,001 cells whose gradient and speed change every few cells,
// and a wavering track.
TEST(SceneBuild, AMillionMetresBuildInWellUnderASecondWithPolylinesTheSheetCanShow) {
    constexpr int32_t length = 1000000;
    std::vector<cella> celle(length / METRI_CELLA + 1);
    for (size_t k = 0; k < celle.size(); ++k) {
        celle[k].pendenza = static_cast<uint8_t>(100 + k / 4 % 7);
        celle[k].v_limite = static_cast<uint8_t>(20 + k / 10 % 3);
    }
    std::array<voce, NUMERO_VOCI> voci{};
    voci[VOCE_TRENO_LINEA].fine_zona = length;
    tracciato_t t;
    t.dimensiona(length);
    for (int32_t m = 0; m <= length; ++m) {
        t.imposta_reale(m, 0, 2000.0 * std::sin(m / 3000.0));
        t.imposta_reale(m, 1, m);
    }
    scene_source source;
    source.celle = &celle, source.voci = &voci, source.tracciato = &t;
    const scene_options options;
    const auto start = std::chrono::steady_clock::now();
    const scene s = build_scene(source, options);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
    for (const scene_kind kind : {scene_kind::track, scene_kind::gradient, scene_kind::height, scene_kind::line_speed}) {
        SCOPED_TRACE(kind_name(kind));
        const auto found = std::find_if(s.elements.begin(), s.elements.end(),
                                        [kind](const scene_element& e) { return e.kind == kind; });
        ASSERT_NE(found, s.elements.end());
        EXPECT_GT(found->points.size(), 100u);
        EXPECT_LE(found->points.size(), 4u * options.columns + 4);
    }
}

TEST(SceneBuild, AStretchHoldsOnlyWhatTouchesItAtItsOwnResolution) {
    temp_dir dir;
    std::ostringstream out, err;
    ASSERT_EQ(run_export({dir.path()}, out, err), 0) << err.str();
    const session_compile c = compiled(dir.path() / "Lidonia_Sabrio_linea.txt", dir.path() / "Lidonia_Sabrio_914-.txt");
    scene_options options;
    options.from_m = 20000, options.to_m = 22000;
    const scene s = build_scene(scene_source_of(c.m), options);
    EXPECT_EQ(std::tie(s.from_m, s.to_m), std::tie(*options.from_m, *options.to_m));
    for (const scene_element& e : s.elements) {
        SCOPED_TRACE(kind_name(e.kind));
        EXPECT_TRUE(e.to_m >= 20000 && e.from_m <= 22000) << e.from_m << "-" << e.to_m;
        if (e.panel == scene_panel::plan) continue;
        for (const scene_point& p : e.points) EXPECT_TRUE(p.x >= 20000 && p.x <= 22000) << p.x;
    }
    // PINETO at 20,550 m and nothing else of the 35 stations.
    const auto stations = of_kind(s, scene_kind::station, scene_panel::objects);
    ASSERT_EQ(stations.size(), 1u);
    EXPECT_EQ(stations[0]->text, "PINETO");
    // Drawn at 2,000 m over the columns, the track keeps about every metre.
    EXPECT_GT(of_kind(s, scene_kind::track, scene_panel::plan).front()->points.size(), 1000u);
}

// A 12 km line whose every object stands at a round position: each kind of the
// lanes where it was written, the speed the train may run at, the posts' step.
TEST(SceneBuild, EachObjectStandsInItsLaneAtItsPlace) {
    temp_dir dir;
    write_file(dir.path() / "Prova_linea.txt",
               "[generale]\r\nlunghezza percorso, 12000\r\nprogressiva chilometrica uno, 0, 20000, 0\r\n"
               "ripetizione segnali 4 codici, 0, 0\r\n[pendenze]\r\npendenza, 0, 0\r\npendenza, 4000, 5\r\n"
               "pendenza, 8000, -3\r\n[cartelli]\r\nindicatori_vmax, 3000, 140, 150, 160, 0, 140, 150, 160, 0\r\n"
               "[indicazioni]\r\ncartello_indicatore, 6000, (Km 14+000)\r\n[fine]\r\n");
    write_file(dir.path() / "Prova_7-.txt",
               "[generale]\r\nnumero vetture, 5\r\n[vel_limite]\r\nvelocita, 0, 100\r\nvelocita, 6000, 120\r\n"
               "[stazioni]\r\nstazione, 1000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 8, 12, 30, PEDASO\r\n"
               "stazione, 10000, 12, 400, 0, 0, 0, 1,1,0, 4,1,1, 0, 8, 30, 0, ALTIDONA\r\n"
               "[rallentamenti]\r\nrallentamento, 7000, 40, 200, 1, 1, 40\r\n"
               "[segnali]\r\nsegnale, 2000, 2, 4, 0, 0, 0, 2, 1,0,0, 0\r\nsegnale, 5000, 2, 4, 1, 0, 0, 2, 3,1,0, 0\r\n"
               "[codici]\r\nabbattimento, 9000, 200\r\n[fine]\r\n");
    const session_compile c = compiled(dir.path() / "Prova_linea.txt", dir.path() / "Prova_7-.txt");
    ASSERT_EQ(c.m.codice_errore, codice::nessuno);
    const scene s = build_scene(scene_source_of(c.m), {});
    const auto at = [&](scene_kind kind, scene_panel panel) {
        std::vector<int32_t> out;
        for (const scene_element* e : of_kind(s, kind, panel)) out.push_back(e->from_m);
        return out;
    };
    using v = std::vector<int32_t>;
    EXPECT_EQ(at(scene_kind::signal, scene_panel::objects), (v{2000, 5000}));
    EXPECT_EQ(at(scene_kind::signal, scene_panel::plan), (v{2000, 5000}));
    EXPECT_EQ(at(scene_kind::speed_board, scene_panel::objects), (v{3000}));
    EXPECT_EQ(at(scene_kind::board, scene_panel::objects), (v{6000}));
    EXPECT_EQ(of_kind(s, scene_kind::board, scene_panel::objects)[0]->text, "(Km 14+000)");
    EXPECT_EQ(at(scene_kind::code_cut, scene_panel::objects), (v{9000}));
    const v inserted = at(scene_kind::inserted_cut, scene_panel::objects);
    EXPECT_FALSE(inserted.empty());
    for (const int32_t m : inserted) EXPECT_LT(m, 7000);  // ahead of the restriction they were inserted for
    std::map<std::string, int32_t> points;
    for (const scene_element* e : of_kind(s, scene_kind::restriction_point, scene_panel::objects))
        points[e->values.front().second] = e->from_m;
    EXPECT_EQ(points["start"], 7000);
    EXPECT_GT(points["end"], 7000);
    EXPECT_LT(points["warning"], 7000);
    // Stations as their platforms' extents: 400 m about each.
    std::vector<std::pair<int32_t, int32_t>> areas;
    for (const scene_element* e : of_kind(s, scene_kind::station_area, scene_panel::objects)) areas.emplace_back(e->from_m, e->to_m);
    EXPECT_EQ(areas, (std::vector<std::pair<int32_t, int32_t>>{{800, 1200}, {9800, 10200}}));

    // The line speed, lowered to 40 over the restriction.
    const auto permitted = of_kind(s, scene_kind::permitted_speed, scene_panel::speed);
    ASSERT_EQ(permitted.size(), 1u);
    const auto speed_at = [&](double m) {
        double y = 0;
        for (const scene_point& p : permitted[0]->points)
            if (p.x <= m) y = p.y;
        return y;
    };
    EXPECT_EQ(speed_at(3000), 100);
    EXPECT_EQ(speed_at(6500), 120);
    EXPECT_EQ(speed_at(points["start"] + 25), 40);
    EXPECT_EQ(speed_at(points["end"] + 25), 120);
    std::vector<std::string> gradients;
    for (const scene_element* e : of_kind(s, scene_kind::gradient_value, scene_panel::gradient)) gradients.push_back(e->text);
    EXPECT_EQ(gradients, (std::vector<std::string>{"0\u2030", "+5\u2030", "-3\u2030"}));

    // Posts every kilometre on a sheet's width; on a narrow view, every 10 km.
    const struct {
        int32_t columns;
        v posts;
        const char* step_km;
    } steps[] = {{1600, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000}, "1"},
                 {100, {0, 10000}, "10"}};
    for (const auto& step : steps) {
        scene_options o;
        o.columns = step.columns;
        const scene narrow = build_scene(scene_source_of(c.m), o);
        v posts;
        for (const scene_element* e : of_kind(narrow, scene_kind::km_post, scene_panel::kilometres)) {
            posts.push_back(e->from_m);
            EXPECT_EQ(e->values.back(), (std::pair<std::string, std::string>{"step_km", step.step_km}));
        }
        EXPECT_EQ(posts, step.posts) << step.columns;
    }
}

// The hand-written scenario's graphical timetable: the scheduled times as seconds
// after the first, each section's fastest run leaving at the time of the station
// before and taking the timetable's minimum; its speed under the limits; and on
// a stretch only what lies on it.
TEST(SceneBuild, TheTimetablePanelShowsTheScheduleAndEachSectionsFastestRun) {
    const std::filesystem::path dir = std::filesystem::path(test_paths::source_root) / "tests/running/scenario";
    const session_compile c = compiled(dir / "Prova_linea.txt", dir / "Prova_1-.txt");
    const timetable_figures f = timetable_of(c.m, train_model{}, stop_choice{});
    const scene s = scene_of(c.m, {});
    EXPECT_EQ(s.time_origin_s, 7 * 3600 + 15 * 60);
    ASSERT_EQ(of_kind(s, scene_kind::time_distance, scene_panel::time).size(), 1u);
    std::vector<std::pair<double, double>> schedule;
    for (const scene_element* e : of_kind(s, scene_kind::scheduled_time, scene_panel::time))
        if (e->shape == scene_shape::marker) schedule.emplace_back(e->points[0].x, e->points[0].y);
    EXPECT_EQ(schedule, (std::vector<std::pair<double, double>>{{0, 0}, {14000, 720}, {19500, 1020}, {36000, 1740}, {45000, 2340}}));

    const auto times = of_kind(s, scene_kind::fastest_run, scene_panel::time);
    const auto speeds = of_kind(s, scene_kind::fastest_run, scene_panel::speed);
    ASSERT_EQ(times.size(), 4u);
    ASSERT_EQ(speeds.size(), 4u);
    for (size_t k = 0; k < times.size(); ++k) {
        const std::vector<scene_point>& t = times[k]->points;
        EXPECT_EQ(t.front().x, schedule[k].first);
        EXPECT_EQ(t.back().x, schedule[k + 1].first);
        EXPECT_EQ(t.front().y, schedule[k].second);
        EXPECT_NEAR(t.back().y - t.front().y, *f.sections[k + 1].min_s, 0.01) << k;
        for (const scene_point& p : speeds[k]->points) EXPECT_LE(p.y, 120.0 + 1e-9);
        EXPECT_EQ(speeds[k]->points.front().y, 0.0);  // from a stand at every station
        EXPECT_EQ(speeds[k]->points.back().y, 0.0);
    }

    scene_options stretch;
    stretch.from_m = 10000, stretch.to_m = 20000;
    const scene part = scene_of(c.m, stretch);
    EXPECT_EQ(of_kind(part, scene_kind::fastest_run, scene_panel::time).size(), 3u);
    for (const scene_element& e : part.elements) {
        if (e.panel != scene_panel::time) continue;
        for (const scene_point& p : e.points) EXPECT_TRUE(p.x >= 10000 && p.x <= 20000) << kind_name(e.kind) << " " << p.x;
    }
}
