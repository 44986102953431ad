// One run of the renderer on a private X display, driven the way a user drives it. Each
// platform's tests derive from RendererRunTest and say how the renderer starts and how another
// program asks its window to close; the ways a run ends, or must not end, are one table for all.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/XClient.h"
#include "tools/PngFile.h"

namespace tavren::e2e {

inline constexpr char RendererTitle[] = "Tavren_Quorin";

enum class UserAction { HoldEscape, RequestClose, MovePointer };

struct ExitCase {
    const char* Name;
    UserAction Action;
    // Where MovePointer puts the pointer, from where it was when the run started.
    Point Offset;
    bool EndsRun;

    friend void PrintTo(const ExitCase& exitCase, std::ostream* out) { *out << exitCase.Name; }
};

// A run ends on Escape, on a close request, and once the pointer is more than 30 pixels from
// its start on both axes at once.
inline const ExitCase ExitCases[] = {
    {"Escape", UserAction::HoldEscape, {}, true},
    {"CloseRequest", UserAction::RequestClose, {}, true},
    {"Move31x31", UserAction::MovePointer, {31, 31}, true},
    {"MoveMinus31xMinus31", UserAction::MovePointer, {-31, -31}, true},
    {"Move200x0", UserAction::MovePointer, {200, 0}, false},
    {"Move30x30", UserAction::MovePointer, {30, 30}, false},
};

std::string ExitCaseName(const testing::TestParamInfo<ExitCase>& info);

class RendererRunTest : public testing::Test {
protected:
    virtual std::vector<std::string> RendererCommand() = 0;
    virtual ProcessEnvironment RendererEnvironment() = 0;
    // Asks the renderer's window to close the way another program would.
    virtual void RequestClose() = 0;

    // Starts the renderer with the pointer at the centre of the screen and waits until its
    // window shows and its message loop runs, which it enters once it has read the pointer's
    // start position and hidden the cursor.
    void StartRenderer();
    // Starts a run, does what the case says, and checks that the run ends with exit code 0 or,
    // for a case that must not end it, that it goes on until a move of 31/31 ends it.
    void CheckExitCase(const ExitCase& exitCase);
    // Starts a run on the complete data folder, takes two screenshots a second apart (kept
    // as `screenshotName` in the test output folder) and checks that the sea floor, the
    // background strip and fish moving in front of it are on screen; then ends the run.
    void CheckSceneShows(const std::string& screenshotName);
    // The whole screen, kept as `name` in the test output folder.
    RgbaPicture Screenshot(const std::string& name);

    XvfbServer Xvfb{1024, 768};
    XClient Client{Xvfb.DisplayName()};
    std::optional<ChildProcess> Renderer;
    XWindow RendererWindow = 0;
    Point StartPointer;
};

} // namespace tavren::e2e
