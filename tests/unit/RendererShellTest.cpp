#include "Boids/RendererShell.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace tavren {
namespace {

constexpr ScreenPoint Start{500, 400};
constexpr ScreenSize Screen{1024, 768};

// One step of a scripted run: a queued message, or an empty queue (a frame is drawn) with the
// cursor where the frame's exit test will find it.
struct ScriptStep {
    bool IsFrame = false;
    RendererMessage Message;
    ScreenPoint Cursor = Start;
};

ScriptStep Frame(ScreenPoint cursor = Start) {
    return {true, {}, cursor};
}
ScriptStep Frame(int32_t dx, int32_t dy) {
    return Frame({Start.X + dx, Start.Y + dy});
}
ScriptStep Message(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0) {
    return {false, {id, wParam, lParam}, {}};
}

// Records every call in order. When the script runs out it ends the run with a quit message,
// so a test can tell a run that ended by its own rules from one that was stopped.
class FakePlatform final : public RendererPlatform, public SceneHooks {
public:
    std::vector<std::string> Calls;
    std::deque<ScriptStep> Script;
    std::string FailingStep;
    RendererShell* Shell = nullptr;
    bool RanOutOfScript = false;
    int Frames = 0;

    bool Record(const std::string& call) {
        Calls.push_back(call);
        return call != FailingStep;
    }

    bool RegisterRendererClass() override { return Record("RegisterClass"); }
    ScreenSize RendererWindowSize() override { return Screen; }
    bool CreateRendererWindow(int32_t width, int32_t height) override {
        Calls.push_back("Window " + std::to_string(width) + "x" + std::to_string(height));
        return Record("CreateWindow");
    }
    bool GetRendererDC() override { return Record("GetDC"); }
    bool SetRendererPixelFormat(int32_t bits) override {
        return Record("PixelFormat " + std::to_string(bits));
    }
    bool CreateRenderContext() override { return Record("CreateContext"); }
    void StartTitleTimer() override { Record("StartTimer"); }
    void ShowRendererWindow() override { Record("ShowWindow"); }
    void DeleteRenderContext() override { Record("DeleteContext"); }
    void ReleaseRendererDC() override { Record("ReleaseDC"); }
    void DestroyRendererWindow() override { Record("DestroyWindow"); }
    void UnregisterRendererClass() override { Record("UnregisterClass"); }

    bool PeekRendererMessage(RendererMessage& message) override {
        if (Script.empty()) {
            RanOutOfScript = true;
            message = {MessageQuit, 0, 0};
            return true;
        }
        const ScriptStep next = Script.front();
        if (next.IsFrame) {
            Cursor = next.Cursor;
            Script.pop_front();
            return false;
        }
        Script.pop_front();
        message = next.Message;
        return true;
    }
    void DispatchRendererMessage(const RendererMessage& message) override {
        Shell->RendererWindowProc(message);
    }
    void SwapRendererBuffers() override { Record("Swap"); }
    ScreenPoint CursorPosition() override { return Cursor; }
    void ShowRendererCursor(bool show) override { Record(show ? "ShowCursor" : "HideCursor"); }
    void PostQuit() override {
        Record("PostQuit");
        Script.push_front(Message(MessageQuit));
    }
    void ResetTitle() override { Record("ResetTitle"); }

    void ResizeScene(int32_t width, int32_t height) override {
        Record("Resize " + std::to_string(width) + "x" + std::to_string(height));
    }
    void SetUpScene() override { Record("SetUpScene"); }
    void DrawScene() override {
        ++Frames;
        Record("Draw");
    }
    void FreeScene() override { Record("FreeScene"); }

private:
    ScreenPoint Cursor = Start;
};

class RendererShellTest : public testing::Test {
protected:
    FakePlatform Fake;
    RendererShell Shell{Fake, Fake};

    RendererShellTest() { Fake.Shell = &Shell; }

    void Run(std::vector<ScriptStep> script) {
        Fake.Script.assign(script.begin(), script.end());
        Shell.RunRenderer();
    }
};

const std::vector<std::string> OpeningCalls = {
    "RegisterClass",   "Window 1024x768", "CreateWindow", "GetDC",
    "PixelFormat 32",  "CreateContext",   "StartTimer",   "ShowWindow",
    "Resize 1024x768", "SetUpScene",      "HideCursor"};
const std::vector<std::string> ClosingCalls = {"ShowCursor",    "DeleteContext",   "ReleaseDC",
                                               "DestroyWindow", "UnregisterClass", "FreeScene"};

TEST_F(RendererShellTest, OpensDrawsAndTearsDownInOrder) {
    Run({Frame(31, 31)});

    std::vector<std::string> expected = OpeningCalls;
    expected.insert(expected.end(), {"Draw", "Swap"});
    expected.insert(expected.end(), ClosingCalls.begin(), ClosingCalls.end());
    EXPECT_EQ(Fake.Calls, expected);
    EXPECT_EQ(Shell.WindowWidth, Screen.Width);
    EXPECT_EQ(Shell.WindowHeight, Screen.Height);
    EXPECT_EQ(Shell.StartCursorPos.X, Start.X);
    EXPECT_EQ(Shell.StartCursorPos.Y, Start.Y);
    EXPECT_FALSE(Fake.RanOutOfScript);
}

struct CursorCase {
    int32_t Dx;
    int32_t Dy;
    bool EndsRun;
};

class CursorExitTest : public RendererShellTest, public testing::WithParamInterface<CursorCase> {};

TEST_P(CursorExitTest, EndsOnlyBeyondThirtyPixelsOnBothAxes) {
    const CursorCase cursor = GetParam();
    Run({Frame(cursor.Dx, cursor.Dy), Frame()});

    EXPECT_EQ(Fake.Frames, cursor.EndsRun ? 1 : 2);
    EXPECT_EQ(Fake.RanOutOfScript, !cursor.EndsRun);
}

INSTANTIATE_TEST_SUITE_P(Offsets, CursorExitTest,
                         testing::Values(CursorCase{30, 30, false}, CursorCase{31, 31, true},
                                         CursorCase{-31, -31, true}, CursorCase{31, -31, true},
                                         CursorCase{200, 0, false}, CursorCase{0, -200, false},
                                         CursorCase{31, 30, false}, CursorCase{200, 31, true}));

TEST_F(RendererShellTest, LevelMoveThenVerticalMoveEndsAfterTheNextFrame) {
    Run({Frame(200, 0), Frame(200, 0), Frame(200, -31), Frame()});

    EXPECT_EQ(Fake.Frames, 3);
    EXPECT_FALSE(Fake.RanOutOfScript);
}

TEST_F(RendererShellTest, EscapePressedAndReleasedWithinAFrameDoesNotEndTheRun) {
    Run({Frame(), Message(MessageKeyDown, KeyEscape), Message(MessageKeyUp, KeyEscape), Frame()});

    EXPECT_EQ(Fake.Frames, 2);
    EXPECT_TRUE(Fake.RanOutOfScript);
}

TEST_F(RendererShellTest, EscapeHeldEndsTheRunAfterTheNextFrame) {
    Run({Frame(), Message(MessageKeyDown, KeyEscape), Frame(), Frame()});

    EXPECT_EQ(Fake.Frames, 2);
    EXPECT_FALSE(Fake.RanOutOfScript);
}

TEST_F(RendererShellTest, CloseRequestQuitsBeforeAnotherFrame) {
    Run({Frame(), Message(MessageClose), Frame()});

    EXPECT_EQ(Fake.Frames, 1);
    EXPECT_FALSE(Fake.RanOutOfScript);
    const std::vector<std::string> tail(Fake.Calls.end() - 7, Fake.Calls.end());
    std::vector<std::string> expected = {"PostQuit"};
    expected.insert(expected.end(), ClosingCalls.begin(), ClosingCalls.end());
    EXPECT_EQ(tail, expected);
}

TEST_F(RendererShellTest, SizeMessageReachesResizeSceneUnchanged) {
    Run({Message(MessageSize, 0, PackClientSize(800, 0)),
         Message(MessageSize, 0, PackClientSize(65535, 65535))});

    EXPECT_EQ(Fake.Calls[OpeningCalls.size()], "Resize 800x0");
    EXPECT_EQ(Fake.Calls[OpeningCalls.size() + 1], "Resize 65535x65535");
    EXPECT_EQ(Fake.Frames, 0);
}

TEST_F(RendererShellTest, FailedClassRegistrationDoesNothingElse) {
    Fake.FailingStep = "RegisterClass";
    Run({Frame(), Frame()});

    EXPECT_EQ(Fake.Calls, std::vector<std::string>{"RegisterClass"});
}

class OpeningFailureTest : public RendererShellTest,
                           public testing::WithParamInterface<std::string> {};

TEST_P(OpeningFailureTest, UndoesWhatExistsAndDrawsNothing) {
    Fake.FailingStep = GetParam();
    Run({Frame(), Frame()});

    const auto failed = std::find(Fake.Calls.begin(), Fake.Calls.end(), GetParam());
    ASSERT_NE(failed, Fake.Calls.end());
    const std::vector<std::string> after(failed + 1, Fake.Calls.end());
    EXPECT_EQ(after, (std::vector<std::string>{"DeleteContext", "ReleaseDC", "DestroyWindow",
                                               "UnregisterClass"}));
    EXPECT_EQ(Fake.Frames, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, OpeningFailureTest,
                         testing::Values("CreateWindow", "GetDC", "PixelFormat 32",
                                         "CreateContext"));

TEST_F(RendererShellTest, WindowProcedureAnswersItsMessagesAndPassesOthersOn) {
    EXPECT_EQ(Shell.RendererWindowProc({MessageCreate, 0, 0}), 0);
    EXPECT_EQ(Shell.RendererWindowProc({MessageTimer, TitleTimerId, 0}), 0);
    EXPECT_EQ(Shell.RendererWindowProc({MessageTimer, 2, 0}), 0);
    EXPECT_EQ(Fake.Calls, std::vector<std::string>{"ResetTitle"});

    EXPECT_EQ(Shell.RendererWindowProc({MessageKeyDown, 'A', 0}), 0);
    EXPECT_TRUE(Shell.KeyIsDown['A']);
    EXPECT_EQ(Shell.RendererWindowProc({MessageKeyUp, 'A', 0}), 0);
    EXPECT_FALSE(Shell.KeyIsDown['A']);
    EXPECT_EQ(Shell.RendererWindowProc({MessageKeyDown, 256, 0}), 0);

    const uint32_t mouseMove = 0x0200;
    const uint32_t paint = 0x000F;
    EXPECT_EQ(Shell.RendererWindowProc({mouseMove, 0, 0}), std::nullopt);
    EXPECT_EQ(Shell.RendererWindowProc({paint, 0, 0}), std::nullopt);
    EXPECT_EQ(Fake.Calls, std::vector<std::string>{"ResetTitle"});
}

} // namespace
} // namespace tavren
