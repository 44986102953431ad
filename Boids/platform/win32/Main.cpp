// The renderer on Windows: one borderless OpenGL window through Win32 and WGL.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <float.h>

#include "../../ExtOpenGL.h"
#include "../../Scene.h"
#include "MessageBoxSink.h"

namespace tavren {

static_assert(MessageCreate == WM_CREATE && MessageSize == WM_SIZE && MessageClose == WM_CLOSE &&
              MessageQuit == WM_QUIT && MessageKeyDown == WM_KEYDOWN && MessageKeyUp == WM_KEYUP &&
              MessageTimer == WM_TIMER && KeyEscape == VK_ESCAPE);
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

namespace {

constexpr char ClassName[] = "OpenGL";
constexpr char WindowTitle[] = "Tavren_Quorin";

} // namespace

HWND RendererWindow = nullptr;
HDC RendererDC = nullptr;
HGLRC RenderContext = nullptr;

// The shell of the running renderer, for the window procedure.
static RendererShell* Shell = nullptr;

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Shell != nullptr) {
        if (const auto result = Shell->RendererWindowProc({message, wParam, lParam})) {
            return *result;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class Win32RendererPlatform final : public RendererPlatform {
public:
    bool RegisterRendererClass() override {
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = RendererWindowProc;
        windowClass.hInstance = Instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ClassName;
        return RegisterClassA(&windowClass) != 0;
    }

    ScreenSize RendererWindowSize() override {
        return {GetSystemMetrics(SM_CXMAXIMIZED),
                GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION)};
    }

    bool CreateRendererWindow(int32_t width, int32_t height) override {
        RendererWindow = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, ClassName, WindowTitle,
                                         WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, width,
                                         height, nullptr, nullptr, Instance, nullptr);
        return RendererWindow != nullptr;
    }

    bool GetRendererDC() override {
        RendererDC = GetDC(RendererWindow);
        return RendererDC != nullptr;
    }

    bool SetRendererPixelFormat(int32_t colourBits) override {
        PIXELFORMATDESCRIPTOR descriptor{};
        descriptor.nSize = sizeof(descriptor);
        descriptor.nVersion = 1;
        descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        descriptor.iPixelType = PFD_TYPE_RGBA;
        descriptor.cColorBits = static_cast<BYTE>(colourBits);
        descriptor.cDepthBits = 16;
        const int format = ChoosePixelFormat(RendererDC, &descriptor);
        return format != 0 && SetPixelFormat(RendererDC, format, &descriptor);
    }

    bool CreateRenderContext() override {
        RenderContext = wglCreateContext(RendererDC);
        return RenderContext != nullptr && wglMakeCurrent(RendererDC, RenderContext);
    }

    void StartTitleTimer() override { SetTimer(RendererWindow, TitleTimerId, 1000, nullptr); }

    void ShowRendererWindow() override {
        ShowWindow(RendererWindow, SW_SHOW);
        SetForegroundWindow(RendererWindow);
        SetFocus(RendererWindow);
    }

    // Each release clears its handle whether or not it succeeded: a handle is never used twice.
    void DeleteRenderContext() override {
        wglMakeCurrent(RendererDC, nullptr);
        if (RenderContext != nullptr) {
            wglDeleteContext(RenderContext);
        }
        RenderContext = nullptr;
    }

    void ReleaseRendererDC() override {
        if (RendererDC != nullptr) {
            ReleaseDC(RendererWindow, RendererDC);
        }
        RendererDC = nullptr;
    }

    void DestroyRendererWindow() override {
        if (RendererWindow != nullptr) {
            DestroyWindow(RendererWindow);
        }
        RendererWindow = nullptr;
    }

    void UnregisterRendererClass() override { UnregisterClassA(ClassName, Instance); }

    bool PeekRendererMessage(RendererMessage& message) override {
        if (!PeekMessageA(&LastMessage, nullptr, 0, 0, PM_REMOVE)) {
            return false;
        }
        message = {LastMessage.message, LastMessage.wParam, LastMessage.lParam};
        return true;
    }

    void DispatchRendererMessage(const RendererMessage&) override {
        TranslateMessage(&LastMessage);
        DispatchMessageA(&LastMessage);
    }

    void SwapRendererBuffers() override { SwapBuffers(RendererDC); }

    ScreenPoint CursorPosition() override {
        POINT point{};
        GetCursorPos(&point);
        return {point.x, point.y};
    }

    void ShowRendererCursor(bool show) override { ShowCursor(show ? TRUE : FALSE); }
    void PostQuit() override { PostQuitMessage(0); }
    void ResetTitle() override { SetWindowTextA(RendererWindow, WindowTitle); }

private:
    HINSTANCE Instance = GetModuleHandleA(nullptr);
    MSG LastMessage{};
};

void RunRenderer() {
    Win32RendererPlatform platform;
    SceneFunctions scene;
    RendererShell shell(platform, scene);
    Shell = &shell;
    shell.RunRenderer();
    Shell = nullptr;
}

} // namespace tavren

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Division by zero and invalid operations give infinities and NaN, never a trap.
    _controlfp(_MCW_EM, _MCW_EM);
    tavren::MessageBoxSink messages;
    tavren::SetRendererMessages(&messages);
    tavren::SetGlProcLoader([](const char* name) {
        return reinterpret_cast<tavren::GlProcedure>(wglGetProcAddress(name));
    });
    tavren::RunRenderer();
    tavren::SetRendererMessages(nullptr);
    return 0;
}
