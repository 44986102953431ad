// An offscreen renderer: an EGL surfaceless context (compatibility profile) drawing into a
// framebuffer object of a given size. Tests and tavren-tool run the scene hooks in it.
#pragma once

#include "../../RendererShell.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tavren {

class HeadlessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class HeadlessRenderer {
public:
    // Makes the context current on the calling thread. Throws HeadlessError on failure.
    HeadlessRenderer(int32_t width, int32_t height);
    ~HeadlessRenderer();
    HeadlessRenderer(const HeadlessRenderer&) = delete;
    HeadlessRenderer& operator=(const HeadlessRenderer&) = delete;

    // The first call sizes and sets up the scene; every call then draws the given frames.
    void RenderFrames(SceneHooks& scene, int frames);

    // The target's pixels as RGBA bytes, top row first.
    std::vector<uint8_t> ReadPixels() const;

    int32_t Width() const { return TargetWidth; }
    int32_t Height() const { return TargetHeight; }

private:
    struct Context;
    std::unique_ptr<Context> Egl;
    int32_t TargetWidth;
    int32_t TargetHeight;
    bool SceneIsSetUp = false;
};

} // namespace tavren
