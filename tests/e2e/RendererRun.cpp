#include "tests/e2e/RendererRun.h"

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

} // namespace tavren::e2e
