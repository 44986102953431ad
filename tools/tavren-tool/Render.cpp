#include "Arguments.h"
#include "Commands.h"

#include "Boids/Scene.h"
#include "Boids/Timer.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "tools/PngFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace tavren::tool {

namespace {

// The scene, with the stepped clock moved on after every frame.
class SteppedScene final : public SceneHooks {
public:
    explicit SteppedScene(SteppedClock* clock) : Clock(clock) {}
    void ResizeScene(int32_t width, int32_t height) override { Scene.ResizeScene(width, height); }
    void SetUpScene() override { Scene.SetUpScene(); }
    void DrawScene() override {
        Scene.DrawScene();
        if (Clock != nullptr) {
            Clock->Step();
        }
    }
    void FreeScene() override { Scene.FreeScene(); }

private:
    SceneFunctions Scene;
    SteppedClock* Clock;
};

double ParseFramesPerSecond(std::string_view text) {
    const std::string value(text);
    char* end = nullptr;
    const double fps = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(fps > 0 && fps <= 10000)) {
        throw UsageError("--fps takes a number of frames per second above 0");
    }
    return fps;
}

} // namespace

int RunRender(std::span<const std::string_view> arguments) {
    OptionReader options(arguments);
    const auto data = options.Take("--data");
    const auto sizeText = options.Take("--size");
    const auto framesText = options.Take("--frames");
    const auto fpsText = options.Take("--fps");
    const auto seedText = options.Take("--seed");
    const std::string out(options.Take("--out").value_or("tavren-frame.png"));
    options.RejectLeftovers();

    const auto size = ParseSize(sizeText.value_or("1280x720"));
    if (!size) {
        throw UsageError("--size takes WxH, two whole numbers from 1 to 16384");
    }
    const auto frames = ParseCount(framesText.value_or("60"), 1'000'000'000);
    if (!frames || *frames < 1) {
        throw UsageError("--frames takes a whole number from 1");
    }
    SceneOptions sceneOptions;
    std::optional<SteppedClock> clock;
    if (fpsText) {
        clock.emplace(1.0 / ParseFramesPerSecond(*fpsText));
        sceneOptions.Clock = &*clock;
    }
    if (seedText) {
        const auto seed = ParseCount(*seedText, INT64_MAX);
        if (!seed) {
            throw UsageError("--seed takes a whole number from 0");
        }
        sceneOptions.Seed = static_cast<uint64_t>(*seed);
    }
    if (data) {
        setenv("TAVREN_DATA", std::string(*data).c_str(), 1);
    }

    HeadlessRenderer renderer(size->Width, size->Height);
    SetSceneOptions(sceneOptions);
    SteppedScene scene(clock ? &*clock : nullptr);
    renderer.RenderFrames(scene, static_cast<int>(std::min<int64_t>(*frames, INT32_MAX)));
    WritePng(out, size->Width, size->Height, renderer.ReadPixels());
    scene.FreeScene();
    SetSceneOptions({});
    std::printf("%s\n", out.c_str());
    return 0;
}

} // namespace tavren::tool
