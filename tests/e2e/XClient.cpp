#include "tests/e2e/XClient.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <stdexcept>

namespace tavren::e2e {

namespace {

using namespace std::chrono_literals;

constexpr auto PointerMoveDeadline = 5s;
constexpr auto XdotoolDeadline = 10s;

// The windows under test come and go while the test looks at them; an error about a window
// that has just gone shows in the result of the call that met it, and ends nothing.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

std::optional<std::string> TextProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &data) != Success ||
        data == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    if (format == 8) {
        text.emplace(reinterpret_cast<const char*>(data), count);
    }
    XFree(data);
    return text;
}

std::string Title(Display* display, Window window) {
    if (auto title = TextProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False))) {
        return *title;
    }
    return TextProperty(display, window, XA_WM_NAME).value_or("");
}

void CollectWindows(Display* display, Window parent, std::string_view title,
                    std::vector<XWindow>& found) {
    Window root = 0;
    Window grandparent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &grandparent, &children, &count)) {
        return;
    }
    for (unsigned int i = 0; i < count; ++i) {
        if (Title(display, children[i]) == title) {
            found.push_back(children[i]);
        }
        CollectWindows(display, children[i], title, found);
    }
    if (children != nullptr) {
        XFree(children);
    }
}

} // namespace

XClient::XClient(const std::string& displayName)
    : XdotoolEnvironment(ProcessEnvironment::Inherited().Set("DISPLAY", displayName)) {
    Connection = XOpenDisplay(displayName.c_str());
    if (Connection == nullptr) {
        throw std::runtime_error("cannot open X display " + displayName);
    }
    XSetErrorHandler(IgnoreError);
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(Connection, &eventBase, &errorBase)) {
        XCloseDisplay(Connection);
        throw std::runtime_error("X display " + displayName + " lacks the XFIXES extension");
    }
}

XClient::~XClient() {
    XCloseDisplay(Connection);
}

Rectangle XClient::ScreenRectangle() {
    const int screen = DefaultScreen(Connection);
    return {0, 0, DisplayWidth(Connection, screen), DisplayHeight(Connection, screen)};
}

std::vector<XWindow> XClient::FindWindows(std::string_view title) {
    std::vector<XWindow> found;
    CollectWindows(Connection, DefaultRootWindow(Connection), title, found);
    return found;
}

std::optional<XWindow> XClient::WaitForWindow(std::string_view title, Clock::duration timeout) {
    std::optional<XWindow> shown;
    WaitUntil(
        [&] {
            for (const XWindow window : FindWindows(title)) {
                if (IsShown(window)) {
                    shown = window;
                    return true;
                }
            }
            return false;
        },
        timeout, 50ms);
    return shown;
}

bool XClient::IsShown(XWindow window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(Connection, window, &attributes) &&
           attributes.map_state == IsViewable;
}

std::optional<Rectangle> XClient::WindowRectangle(XWindow window) {
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(Connection, window, &attributes) ||
        !XTranslateCoordinates(Connection, window, DefaultRootWindow(Connection), 0, 0, &x, &y,
                               &child)) {
        return std::nullopt;
    }
    return Rectangle{x, y, attributes.width, attributes.height};
}

void XClient::RequestClose(XWindow window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(Connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(Connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(Connection, window, False, NoEventMask, &event);
    XSync(Connection, False);
}

void XClient::CountTitleSets(XWindow window) {
    XSelectInput(Connection, window, PropertyChangeMask);
    XSync(Connection, True);
    TitleWindow = window;
    TitleSets = 0;
}

bool XClient::WaitForTitleSets(int count, Clock::duration timeout) {
    return WaitUntil(
        [&] {
            XEvent event;
            while (XCheckTypedWindowEvent(Connection, TitleWindow, PropertyNotify, &event)) {
                if (event.xproperty.atom == XA_WM_NAME) {
                    ++TitleSets;
                }
            }
            return TitleSets >= count;
        },
        timeout);
}

Point XClient::PointerPosition() {
    Window root = 0;
    Window child = 0;
    Point position;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    XQueryPointer(Connection, DefaultRootWindow(Connection), &root, &child, &position.X,
                  &position.Y, &windowX, &windowY, &buttons);
    return position;
}

bool XClient::CursorHidden() {
    XFixesCursorImage* image = XFixesGetCursorImage(Connection);
    if (image == nullptr) {
        return false;
    }
    bool hidden = true;
    const int pixelCount = image->width * image->height;
    for (int i = 0; i < pixelCount && hidden; ++i) {
        // Each pixel is ARGB in the low 32 bits.
        hidden = (image->pixels[i] & 0xFF000000UL) == 0;
    }
    XFree(image);
    return hidden;
}

void XClient::MovePointer(Point to) {
    RunXdotool({"mousemove", std::to_string(to.X), std::to_string(to.Y)});
    if (!WaitUntil([&] { return PointerPosition() == to; }, PointerMoveDeadline)) {
        throw std::runtime_error("the pointer did not reach (" + std::to_string(to.X) + ", " +
                                 std::to_string(to.Y) + ")");
    }
}

void XClient::KeyDown(const std::string& key) {
    RunXdotool({"keydown", key});
}

void XClient::KeyUp(const std::string& key) {
    RunXdotool({"keyup", key});
}

void XClient::ButtonDown(int button) {
    RunXdotool({"mousedown", std::to_string(button)});
}

void XClient::ButtonUp(int button) {
    RunXdotool({"mouseup", std::to_string(button)});
}

void XClient::Click(int button) {
    RunXdotool({"click", std::to_string(button)});
}

void XClient::TypeText(const std::string& text) {
    RunXdotool({"type", "--delay", "20", text});
}

void XClient::RunXdotool(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const CommandResult result = RunCommand(command, XdotoolEnvironment, XdotoolDeadline);
    if (result.ExitCode != 0) {
        throw std::runtime_error("xdotool " + arguments.front() + " failed with exit code " +
                                 std::to_string(result.ExitCode));
    }
}

} // namespace tavren::e2e
