// The settings dialog, its skinned buttons and the preview of the Windows screensaver under
// Wine, driven with xdotool: what the dialog shows, what its controls do, what "設定" writes
// and "ｷｬﾝｾﾙ" does not, and the preview inside a host window made by the helper program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Boids/Pictures.h"
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/WineFrontEnd.h"
#include "tools/PngFile.h"

namespace tavren::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char DialogTitle[] = "<タヴレン>";

const fs::path Assets = EnvironmentValue("TAVREN_E2E_ASSETS");
const fs::path Output = EnvironmentValue("TAVREN_E2E_OUTPUT");

using Colour = std::array<int, 3>;

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// A pixel of one of our 24-bit skin bitmaps (bottom row first, rows of whole words).
Colour SkinPixel(const std::string& name, int x, int y) {
    const std::string file = ReadFile(Assets / "frontend" / (name + ".bmp"));
    const auto number = [&](size_t at) {
        return static_cast<int>(static_cast<uint8_t>(file.at(at)) |
                                static_cast<uint8_t>(file.at(at + 1)) << 8);
    };
    const int width = number(18);
    const int height = number(22);
    const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t at = 54 + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
    return {static_cast<uint8_t>(file.at(at + 2)), static_cast<uint8_t>(file.at(at + 1)),
            static_cast<uint8_t>(file.at(at))};
}

bool Near(const Colour& a, const Colour& b, int tolerance = 6) {
    for (size_t channel = 0; channel < 3; ++channel) {
        if (std::abs(a[channel] - b[channel]) > tolerance) {
            return false;
        }
    }
    return true;
}

std::string Text(const Colour& colour) {
    return std::to_string(colour[0]) + "," + std::to_string(colour[1]) + "," +
           std::to_string(colour[2]);
}

// A button of the dialog: its rectangle in the client area.
struct Button {
    const char* Name;
    Rectangle Area;
};
const Button MusicFileButton{"...", {48, 196, 29, 21}};
const Button OtherWorksButton{"その他の作品", {192, 264, 125, 25}};
const Button SetButton{"設定", {320, 264, 73, 25}};
const Button CancelButton{"ｷｬﾝｾﾙ", {396, 264, 69, 25}};
// Client positions of the music kinds' radio images (kinds 0, 1, 2) and the file kind's label.
const Point RadioImages[3] = {{32, 156}, {32, 136}, {32, 176}};
const Point FileKindLabel{58, 182};
const Rectangle NumberLabel{196, 20, 81, 13};
const Point ScrollThumb{236, 44};

class WineDialogTest : public WineFrontEndTest {
protected:
    void SetUp() override {
        WineFrontEndTest::SetUp();
        Client.MovePointer(Away);
    }

    // Opens the dialog and waits until its shading and buttons are painted.
    void OpenDialog() {
        Saver = StartSaver({"/c"});
        const auto window = Client.WaitForWindow(DialogTitle, WindowDeadline);
        ASSERT_TRUE(window) << "no window titled " << DialogTitle;
        ASSERT_TRUE(WaitUntil(
            [&] {
                const auto area = Client.WindowRectangle(*window);
                if (!area || area->Width != 479 || area->Height != 307) {
                    return false;
                }
                Origin = {area->X, area->Y};
                return ButtonShows(Screenshot("open.png"), SetButton, "Normal");
            },
            WindowDeadline))
            << "the dialog did not paint";
    }

    RgbaPicture Screenshot(const std::string& name) {
        const fs::path file = Folder.Path() / name;
        const CommandResult capture =
            RunCommand({"import", "-window", "root", file.string()},
                       ProcessEnvironment::Inherited().Set("DISPLAY", Xvfb.DisplayName()));
        EXPECT_EQ(capture.ExitCode, 0) << "no screenshot " << file;
        return ReadPng(file);
    }

    // The dialog's client area, kept for the documentation.
    void KeepDialogPicture(const std::string& name) {
        const RgbaPicture screen = Screenshot(name);
        std::vector<uint8_t> dialog;
        for (int y = 0; y < 307; ++y) {
            const auto row = screen.Pixels.begin() + ((Origin.Y + y) * screen.Width + Origin.X) * 4;
            dialog.insert(dialog.end(), row, row + 479 * 4);
        }
        WritePng(Output / name, 479, 307, dialog);
    }

    // A pixel at x, y of the dialog's client area.
    Colour At(const RgbaPicture& screen, int x, int y) const {
        const uint8_t* p =
            &screen.Pixels[(static_cast<size_t>(Origin.Y + y) * screen.Width + Origin.X + x) * 4];
        return {p[0], p[1], p[2]};
    }

    // The button's left border, across its middle row, is the skin's.
    bool ButtonShows(const RgbaPicture& screen, const Button& button, const std::string& skin) {
        const int row = button.Area.Y + button.Area.Height / 2;
        for (int x = 0; x < 4; ++x) {
            if (!Near(At(screen, button.Area.X + x, row), SkinPixel(skin, x, 12), 10)) {
                return false;
            }
        }
        return true;
    }

    bool RadioMarked(const RgbaPicture& screen, int kind) {
        const Point image = RadioImages[kind];
        return Near(At(screen, image.X + 6, image.Y + 6), SkinPixel("RadioOn", 6, 6), 10);
    }

    void ClickAt(Point point, int mouseButton = 1) {
        Client.MovePointer(Origin + point);
        std::this_thread::sleep_for(200ms);
        Client.Click(mouseButton);
    }

    void Press(const Button& button, int mouseButton = 1) {
        ClickAt({button.Area.X + button.Area.Width / 2, button.Area.Y + button.Area.Height / 2},
                mouseButton);
    }

    std::string Setting(const std::string& key) {
        return FirstLine(
            RunHelper({"read-setting", WinePath(SettingsFile), "Section", key}).Output);
    }

    const Point Away{5, 5};
    const fs::path SettingsFile = DataFolder / "Tavren.ini";
    std::unique_ptr<ChildProcess> Saver;
    Point Origin{0, 0};
};

TEST_F(WineDialogTest, WithoutSettingsItShowsTheDefaultsItsShadingAndItsButtons) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    KeepDialogPicture("dialog.png");
    const RgbaPicture screen = Screenshot("defaults.png");

    // The form: blue-tinted, darkest at its top and bottom rows, brightest in the middle.
    const Colour top = At(screen, 3, 0);
    const Colour middle = At(screen, 3, 153);
    const Colour bottom = At(screen, 3, 306);
    EXPECT_LT(top[0], 20) << Text(top);
    EXPECT_LT(bottom[0], 20) << Text(bottom);
    EXPECT_GT(middle[0], 200) << Text(middle);
    EXPECT_NEAR(middle[2] - middle[0], 30, 3) << Text(middle);
    // The music panel: grey and lighter than the form beside it.
    const Colour panel = At(screen, 17, 164);
    const Colour form = At(screen, 3, 164);
    EXPECT_GT(panel[0], form[0]) << Text(panel) << " against " << Text(form);
    EXPECT_TRUE(panel[0] == panel[1] && panel[1] == panel[2]) << Text(panel);
    EXPECT_LT(At(screen, 17, 81)[0], panel[0]) << "the panel's top row is not darker";

    for (const Button& button : {OtherWorksButton, SetButton, CancelButton}) {
        EXPECT_TRUE(ButtonShows(screen, button, "Normal")) << button.Name;
    }
    EXPECT_TRUE(ButtonShows(screen, MusicFileButton, "Disable")) << "... is not disabled";
    EXPECT_TRUE(RadioMarked(screen, 0));
    EXPECT_FALSE(RadioMarked(screen, 1));
    EXPECT_FALSE(RadioMarked(screen, 2));

    Press(SetButton);
    EXPECT_EQ(Saver->WaitForExit(ExitDeadline), 0) << "the dialog did not close";
    const std::map<std::string, std::string> expected = {
        {"Num", "50"}, {"BGM区分", "0"}, {"BGMﾘﾋﾟｰﾄ", "0"}, {"BGMﾌｧｲﾙ", ""}};
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(Setting(key), value) << key;
    }
}

TEST_F(WineDialogTest, DraggingTheBarChoosingTheFileKindAndSavingWritesThem) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    const RgbaPicture before = Screenshot("before-drag.png");
    Client.MovePointer(Origin + ScrollThumb);
    std::this_thread::sleep_for(200ms);
    Client.ButtonDown(1);
    for (int step = 1; step <= 4; ++step) {
        Client.MovePointer(Origin + ScrollThumb + Point{step * 4, 0});
        std::this_thread::sleep_for(100ms);
    }
    std::this_thread::sleep_for(300ms);
    const RgbaPicture dragging = Screenshot("dragging.png");
    Client.ButtonUp(1);
    int changed = 0;
    for (int y = NumberLabel.Y; y < NumberLabel.Y + NumberLabel.Height; ++y) {
        for (int x = NumberLabel.X; x < NumberLabel.X + NumberLabel.Width; ++x) {
            changed += At(before, x, y) != At(dragging, x, y);
        }
    }
    EXPECT_GT(changed, 0) << "the number did not change while dragging";

    ClickAt(FileKindLabel);
    Client.MovePointer(Away);
    bool enabled = false;
    WaitUntil(
        [&] {
            const RgbaPicture screen = Screenshot("file-kind.png");
            enabled = ButtonShows(screen, MusicFileButton, "Normal") && RadioMarked(screen, 2) &&
                      !RadioMarked(screen, 0);
            return enabled;
        },
        5s);
    EXPECT_TRUE(enabled) << "clicking MP3、WAV did not mark it and enable ...";
    KeepDialogPicture("dialog-music-file.png");

    // "..." asks for the file with the system's open-file box; the chosen path is kept.
    const fs::path song = Folder.Path() / "song.mp3";
    std::ofstream(song) << "not really music";
    Press(MusicFileButton);
    const auto openFile = Client.WaitForWindow("ﾌｧｲﾙを開く", WindowDeadline);
    ASSERT_TRUE(openFile) << "no open-file box";
    // Without a window manager the keys go where the pointer clicked: the file name field.
    const auto box = Client.WindowRectangle(*openFile);
    ASSERT_TRUE(box);
    std::this_thread::sleep_for(500ms);
    Client.MovePointer(Point{box->X + 200, box->Y + 190});
    Client.Click(1);
    std::this_thread::sleep_for(300ms);
    Client.TypeText(WinePath(song));
    Client.KeyDown("Return");
    Client.KeyUp("Return");
    EXPECT_TRUE(WaitUntil([&] { return Client.FindWindows("ﾌｧｲﾙを開く").empty(); }, ExitDeadline))
        << "the open-file box stayed";

    Press(SetButton);
    EXPECT_EQ(Saver->WaitForExit(ExitDeadline), 0) << "the dialog did not close";
    const int fish = std::atoi(Setting("Num").c_str());
    EXPECT_GT(fish, 50) << "the dragged number was not saved";
    EXPECT_LE(fish, 100);
    EXPECT_EQ(Setting("BGM区分"), "2");
    EXPECT_EQ(Setting("BGMﾘﾋﾟｰﾄ"), "0");
    EXPECT_EQ(Setting("BGMﾌｧｲﾙ"), WinePath(song));
}

// Any mouse button clicks a Command button: here the right one.
TEST_F(WineDialogTest, CancelWithTheRightButtonAfterChangesWritesNothing) {
    fs::create_directories(DataFolder);
    ASSERT_EQ(RunHelper({"write-setting", WinePath(SettingsFile), "Section", "Num", "20"}).ExitCode,
              0);
    const std::string saved = ReadFile(SettingsFile);
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ClickAt(FileKindLabel);
    ClickAt(ScrollThumb + Point{36, 0}); // the right arrow
    Press(CancelButton, 3);
    EXPECT_EQ(Saver->WaitForExit(ExitDeadline), 0) << "the dialog did not close";
    EXPECT_EQ(ReadFile(SettingsFile), saved);
}

TEST_F(WineDialogTest, HoveringOverAButtonChangesItsFaceAndLeavingRestoresIt) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    Client.MovePointer(Origin + Point{SetButton.Area.X + 30, SetButton.Area.Y + 12});
    EXPECT_TRUE(
        WaitUntil([&] { return ButtonShows(Screenshot("hover.png"), SetButton, "HighLight"); }, 2s))
        << "no hover face";
    KeepDialogPicture("dialog-hover.png");
    // The poll, every 100 ms, finds the cursor elsewhere.
    Client.MovePointer(Away);
    EXPECT_TRUE(
        WaitUntil([&] { return ButtonShows(Screenshot("left.png"), SetButton, "Normal"); }, 1s))
        << "the face did not come back after the cursor left";
}

TEST_F(WineDialogTest, ThePreviewBecomesTheHostsChildAndEndsWithIt) {
    const fs::path handleFile = Folder.Path() / "host.txt";
    const int output = open(handleFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(output, 0);
    ChildDescriptors descriptors;
    descriptors.Output = output;
    ChildProcess host({"wine", Helper.string(), "host", "Tavren test host"}, Environment(),
                      descriptors);
    close(output);
    std::string handle;
    ASSERT_TRUE(WaitUntil(
        [&] {
            handle = FirstLine(ReadFile(handleFile));
            return !handle.empty();
        },
        WindowDeadline))
        << "the host window was not made";

    const std::unique_ptr<ChildProcess> preview = StartSaver({"/p", handle});
    std::string child;
    EXPECT_TRUE(WaitUntil(
        [&] {
            child = FirstLine(RunHelper({"child", "Tavren test host"}).Output);
            return child == "Tavren_R\tPreview Window\t0 0 200 150";
        },
        WindowDeadline))
        << child;
    EXPECT_FALSE(fs::exists(DataFolder)) << "the preview made the data folder";

    EXPECT_EQ(RunHelper({"close", "Tavren test host"}).ExitCode, 0);
    EXPECT_EQ(host.WaitForExit(ExitDeadline), 0);
    EXPECT_EQ(preview->WaitForExit(ExitDeadline), 0) << "the preview outlived its host";
}

// Without a host the form shows as an ordinary window: the picture at its top left.
TEST_F(WineDialogTest, APreviewWithoutAHostShowsThePictureAtItsOwnSize) {
    const std::unique_ptr<ChildProcess> preview = StartSaver({"/p", "0"});
    const auto window = Client.WaitForWindow("Preview Window", WindowDeadline);
    ASSERT_TRUE(window);
    const auto decoded = ReadJpegFile((Assets / "pictures" / "Preview.jpg").string());
    ASSERT_TRUE(std::holds_alternative<Picture>(decoded));
    const Picture& picture = std::get<Picture>(decoded);
    ASSERT_EQ(picture.Width, 152);
    ASSERT_EQ(picture.Height, 112);
    const int components = ComponentCount(picture.Format);
    double difference = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const auto area = Client.WindowRectangle(*window);
            if (!area || area->Width != 152 || area->Height != 112) {
                return false;
            }
            Origin = {area->X, area->Y};
            const RgbaPicture screen = Screenshot("preview.png");
            difference = 0;
            for (int y = 0; y < 112; ++y) {
                const uint8_t* row = &picture.Pixels[picture.RowStride() * (111 - y)];
                for (int x = 0; x < 152; ++x) {
                    const Colour shown = At(screen, x, y);
                    for (int channel = 0; channel < 3; ++channel) {
                        difference += std::abs(shown[channel] - row[x * components + channel]);
                    }
                }
            }
            difference /= 152.0 * 112 * 3;
            return difference < 6;
        },
        WindowDeadline))
        << "mean difference " << difference;
}

} // namespace
} // namespace tavren::e2e

int main(int argc, char** argv) {
    using namespace tavren::e2e;
    return WineRun::RunAllTests(
        argc, argv,
        {Dist / SaverName, Dist / PackageName, Helper, Assets / "frontend" / "Normal.bmp"});
}
