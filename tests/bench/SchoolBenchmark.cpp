// One step of the school with the scene's fish: all kin, random start in the 1000 x 1000 area.
// Run by hand: build/default/bin/bench_school
#include "Boids/Boid.h"

#include <benchmark/benchmark.h>

namespace {

void SchoolUpdate(benchmark::State& state) {
    tavren::TFlock school(1, 1000, 1000, std::make_unique<tavren::MersenneRandom>(20261211));
    for (int64_t fish = 0; fish < state.range(0); ++fish) {
        school.AddBoid(0, 0.8, 0.5, 0.01, 0.05, 60, 50, 1, 1, 0.99f, 0.99f, 0.99f);
    }
    // Let the school gather first, as it does on screen.
    for (int step = 0; step < 50; ++step) {
        school.Update();
    }
    for (auto _ : state) {
        school.Update();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(SchoolUpdate)->Arg(41)->Arg(101)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
