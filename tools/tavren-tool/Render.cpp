#include "Arguments.h"
#include "Commands.h"
#include "LinkedDataFolder.h"

#include "Boids/DataFolder.h"
#include "Boids/OpenGL.h"
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
#include <unistd.h>

namespace tavren::tool {

namespace {

// Resident memory of this process in KiB, from /proc.
long ResidentKiB() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    long pages = 0;
    long resident = 0;
    if (statm != nullptr) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The scene, with the stepped clock moved on after every frame; in the checking mode it asks
// GL for errors after every frame and notes the resident memory after frame 1,000, after every
// 10,000th frame and at the end, so that a long run can be followed while it goes.
class SteppedScene final : public SceneHooks {
public:
    SteppedScene(SteppedClock* clock, bool check) : Clock(clock), Check(check) {}
    void ResizeScene(int32_t width, int32_t height) override { Scene.ResizeScene(width, height); }
    void SetUpScene() override {
        Scene.SetUpScene();
        CheckErrors("set-up");
    }
    void DrawScene() override {
        Scene.DrawScene();
        ++Frames;
        if (Clock != nullptr) {
            Clock->Step();
        }
        if (Check) {
            CheckErrors("frame " + std::to_string(Frames));
            if (Frames == 1000 || Frames % 10000 == 0) {
                std::printf("resident memory after frame %lld: %ld KiB\n",
                            static_cast<long long>(Frames), ResidentKiB());
                std::fflush(stdout);
            }
        }
    }
    void FreeScene() override { Scene.FreeScene(); }

    int64_t Frames = 0;
    int64_t GlErrors = 0;

private:
    void CheckErrors(const std::string& where) {
        if (!Check) {
            return;
        }
        for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
            std::fprintf(stderr, "GL error 0x%04x at %s\n", error, where.c_str());
            ++GlErrors;
        }
    }

    SceneFunctions Scene;
    SteppedClock* Clock;
    bool Check;
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
    const auto fishText = options.Take("--fish");
    const bool check = options.TakeFlag("--check");
    const std::string out(options.Take("--out").value_or("tavren-frame.png"));
    options.RejectLeftovers();

    const Size size = SizeOption(sizeText, "1280x720");
    const int64_t frames = CountOption("--frames", framesText.value_or("60"), 1, 1'000'000'000);
    SceneOptions sceneOptions;
    std::optional<SteppedClock> clock;
    if (fpsText) {
        clock.emplace(1.0 / ParseFramesPerSecond(*fpsText));
        sceneOptions.Clock = &*clock;
    }
    if (seedText) {
        sceneOptions.Seed = static_cast<uint64_t>(CountOption("--seed", *seedText, 0, INT64_MAX));
    }
    if (data) {
        setenv("TAVREN_DATA", std::string(*data).c_str(), 1);
    }
    std::optional<LinkedDataFolder> withFish;
    if (fishText) {
        withFish.emplace(NativePath(DataFolderPrefix()),
                         CountOption("--fish", *fishText, 0, MostFishSetting));
        setenv("TAVREN_DATA", withFish->Path().c_str(), 1);
    }

    HeadlessRenderer renderer(size.Width, size.Height);
    SetSceneOptions(sceneOptions);
    SteppedScene scene(clock ? &*clock : nullptr, check);
    renderer.RenderFrames(scene, static_cast<int>(std::min<int64_t>(frames, INT32_MAX)));
    WritePng(out, size.Width, size.Height, renderer.ReadPixels());
    if (check) {
        if (scene.Frames != 1000 && scene.Frames % 10000 != 0) {
            std::printf("resident memory after frame %lld: %ld KiB\n",
                        static_cast<long long>(scene.Frames), ResidentKiB());
        }
        std::printf("GL errors: %lld\n", static_cast<long long>(scene.GlErrors));
    }
    scene.FreeScene();
    SetSceneOptions({});
    std::printf("%s\n", out.c_str());
    return scene.GlErrors == 0 ? 0 : 1;
}

} // namespace tavren::tool
