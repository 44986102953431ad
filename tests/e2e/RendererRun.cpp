#include "tests/e2e/RendererRun.h"

#include "tools/PngFile.h"

#include <cstdlib>
#include <filesystem>

#include <utility>

namespace tavren::e2e {

namespace {

using namespace std::chrono_literals;

// Generous for a loaded machine: Wine may have to start its server first.
constexpr auto WindowDeadline = 30s;
// Under Wine, taking the window down waits two seconds for a window manager there is none of.
constexpr auto ExitDeadline = 20s;
// The renderer sets its title again every second, from its message loop.
constexpr auto TitleSetDeadline = 15s;

constexpr Point ExitingMove{31, 31};

// Holds a key down for as long as it lives: the renderer ends on Escape being down after a
// frame, which a quick press and release between two frames would miss.
class HeldKey {
public:
    HeldKey(XClient& client, std::string key) : Client(client), Key(std::move(key)) {
        Client.KeyDown(Key);
    }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    ~HeldKey() {
        try {
            Client.KeyUp(Key);
        } catch (const std::exception&) {
            // The display goes with the test.
        }
    }

private:
    XClient& Client;
    std::string Key;
};

} // namespace

std::string ExitCaseName(const testing::TestParamInfo<ExitCase>& info) {
    return info.param.Name;
}

void RendererRunTest::StartRenderer() {
    const Rectangle screen = Client.ScreenRectangle();
    StartPointer = {screen.Width / 2, screen.Height / 2};
    Client.MovePointer(StartPointer);
    ASSERT_FALSE(Client.CursorHidden());

    Renderer.emplace(RendererCommand(), RendererEnvironment());
    const std::optional<XWindow> window = Client.WaitForWindow(RendererTitle, WindowDeadline);
    ASSERT_TRUE(window) << "no window titled " << RendererTitle << " showed";
    RendererWindow = *window;
    // The loop's title timer shows that the loop runs. The cursor cannot: under Wine it is
    // blank over a new window before the renderer hides it.
    Client.CountTitleSets(RendererWindow);
    ASSERT_TRUE(Client.WaitForTitleSets(1, WindowDeadline)) << "the message loop did not start";
    ASSERT_TRUE(Client.CursorHidden());
}

void RendererRunTest::CheckExitCase(const ExitCase& exitCase) {
    ASSERT_NO_FATAL_FAILURE(StartRenderer());

    std::optional<HeldKey> escape;
    switch (exitCase.Action) {
    case UserAction::HoldEscape:
        escape.emplace(Client, "Escape");
        break;
    case UserAction::RequestClose:
        ASSERT_NO_FATAL_FAILURE(RequestClose());
        break;
    case UserAction::MovePointer:
        Client.MovePointer(StartPointer + exitCase.Offset);
        break;
    }

    if (!exitCase.EndsRun) {
        // Between two title sets, a second of frames has compared the pointer, in its new place,
        // with the start position.
        Client.CountTitleSets(RendererWindow);
        ASSERT_TRUE(Client.WaitForTitleSets(2, TitleSetDeadline)) << "the run ended";
        ASSERT_TRUE(Renderer->IsRunning());
        ASSERT_TRUE(Client.CursorHidden());
        Client.MovePointer(StartPointer + ExitingMove);
    }
    EXPECT_EQ(Renderer->WaitForExit(ExitDeadline), std::optional<int>(0));
}

RgbaPicture RendererRunTest::Screenshot(const std::string& name) {
    const std::filesystem::path file =
        std::filesystem::path(EnvironmentValue("TAVREN_E2E_OUTPUT")) / name;
    const CommandResult capture =
        RunCommand({"import", "-window", "root", file.string()},
                   ProcessEnvironment::Inherited().Set("DISPLAY", Xvfb.DisplayName()));
    EXPECT_EQ(capture.ExitCode, 0) << "no screenshot " << file;
    return ReadPng(file);
}

void RendererRunTest::CheckSceneShows(const std::string& screenshotName) {
    ASSERT_NO_FATAL_FAILURE(StartRenderer());
    Client.CountTitleSets(RendererWindow);
    ASSERT_TRUE(Client.WaitForTitleSets(1, TitleSetDeadline)) << "the run ended";
    const RgbaPicture first = Screenshot(screenshotName);
    Client.CountTitleSets(RendererWindow);
    ASSERT_TRUE(Client.WaitForTitleSets(1, TitleSetDeadline)) << "the run ended";
    const RgbaPicture second = Screenshot("later-" + screenshotName);
    ASSERT_EQ(first.Pixels.size(), second.Pixels.size());
    auto pixel = [&](const RgbaPicture& picture, int column, int row) {
        return &picture.Pixels[(static_cast<size_t>(row) * picture.Width + column) * 4];
    };

    // The floor: grey-blue sand across the bottom rows.
    int sand = 0;
    int bottom = 0;
    for (int column = 0; column < first.Width; column += 4, ++bottom) {
        const uint8_t* p = pixel(first, column, first.Height - 3);
        sand += p[0] > 50 && std::abs(p[0] - p[1]) < 30 && p[2] >= p[0];
    }
    EXPECT_GT(sand, bottom * 3 / 4) << "no sea floor in " << screenshotName;

    // The background strip fills the top rows, deep blue and still; what moves there a second
    // later is the fish swimming in front of it.
    int blue = 0;
    int moved = 0;
    int top = 0;
    for (int row = first.Height / 40; row < first.Height / 5; row += 2) {
        for (int column = first.Width / 8; column < first.Width * 7 / 8; column += 2, ++top) {
            const uint8_t* a = pixel(first, column, row);
            const uint8_t* b = pixel(second, column, row);
            blue += a[2] > a[0] + 60;
            moved += std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) > 60;
        }
    }
    EXPECT_GT(blue, top / 2) << "no background strip in " << screenshotName;
    EXPECT_GT(moved, 20) << "no fish moving in front of the background in " << screenshotName;

    Client.MovePointer(StartPointer + ExitingMove);
    EXPECT_EQ(Renderer->WaitForExit(ExitDeadline), std::optional<int>(0));
}

} // namespace tavren::e2e
