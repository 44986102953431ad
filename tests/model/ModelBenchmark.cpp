// Posing and drawing times of the real models: bench_model, run by hand.
#include "Boids/Model.h"
#include "Boids/platform/egl/HeadlessRenderer.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace tavren {
namespace {

// A real model by its file name, or one of our own models by its path under assets/.
std::string RealModel(const char* name) {
    if (std::string(name).starts_with("models/")) {
        return (std::filesystem::path(TAVREN_ASSETS) / name).string();
    }
    return (std::filesystem::path(TAVREN_REALDATA) / "ms3d_ascii" / name).string();
}

void IgnoreTextures(const std::string&, TextureName&) {}

void Advance(benchmark::State& state, const char* file) {
    TModel model(false, false, IgnoreTextures);
    model.LoadFromFile(RealModel(file));
    for (auto _ : state) {
        model.Advance(0.4f);
        benchmark::DoNotOptimize(model.CurrentFrame);
    }
}

void Draw(benchmark::State& state, const char* file) {
    HeadlessRenderer renderer(256, 256);
    TModel model(false, false, IgnoreTextures);
    model.LoadFromFile(RealModel(file));
    glMatrixMode(GL_PROJECTION);
    glOrtho(-100, 100, -100, 100, -200, 200);
    glMatrixMode(GL_MODELVIEW);
    for (auto _ : state) {
        model.Draw();
        glFinish();
    }
}

void Load(benchmark::State& state, const char* file) {
    for (auto _ : state) {
        TModel model(false, false, IgnoreTextures);
        benchmark::DoNotOptimize(model.LoadFromFile(RealModel(file)));
    }
}

BENCHMARK_CAPTURE(Advance, cannon_largest, "scorched3d_cannon.txt");
BENCHMARK_CAPTURE(Advance, bird_17_bones, "scorched3d_bird.txt");
BENCHMARK_CAPTURE(Advance, seagull_7_bones, "scorched3d_seagull.txt");
BENCHMARK_CAPTURE(Draw, cannon_largest, "scorched3d_cannon.txt");
BENCHMARK_CAPTURE(Draw, bird_17_bones, "scorched3d_bird.txt");
BENCHMARK_CAPTURE(Load, cannon_largest, "scorched3d_cannon.txt");
BENCHMARK_CAPTURE(Advance, fish, "models/Tavren.pp1");
BENCHMARK_CAPTURE(Draw, fish, "models/Tavren.pp1");
BENCHMARK_CAPTURE(Draw, sea_floor, "models/Tavren.pp2");

} // namespace
} // namespace tavren

BENCHMARK_MAIN();
