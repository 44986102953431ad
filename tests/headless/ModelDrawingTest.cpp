// Models drawn into the offscreen context: the pose that moves, the caustic frames that step,
// the multitexture entry points that may be missing.
#include "Boids/Animate.h"
#include "Boids/ExtOpenGL.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "tools/PngFile.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tavren {
namespace {

const std::filesystem::path OutputFolder = TAVREN_TEST_OUTPUT;
const std::filesystem::path RealModels = std::filesystem::path(TAVREN_REALDATA) / "ms3d_ascii";

void IgnoreTextures(const std::string&, TextureName&) {}

// A loader that makes a one-pixel texture for every file it is asked for.
void MakeTextures(const std::string&, TextureName& texture) {
    const GLubyte pixel[4] = {255, 255, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    texture = name;
}

// One triangle with a textured material; a second mesh without material follows.
std::string TexturedModelFile() {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("tavren-model-drawing-" + std::to_string(getpid()) + ".txt");
    std::ofstream(path, std::ios::binary)
        << "Frames: 30\r\nFrame: 1\r\nMeshes: 2\r\n"
           "\"ground\" 0 0\r\n3\r\n"
           "0 0 0 0 0 0 -1\r\n0 1 0 0 1 0 -1\r\n0 0 1 0 0 1 -1\r\n"
           "1\r\n0 1 0\r\n1\r\n0 0 1 2 0 0 0 1\r\n"
           "\"plain\" 0 -1\r\n3\r\n"
           "0 0 0 0 0 0 -1\r\n0 1 0 0 1 0 -1\r\n0 0 1 0 0 1 -1\r\n"
           "1\r\n0 1 0\r\n1\r\n0 0 1 2 0 0 0 1\r\n\r\n"
           "Materials: 1\r\n\"Sand\"\r\n0.2 0.2 0.2 1\r\n0.8 0.8 0.8 1\r\n0 0 0 1\r\n0 0 0 1\r\n"
           "0\r\n1\r\n\"sand.bmp\"\r\n\"\"\r\n\r\nBones: 0\r\n";
    return path.string();
}

GLint BoundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

// The seagull seen from the front, white on black, without lighting.
std::vector<uint8_t> DrawFromTheFront(HeadlessRenderer& renderer, TModel& model) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-90, 90, -60, 40, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
    model.Draw();
    glFinish();
    return renderer.ReadPixels();
}

size_t LitPixels(const std::vector<uint8_t>& pixels) {
    size_t lit = 0;
    for (size_t pixel = 0; pixel < pixels.size(); pixel += 4) {
        lit += pixels[pixel] > 128 ? 1 : 0;
    }
    return lit;
}

TEST(ModelDrawing, DrawsTheSeagullWithItsWingsInAnotherPlaceAtAnotherFrame) {
    HeadlessRenderer renderer(180, 100);
    TModel seagull(false, false, IgnoreTextures);
    ASSERT_TRUE(seagull.LoadFromFile((RealModels / "scorched3d_seagull.txt").string()));

    const std::vector<uint8_t> first = DrawFromTheFront(renderer, seagull);
    WritePng(OutputFolder / "seagull-frame-1.png", 180, 100, first);
    seagull.Advance(7);
    const std::vector<uint8_t> eighth = DrawFromTheFront(renderer, seagull);
    WritePng(OutputFolder / "seagull-frame-8.png", 180, 100, eighth);

    EXPECT_GT(LitPixels(first), 300u);
    EXPECT_GT(LitPixels(eighth), 300u);
    size_t changed = 0;
    for (size_t pixel = 0; pixel < first.size(); pixel += 4) {
        changed += (first[pixel] > 128) != (eighth[pixel] > 128) ? 1 : 0;
    }
    EXPECT_GT(changed, 300u) << changed;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ModelDrawing, StepsThroughTheThirtyTwoCausticFramesOnePerDraw) {
    HeadlessRenderer renderer(8, 8);
    TModel terrain(true, true, MakeTextures);
    ASSERT_NE(glActiveTextureARB, nullptr);
    ASSERT_NE(glMultiTexCoord2fARB, nullptr);
    ASSERT_TRUE(terrain.LoadFromFile(TexturedModelFile()));
    const TMaterial& sand = terrain.Materials[0];
    ASSERT_NE(sand.Texture, 0u);

    for (int draw = 0; draw < 33; ++draw) {
        terrain.Draw();
        // The mesh without material turned texturing off on the caustic unit, which stays active.
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(BoundTexture(), static_cast<GLint>(sand.CausticTextures[draw % 32])) << draw;
    }
    glActiveTextureARB(GlTexture0Arb);
    EXPECT_EQ(BoundTexture(), static_cast<GLint>(sand.Texture));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ModelDrawing, NeverCallsMissingEntryPoints) {
    HeadlessRenderer renderer(8, 8);
    SetGlProcLoader([](const char*) -> GlProcedure { return nullptr; });
    TModel terrain(true, true, MakeTextures);
    EXPECT_EQ(glActiveTextureARB, nullptr);
    EXPECT_EQ(glMultiTexCoord2fARB, nullptr);
    ASSERT_TRUE(terrain.LoadFromFile(TexturedModelFile()));

    terrain.Materials[0].Apply();
    EXPECT_EQ(BoundTexture(), static_cast<GLint>(terrain.Materials[0].Texture));
    EXPECT_EQ(terrain.Materials[0].CausticFrame, 0);
    terrain.Draw();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

class StoppedClock final : public ClockSource {
public:
    int64_t Counter = 0;
    bool CounterFrequency(int64_t& frequency) override {
        frequency = 1000;
        return true;
    }
    int64_t CounterReading() override { return Counter; }
    uint32_t MillisecondTime() override { return 0; }
};

TEST(ModelDrawing, RenderLeavesTheModelviewMatrixAsItFoundIt) {
    HeadlessRenderer renderer(8, 8);
    StoppedClock clock;
    TAnimate player((RealModels / "scorched3d_sub.txt").string(), 24.0, false, false,
                    IgnoreTextures, clock);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    clock.Counter = 500;
    player.Render();
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int index = 0; index < 16; ++index) {
        EXPECT_EQ(after[index], before[index]) << index;
    }
    // Frame 38 and half a second at 24 frames a second pass frame 40: back to frame 1.
    EXPECT_EQ(player.AnimModel->CurrentFrame, 1.0f);
}

} // namespace
} // namespace tavren
