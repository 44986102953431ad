// The whole scene offscreen, from a complete data folder: what is drawn, in what numbers and
// colours, and what happens when a file is missing.
#include "Boids/Scene.h"
#include "Boids/DataFolder.h"
#include "Boids/MessageSink.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "saver/BitmapFile.h"
#include "tools/PngFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tavren {
namespace {

namespace fs = std::filesystem;

const fs::path OutputFolder = TAVREN_TEST_OUTPUT;
const fs::path CompleteDataFolder = TAVREN_DATA_FOLDER;

class RecordingSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        Messages.push_back(caption + ": " + text);
    }
    std::vector<std::string> Messages;
};

struct Rgb {
    int R, G, B;
};

// A copy of the complete data folder, the scene pointed at it, a stepped clock and a seed.
class SceneTest : public testing::Test {
protected:
    static constexpr int Width = 640;
    static constexpr int Height = 360;

    void SetUp() override {
        Folder = fs::temp_directory_path() /
                 ("tavren-scene-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::copy(CompleteDataFolder, Folder);
        setenv("TAVREN_DATA", Folder.c_str(), 1);
        SetRendererMessages(&Sink);
        SetSceneOptions({&Clock, 20261211});
    }

    void TearDown() override {
        FreeScene();
        SetSceneOptions({});
        SetRendererMessages(nullptr);
        unsetenv("TAVREN_DATA");
        fs::remove_all(Folder);
    }

    void WriteSettings(const std::string& num) {
        std::ofstream(Folder / "Tavren.ini") << "[Section]\r\nNum=" << num << "\r\n";
    }

    // Draws `frames` frames (0: only the set-up) and keeps the last one.
    void Render(int frames) {
        if (!Renderer) {
            Renderer.emplace(Width, Height);
        }
        Renderer->RenderFrames(Scene, frames);
        Pixels = Renderer->ReadPixels();
        for (int frame = 0; frame < frames; ++frame) {
            Clock.Step();
        }
    }

    // The pixel where a point of the background's plane (eye depth 13) is seen.
    Rgb BackgroundPixel(float eyeX, float eyeY) const {
        const double halfHeight = 13 * std::tan(22.5 * M_PI / 180);
        const double halfWidth = halfHeight * Width / Height;
        const int column = static_cast<int>((eyeX / halfWidth + 1) / 2 * Width);
        const int row = static_cast<int>((1 - eyeY / halfHeight) / 2 * Height);
        return PixelAt(column, row);
    }

    Rgb PixelAt(int column, int row) const {
        const uint8_t* pixel = &Pixels[(static_cast<size_t>(row) * Width + column) * 4];
        return {pixel[0], pixel[1], pixel[2]};
    }

    void Save(const std::string& name) const {
        WritePng(OutputFolder / (name + ".png"), Width, Height, Pixels);
    }

    fs::path Folder;
    RecordingSink Sink;
    SteppedClock Clock{1.0 / 60};
    SceneFunctions Scene;
    std::optional<HeadlessRenderer> Renderer;
    std::vector<uint8_t> Pixels;
};

TEST_F(SceneTest, TheSettingsGiveNumPlusOneFish) {
    struct Case {
        const char* Num; // nullptr: no settings file
        size_t Fish;
    };
    for (const Case& c : {Case{nullptr, 41}, Case{"10", 11}, Case{"-1", 0}, Case{"0x10", 17},
                          Case{"abc", 41}, Case{"2147483647", 10001}}) {
        fs::remove(Folder / "Tavren.ini");
        if (c.Num != nullptr) {
            WriteSettings(c.Num);
        }
        Renderer.reset();
        Render(0);
        ASSERT_TRUE(SceneSchool);
        EXPECT_EQ(SceneSchool->Fish().size(), c.Fish) << (c.Num ? c.Num : "no file");
    }
    EXPECT_TRUE(Sink.Messages.empty());
}

TEST_F(SceneTest, ShowsFishBackgroundAndFloor) {
    Render(30);
    Save("scene");
    EXPECT_TRUE(Sink.Messages.empty());
    // The corners beside the background strip keep the clear colour (0.3, 0.3, 1).
    const Rgb corner = PixelAt(0, 0);
    EXPECT_NEAR(corner.R, 77, 1);
    EXPECT_EQ(corner.B, 255);
    // The floor fills the bottom of the frame: grey-blue sand, lit by caustics.
    int floorPixels = 0;
    for (int column = 0; column < Width; column += 8) {
        const Rgb pixel = PixelAt(column, Height - 2);
        floorPixels += pixel.R > 60 && std::abs(pixel.R - pixel.G) < 40 && pixel.B >= pixel.R;
    }
    EXPECT_GT(floorPixels, Width / 8 * 3 / 4);
}

TEST_F(SceneTest, AMissingBackgroundGivesOneMessageAndAPlainQuad) {
    fs::remove(Folder / "Tavren200.bmp");
    WriteSettings("-1");
    Render(3);
    Save("scene-without-background");
    ASSERT_EQ(Sink.Messages.size(), 1u);
    EXPECT_EQ(Sink.Messages[0], "BMP Unit: Error opening " + DataFolderPrefix() + "Tavren200.bmp");
    EXPECT_EQ(BackgroundTexture, 0u);
    // White under the fog of depth 13: 0.76 white and 0.24 of the fog's (0, 0, 0.8).
    const Rgb plain = BackgroundPixel(0, 4.5f);
    EXPECT_NEAR(plain.R, 194, 6);
    EXPECT_NEAR(plain.G, 194, 6);
    EXPECT_NEAR(plain.B, 243, 6);
}

TEST_F(SceneTest, TheBackgroundIsShownMirrored) {
    // A strip whose left eighth is red and the rest green.
    RgbPicture strip{1024, 160, {}};
    for (int row = 0; row < 160; ++row) {
        for (int column = 0; column < 1024; ++column) {
            const bool left = column < 128;
            strip.Pixels.insert(strip.Pixels.end(), {static_cast<uint8_t>(left ? 255 : 0),
                                                     static_cast<uint8_t>(left ? 0 : 255), 0});
        }
    }
    WriteBitmapFile((Folder / "Tavren200.bmp").string(), strip);
    WriteSettings("-1");
    Render(3);
    Save("scene-mirrored-background");
    const Rgb right = BackgroundPixel(7.5f, 4.5f);
    const Rgb left = BackgroundPixel(-7.5f, 4.5f);
    EXPECT_GT(right.R, 150);
    EXPECT_LT(right.G, 60);
    EXPECT_GT(left.G, 150);
    EXPECT_LT(left.R, 60);
}

TEST_F(SceneTest, TheCausticsMoveEveryFrameAndRepeatAfter32) {
    WriteSettings("-1"); // no fish: only the caustics change between frames
    std::vector<std::vector<uint8_t>> frames;
    Render(1);
    for (int frame = 0; frame < 33; ++frame) {
        Render(1);
        frames.push_back(Pixels);
    }
    EXPECT_NE(frames[0], frames[1]);
    EXPECT_NE(frames[0], frames[16]);
    EXPECT_EQ(frames[0], frames[32]);
}

TEST_F(SceneTest, TheFarFloorFadesToTheFogColour) {
    WriteSettings("-1");
    Render(3);
    // Down the middle of the frame, from the nearest floor to the farthest, the sand takes
    // on more and more of the fog's deep blue: red falls against blue.
    auto blueness = [&](int firstRow, int lastRow) {
        double red = 0;
        double blue = 0;
        for (int row = firstRow; row <= lastRow; ++row) {
            for (int column = Width / 4; column < Width * 3 / 4; ++column) {
                const Rgb pixel = PixelAt(column, row);
                red += pixel.R;
                blue += pixel.B;
            }
        }
        return blue / red;
    };
    // The bottom rows are the nearest sand; the rows just below the dip of the dune in the
    // middle are the farthest.
    const double near = blueness(Height - 40, Height - 1);
    const double far = blueness(Height * 37 / 100, Height * 40 / 100);
    EXPECT_GT(far, near * 1.1);
}

int RunTool(const std::string& arguments) {
    const int status = std::system((std::string(TAVREN_TOOL) + " " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RenderCommand, TheSameCommandGivesTheSamePicture) {
    const std::string common = "render --data " + CompleteDataFolder.string() +
                               " --size 96x54 --frames 20 --fps 30 --seed 5 --out ";
    const fs::path first = OutputFolder / "render-first.png";
    const fs::path second = OutputFolder / "render-second.png";
    ASSERT_EQ(RunTool(common + first.string() + " > /dev/null"), 0);
    ASSERT_EQ(RunTool(common + second.string() + " > /dev/null"), 0);
    const RgbaPicture a = ReadPng(first);
    EXPECT_EQ(a.Width, 96);
    EXPECT_EQ(a.Height, 54);
    EXPECT_EQ(a.Pixels, ReadPng(second).Pixels);
}

TEST(RenderCommand, ChecksEveryFrameForGlErrors) {
    const fs::path out = OutputFolder / "render-checked.png";
    const fs::path report = OutputFolder / "render-checked.txt";
    ASSERT_EQ(RunTool("render --data " + CompleteDataFolder.string() +
                      " --fish 3 --size 32x32 --frames 5 --fps 30 --check --out " + out.string() +
                      " > " + report.string()),
              0);
    std::ifstream text(report);
    const std::string printed((std::istreambuf_iterator<char>(text)), {});
    EXPECT_NE(printed.find("resident memory after frame 5: "), std::string::npos) << printed;
    EXPECT_NE(printed.find("GL errors: 0"), std::string::npos) << printed;
}

TEST(RenderCommand, RefusesABadCommandLineWithStatusTwo) {
    const fs::path out = OutputFolder / "never-written.png";
    fs::remove(out);
    for (const char* arguments :
         {"render --size 64 --out ", "render --frames 0 --out ", "render --fps 0 --out ",
          "render --seed x --out ", "render --frames 2 --frames 3 --out ",
          "render --fish -1 --out ", "paint --out "}) {
        EXPECT_EQ(RunTool(arguments + out.string() + " 2> /dev/null"), 2) << arguments;
    }
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace tavren
