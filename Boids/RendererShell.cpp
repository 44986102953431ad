#include "RendererShell.h"

#include <cstdlib>

namespace tavren {

namespace {

constexpr int32_t CursorExitDistance = 30;

} // namespace

void RendererShell::RunRenderer() {
    if (!OpenRendererWindow(32)) {
        return;
    }
    StartCursorPos = Platform.CursorPosition();
    Platform.ShowRendererCursor(false);

    for (;;) {
        RendererMessage message;
        if (Platform.PeekRendererMessage(message)) {
            if (message.Message == MessageQuit) {
                break;
            }
            Platform.DispatchRendererMessage(message);
            continue;
        }
        Scene.DrawScene();
        Platform.SwapRendererBuffers();
        if (FrameEndsRun()) {
            break;
        }
    }

    Platform.ShowRendererCursor(true);
    CloseRendererWindow();
    Scene.FreeScene();
}

bool RendererShell::FrameEndsRun() {
    if (KeyIsDown[KeyEscape]) {
        return true;
    }
    const ScreenPoint cursor = Platform.CursorPosition();
    const int64_t dx = std::llabs(int64_t{StartCursorPos.X} - cursor.X);
    const int64_t dy = std::llabs(int64_t{StartCursorPos.Y} - cursor.Y);
    return dx > CursorExitDistance && dy > CursorExitDistance;
}

bool RendererShell::OpenRendererWindow(int32_t colourBits) {
    if (!Platform.RegisterRendererClass()) {
        return false;
    }
    const ScreenSize size = Platform.RendererWindowSize();
    WindowWidth = size.Width;
    WindowHeight = size.Height;
    if (!Platform.CreateRendererWindow(WindowWidth, WindowHeight) || !Platform.GetRendererDC() ||
        !Platform.SetRendererPixelFormat(colourBits) || !Platform.CreateRenderContext()) {
        CloseRendererWindow();
        return false;
    }
    Platform.StartTitleTimer();
    Platform.ShowRendererWindow();
    Scene.ResizeScene(WindowWidth, WindowHeight);
    Scene.SetUpScene();
    return true;
}

void RendererShell::CloseRendererWindow() {
    Platform.DeleteRenderContext();
    Platform.ReleaseRendererDC();
    Platform.DestroyRendererWindow();
    Platform.UnregisterRendererClass();
}

std::optional<intptr_t> RendererShell::RendererWindowProc(const RendererMessage& message) {
    switch (message.Message) {
    case MessageCreate:
        return 0;
    case MessageSize: {
        const auto packed = static_cast<uint32_t>(message.LParam);
        Scene.ResizeScene(static_cast<int32_t>(packed & 0xFFFF),
                          static_cast<int32_t>(packed >> 16));
        return 0;
    }
    case MessageClose:
        Platform.PostQuit();
        return 0;
    case MessageKeyDown:
    case MessageKeyUp:
        // Win32 key codes are below 256; anything else has no slot to record.
        if (message.WParam < KeyIsDown.size()) {
            KeyIsDown[message.WParam] = message.Message == MessageKeyDown;
        }
        return 0;
    case MessageTimer:
        if (message.WParam == TitleTimerId) {
            Platform.ResetTitle();
        }
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace tavren
