#include "Arguments.h"
#include "Commands.h"

#include "Boids/Scene.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "tools/PngFile.h"

#include <cstdio>
#include <string>

namespace tavren::tool {

int RunRender(std::span<const std::string_view> arguments) {
    OptionReader options(arguments);
    const std::string_view sizeText = options.Require("--size");
    const std::string_view framesText = options.Require("--frames");
    const std::string out(options.Require("--out"));
    options.RejectLeftovers();

    const auto size = ParseSize(sizeText);
    if (!size) {
        throw UsageError("--size takes WxH, two whole numbers from 1 to 16384");
    }
    const auto frames = ParseCount(framesText, 1'000'000);
    if (!frames || *frames < 1) {
        throw UsageError("--frames takes a whole number from 1 to 1000000");
    }

    HeadlessRenderer renderer(size->Width, size->Height);
    SceneFunctions scene;
    renderer.RenderFrames(scene, static_cast<int>(*frames));
    WritePng(out, size->Width, size->Height, renderer.ReadPixels());
    scene.FreeScene();
    std::printf("%s\n", out.c_str());
    return 0;
}

} // namespace tavren::tool
