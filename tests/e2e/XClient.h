// The test's own client of an X display: it looks at windows, the pointer and the cursor
// through Xlib, and drives the keyboard and the pointer through xdotool (XTest), so that a
// program sees input exactly as if a user made it.
#pragma once

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/E2eSupport.h"

struct _XDisplay;

namespace tavren::e2e {

using XWindow = unsigned long;

struct Point {
    int X = 0;
    int Y = 0;

    friend bool operator==(const Point&, const Point&) = default;
    friend Point operator+(const Point& a, const Point& b) { return {a.X + b.X, a.Y + b.Y}; }
    friend std::ostream& operator<<(std::ostream& out, const Point& point) {
        return out << "(" << point.X << ", " << point.Y << ")";
    }
};

// Where a window is on the screen, and its size.
struct Rectangle {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;

    friend bool operator==(const Rectangle&, const Rectangle&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Rectangle& rectangle) {
        return out << rectangle.Width << "x" << rectangle.Height << " at (" << rectangle.X << ", "
                   << rectangle.Y << ")";
    }
};

class XClient {
public:
    explicit XClient(const std::string& displayName);
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    ~XClient();

    Rectangle ScreenRectangle();
    // Every window whose title is `title`, at any depth below the root.
    std::vector<XWindow> FindWindows(std::string_view title);
    // Waits up to `timeout` for a window titled `title` to show.
    std::optional<XWindow> WaitForWindow(std::string_view title, Clock::duration timeout);
    // Mapped, and so are all its ancestors.
    bool IsShown(XWindow window);
    // The window's place on the screen; empty once it is gone.
    std::optional<Rectangle> WindowRectangle(XWindow window);
    // Sends the window manager's close request (WM_DELETE_WINDOW), as a title bar's close
    // button would.
    void RequestClose(XWindow window);

    // A program that sets its title on a timer shows this way that its message loop runs.
    // Counts from now the times `window`'s title is set, even to the same text.
    void CountTitleSets(XWindow window);
    // Waits until the title has been set `count` times since the count began.
    bool WaitForTitleSets(int count, Clock::duration timeout);

    Point PointerPosition();
    // True while the cursor shown at the pointer has no visible pixel.
    bool CursorHidden();

    // Moves the pointer and waits until the server has it there.
    void MovePointer(Point to);
    // Presses or releases a key named as X names it ("Escape").
    void KeyDown(const std::string& key);
    void KeyUp(const std::string& key);
    // Presses, releases or clicks a mouse button (1 left, 2 middle, 3 right) where the
    // pointer is.
    void ButtonDown(int button);
    void ButtonUp(int button);
    void Click(int button);
    // Types the text as key strokes into the focused window.
    void TypeText(const std::string& text);

private:
    void RunXdotool(const std::vector<std::string>& arguments);

    _XDisplay* Connection = nullptr;
    XWindow TitleWindow = 0;
    int TitleSets = 0;
    ProcessEnvironment XdotoolEnvironment;
};

} // namespace tavren::e2e
