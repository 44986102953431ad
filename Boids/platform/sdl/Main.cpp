// The renderer on Linux: one borderless OpenGL window through SDL2, covering the screen
// without changing the display mode.
#define SDL_MAIN_HANDLED
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include "../../ExtOpenGL.h"
#include "../../Scene.h"
#include "SdlKeys.h"
#include "SdlMessageSink.h"

namespace tavren {

namespace {

constexpr char WindowTitle[] = "Tavren_Quorin";
constexpr Uint64 TitleTimerPeriodMs = 1000;

} // namespace

SDL_Window* RendererWindow = nullptr;
SDL_GLContext RenderContext = nullptr;

class SdlRendererPlatform final : public RendererPlatform {
public:
    explicit SdlRendererPlatform(RendererShell*& shell) : Shell(shell) {}

    bool RegisterRendererClass() override { return SDL_Init(SDL_INIT_VIDEO) == 0; }

    ScreenSize RendererWindowSize() override {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
            return {};
        }
        return {mode.w, mode.h};
    }

    bool CreateRendererWindow(int32_t width, int32_t height) override {
        // The visual is fixed when an X window is made, so the pixel format is asked for here:
        // 8 bits for each of red, green and blue (32-bit colour), no alpha, 16-bit depth.
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        RendererWindow =
            SDL_CreateWindow(WindowTitle, 0, 0, width, height,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
        return RendererWindow != nullptr;
    }

    bool GetRendererDC() override { return true; }
    bool SetRendererPixelFormat(int32_t) override { return true; }

    bool CreateRenderContext() override {
        RenderContext = SDL_GL_CreateContext(RendererWindow);
        if (RenderContext == nullptr || SDL_GL_MakeCurrent(RendererWindow, RenderContext) != 0) {
            return false;
        }
        SDL_GL_SetSwapInterval(1);
        return true;
    }

    void StartTitleTimer() override {
        TitleTimerRunning = true;
        NextTitleTick = SDL_GetTicks64() + TitleTimerPeriodMs;
    }

    void ShowRendererWindow() override {
        SDL_ShowWindow(RendererWindow);
        SDL_RaiseWindow(RendererWindow);
        SDL_SetWindowInputFocus(RendererWindow);
    }

    void DeleteRenderContext() override {
        if (RenderContext != nullptr) {
            SDL_GL_MakeCurrent(RendererWindow, nullptr);
            SDL_GL_DeleteContext(RenderContext);
        }
        RenderContext = nullptr;
    }

    void ReleaseRendererDC() override {}

    void DestroyRendererWindow() override {
        if (RendererWindow != nullptr) {
            SDL_DestroyWindow(RendererWindow);
        }
        RendererWindow = nullptr;
        TitleTimerRunning = false;
    }

    void UnregisterRendererClass() override { SDL_Quit(); }

    bool PeekRendererMessage(RendererMessage& message) override {
        if (QuitPosted) {
            QuitPosted = false;
            message = {MessageQuit, 0, 0};
            return true;
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (TranslateEvent(event, message)) {
                return true;
            }
        }
        // Like a Win32 timer, the title timer's message comes only when the queue is empty.
        const Uint64 now = SDL_GetTicks64();
        if (TitleTimerRunning && now >= NextTitleTick) {
            NextTitleTick = now + TitleTimerPeriodMs;
            message = {MessageTimer, TitleTimerId, 0};
            return true;
        }
        return false;
    }

    void DispatchRendererMessage(const RendererMessage& message) override {
        if (Shell != nullptr) {
            Shell->RendererWindowProc(message);
        }
    }

    void SwapRendererBuffers() override { SDL_GL_SwapWindow(RendererWindow); }

    ScreenPoint CursorPosition() override {
        int x = 0;
        int y = 0;
#if defined(SDL_VIDEO_DRIVER_X11)
        // SDL caches the global mouse state on X11 and may miss pointer warps; ask the server.
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (RendererWindow != nullptr && SDL_GetWindowWMInfo(RendererWindow, &info) &&
            info.subsystem == SDL_SYSWM_X11) {
            Display* display = info.info.x11.display;
            Window root = 0;
            Window child = 0;
            int windowX = 0;
            int windowY = 0;
            unsigned int buttons = 0;
            if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX,
                              &windowY, &buttons)) {
                return {x, y};
            }
        }
#endif
        SDL_GetGlobalMouseState(&x, &y);
        return {x, y};
    }

    void ShowRendererCursor(bool show) override {
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }
    void PostQuit() override {
        QuitPosted = true;
    }
    void ResetTitle() override {
        SDL_SetWindowTitle(RendererWindow, WindowTitle);
    }

private:
    static bool TranslateEvent(const SDL_Event& event, RendererMessage& message) {
        switch (event.type) {
        case SDL_QUIT:
            message = {MessageClose, 0, 0};
            return true;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                message = {MessageClose, 0, 0};
                return true;
            }
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                message = {MessageSize, 0,
                           PackClientSize(static_cast<uint16_t>(event.window.data1),
                                          static_cast<uint16_t>(event.window.data2))};
                return true;
            }
            return false;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const uint32_t key = VirtualKeyOf(event.key.keysym.sym);
            if (key == 0) {
                return false;
            }
            message = {event.type == SDL_KEYDOWN ? MessageKeyDown : MessageKeyUp, key, 0};
            return true;
        }
        default:
            return false;
        }
    }

    RendererShell*& Shell;
    bool QuitPosted = false;
    bool TitleTimerRunning = false;
    Uint64 NextTitleTick = 0;
};

void RunRenderer() {
    RendererShell* shellPointer = nullptr;
    SdlRendererPlatform platform(shellPointer);
    SceneFunctions scene;
    RendererShell shell(platform, scene);
    shellPointer = &shell;
    shell.RunRenderer();
}

} // namespace tavren

int main() {
    tavren::SdlMessageSink messages;
    tavren::SetRendererMessages(&messages);
    tavren::SetGlProcLoader([](const char* name) {
        return reinterpret_cast<tavren::GlProcedure>(SDL_GL_GetProcAddress(name));
    });
    tavren::RunRenderer();
    tavren::SetRendererMessages(nullptr);
    return 0;
}
