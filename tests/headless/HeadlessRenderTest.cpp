#include "Boids/Scene.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "tools/PngFile.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tavren {
namespace {

const std::filesystem::path OutputFolder = TAVREN_TEST_OUTPUT;

// The scene's clear colour (0.3, 0.3, 1.0) as 8-bit channels, opaque.
void ExpectClearColour(const uint8_t* pixel) {
    EXPECT_NEAR(pixel[0], 77, 1);
    EXPECT_NEAR(pixel[1], 77, 1);
    EXPECT_EQ(pixel[2], 255);
    EXPECT_EQ(pixel[3], 255);
}

class CountingScene final : public SceneHooks {
public:
    std::string Calls;
    void ResizeScene(int32_t width, int32_t height) override {
        Calls += "R" + std::to_string(width) + "x" + std::to_string(height) + " ";
        tavren::ResizeScene(width, height);
    }
    void SetUpScene() override {
        Calls += "S ";
        tavren::SetUpScene();
    }
    void DrawScene() override {
        Calls += "D";
        tavren::DrawScene();
    }
    void FreeScene() override { Calls += " F"; }
};

TEST(HeadlessRenderer, RunsTheSceneHooksAndReadsTheFrameBack) {
    HeadlessRenderer renderer(96, 64);
    CountingScene scene;
    renderer.RenderFrames(scene, 3);
    renderer.RenderFrames(scene, 2);
    EXPECT_EQ(scene.Calls, "R96x64 S DDDDD");

    const std::vector<uint8_t> pixels = renderer.ReadPixels();
    ASSERT_EQ(pixels.size(), 96u * 64u * 4u);
    for (size_t pixel = 0; pixel < pixels.size(); pixel += 4 * 97) {
        ExpectClearColour(&pixels[pixel]);
    }
    WritePng(OutputFolder / "empty-scene.png", 96, 64, pixels);
}

TEST(HeadlessRenderer, ZeroHeightGivesAOnePixelViewportAndTheWidthAsAspect) {
    HeadlessRenderer renderer(800, 8);
    ResizeScene(800, 0);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 1);

    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    EXPECT_NEAR(projection[5], focal, 1e-5);
    EXPECT_NEAR(projection[0], focal / 800.0, 1e-7);
    // Near plane 1, far plane 100.
    EXPECT_NEAR(projection[10], -101.0 / 99.0, 1e-5);
    EXPECT_NEAR(projection[14], -200.0 / 99.0, 1e-5);
}

TEST(HeadlessRenderer, RefusesAnEmptyTarget) {
    EXPECT_THROW(HeadlessRenderer(0, 10), HeadlessError);
}

TEST(RenderCommand, WritesTheLastFrameAsPng) {
    const std::filesystem::path out = OutputFolder / "render-command.png";
    std::filesystem::remove(out);
    const std::string command = std::string(TAVREN_TOOL) +
                                " render --size 64x40 --frames 2 --out " + out.string() +
                                " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const RgbaPicture picture = ReadPng(out);
    EXPECT_EQ(picture.Width, 64);
    EXPECT_EQ(picture.Height, 40);
    ExpectClearColour(&picture.Pixels[0]);
    ExpectClearColour(&picture.Pixels[picture.Pixels.size() - 4]);
}

TEST(RenderCommand, RefusesABadCommandLineWithStatusTwo) {
    const std::filesystem::path out = OutputFolder / "never-written.png";
    for (const char* arguments :
         {" render --size 64 --frames 2 --out ", " render --frames 2 --out ",
          " render --size 8x8 --frames 0 --out ", " paint --out "}) {
        const std::string command =
            std::string(TAVREN_TOOL) + arguments + out.string() + " 2> /dev/null";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << arguments;
        EXPECT_EQ(WEXITSTATUS(status), 2) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace tavren
