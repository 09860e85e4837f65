// Micro-benchmarks of the compile's stages: the field reader, the geometry, the
// grid pass and the writers, each over a scenario of a given length.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "compile/file_compilati.h"
#include "compile/passata_griglia.h"
#include "text_input/geometria.h"
#include "text_input/lettore_campi.h"
#include "text_input/memorizza_dati.h"

namespace {

// A route of `km` kilometres, with a signal every 1,350 m and a restriction every 25 km.
testi_lettore scenario(int64_t km) {
    testi_lettore t;
    t.linea = "[generale]\r\nlunghezza percorso, " + std::to_string(km * 1000) + "\r\n[curve]\r\n";
    for (int64_t m = 2000; m + 2000 < km * 1000; m += 4000)
        t.linea += "curvas3, " + std::to_string(m) + ", 600\r\npendenza, " + std::to_string(m) + ", 3\r\n";
    t.treno = "[generale]\r\nnumero vetture, 12\r\n[vel_limite]\r\nvelocita, 0, 110\r\n[segnali]\r\n";
    for (int64_t m = 1650; m + 2000 < km * 1000; m += 1350)
        t.treno += "segnale, " + std::to_string(m) + ", 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n";
    for (int64_t m = 24950; m + 5000 < km * 1000; m += 25000)
        t.treno += "rallentamento, " + std::to_string(m + 700) + ", 60, 200, 1, 1, 60\r\n";
    return t;
}

modello read(const testi_lettore& t, bool geometry) {
    modello m;
    // Constructed, not assigned from a literal: g++ 12's release build takes the
    // inlined assignment for an overlapping copy (-Wrestrict).
    m.nome_linea = std::string("Bench");
    m.numero_treno = std::string("1");
    m.genera_tracciato = geometry ? 1 : 0;
    memorizza_dati(m, {"Bench_linea.txt", "Bench_1-.txt", false, &t});
    return m;
}

void field_reader(benchmark::State& state) {
    const std::string text = scenario(state.range(0)).treno;
    for (auto _ : state) {
        lettore_campi r(text);
        int64_t sum = 0;
        while (!r.fine()) {
            const std::string key = r.testo();
            if (key.rfind("segnale", 0) == 0)
                for (int i = 0; i < 11; ++i) sum += r.long_field();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void geometry(benchmark::State& state) {
    tracciato_t t;
    const auto last = static_cast<int32_t>(state.range(0) * 1000);
    t.dimensiona(last);
    t.imposta(0, 0, elemento_tracciato::da_intero(0));
    t.imposta(1, 0, elemento_tracciato::da_intero(0));
    t.imposta(0, 1, elemento_tracciato::da_intero(0));
    t.imposta(1, 1, elemento_tracciato::da_intero(1));
    // 600 m of curve every 4 km, a span of steps at a time as the reader takes them.
    for (auto _ : state)
        for (int32_t c = 2; c <= last;) {
            const bool curva = c % 4000 < 600;
            c = passi_geometria(t, c, std::min(last, c - c % 4000 + (curva ? 599 : 3999)), curva ? 0.0004 : 0.0);
        }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * last);
}

void read_scenario(benchmark::State& state) {
    const testi_lettore t = scenario(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(read(t, true).codice_errore);
}

void grid_pass(benchmark::State& state) {
    const modello read_once = read(scenario(state.range(0)), false);
    for (auto _ : state) {
        state.PauseTiming();
        modello m = read_once;
        state.ResumeTiming();
        passata_griglia(m);
        benchmark::DoNotOptimize(m.codice_errore);
    }
}

void writers(benchmark::State& state) {
    const modello m = read(scenario(state.range(0)), true);
    int64_t bytes = 0;
    for (auto _ : state) {
        scrivi_tracciato(m.tracciato, [&bytes](std::string_view piece) { bytes += static_cast<int64_t>(piece.size()); });
        bytes += static_cast<int64_t>(byte_celle(m.celle).size() + byte_voci(m.voci).size());
    }
    state.SetBytesProcessed(bytes);
}

}  // namespace

// Route lengths in kilometres.
BENCHMARK(field_reader)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(geometry)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(read_scenario)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(grid_pass)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(writers)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
