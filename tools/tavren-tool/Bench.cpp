// The whole scene offscreen for a while: frames per second, and where a frame's time goes.
#include "Arguments.h"
#include "Commands.h"
#include "LinkedDataFolder.h"

#include "Boids/DataFolder.h"
#include "Boids/OpenGL.h"
#include "Boids/Scene.h"
#include "Boids/platform/egl/HeadlessRenderer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace tavren::tool {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Draws frames for `seconds` and returns how many.
int64_t DrawFor(HeadlessRenderer& renderer, SceneHooks& scene, double seconds) {
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    int64_t frames = 0;
    while (Clock::now() < end) {
        renderer.RenderFrames(scene, 1);
        glFinish();
        ++frames;
    }
    return frames;
}

} // namespace

int RunBench(std::span<const std::string_view> arguments) {
    OptionReader options(arguments);
    const auto fishText = options.Take("--fish");
    const auto sizeText = options.Take("--size");
    const auto secondsText = options.Take("--seconds");
    const auto data = options.Take("--data");
    options.RejectLeftovers();

    const int64_t fish = CountOption("--fish", fishText.value_or("40"), 0, MostFishSetting);
    const Size size = SizeOption(sizeText, "1280x1024");
    const int64_t seconds = CountOption("--seconds", secondsText.value_or("10"), 1, 3600);
    const fs::path source = data ? fs::path(*data) : fs::path(NativePath(DataFolderPrefix()));
    const LinkedDataFolder folder(source, fish);
    setenv("TAVREN_DATA", folder.Path().c_str(), 1);
    HeadlessRenderer renderer(size.Width, size.Height);
    SceneFunctions scene;
    renderer.RenderFrames(scene, 1); // set-up and a first frame, not counted

    const Clock::time_point start = Clock::now();
    const int64_t frames = DrawFor(renderer, scene, static_cast<double>(seconds));
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    // A second, shorter run waits for the GPU between the parts of each frame to split it.
    SceneProfile profile;
    SetSceneProfile(&profile);
    DrawFor(renderer, scene, std::max(1.0, static_cast<double>(seconds) / 2));
    SetSceneProfile(nullptr);
    scene.FreeScene();

    auto perFrame = [&](double total) {
        return 1000 * total / static_cast<double>(profile.Frames);
    };
    std::printf("fish %lld at %dx%d, %lld frames in %.1f s\n", static_cast<long long>(fish + 1),
                size.Width, size.Height, static_cast<long long>(frames), elapsed);
    std::printf("frames per second %.1f\n", static_cast<double>(frames) / elapsed);
    std::printf("milliseconds per frame %.2f\n", 1000 * elapsed / static_cast<double>(frames));
    std::printf("split (ms per frame, waiting for the GPU between parts): simulation %.3f, fish "
                "drawing %.3f, terrain drawing %.3f, rest %.3f\n",
                perFrame(profile.SimulationSeconds), perFrame(profile.FishDrawingSeconds),
                perFrame(profile.TerrainDrawingSeconds), perFrame(profile.RestSeconds));
    return 0;
}

} // namespace tavren::tool
