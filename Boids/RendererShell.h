// The renderer's spine: opening the window and context, the window procedure, the
// message-or-frame loop, the exit tests and the teardown. Written once for every platform;
// a platform supplies the window-system calls through RendererPlatform.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tavren {

// Message numbers and key codes are Win32's on every platform, so that one window procedure
// serves them all. The Win32 shell checks that they match <windows.h>.
enum RendererMessageId : uint32_t {
    MessageCreate = 0x0001,
    MessageSize = 0x0005,
    MessageClose = 0x0010,
    MessageQuit = 0x0012,
    MessageKeyDown = 0x0100,
    MessageKeyUp = 0x0101,
    MessageTimer = 0x0113,
};

inline constexpr uint32_t KeyEscape = 0x1B;
inline constexpr uintptr_t TitleTimerId = 1;

struct RendererMessage {
    uint32_t Message = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
};

// The LParam of a size message: client width in the low word, height in the high word.
constexpr intptr_t PackClientSize(uint16_t width, uint16_t height) {
    return static_cast<intptr_t>(static_cast<uint32_t>(height) << 16 | width);
}

struct ScreenPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

struct ScreenSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

// The window-system calls the shell makes, one method per call, in the terms of the Win32
// renderer. Opening steps return false when they fail; closing steps never report.
class RendererPlatform {
public:
    virtual ~RendererPlatform() = default;

    virtual bool RegisterRendererClass() = 0;
    virtual ScreenSize RendererWindowSize() = 0;
    virtual bool CreateRendererWindow(int32_t width, int32_t height) = 0;
    virtual bool GetRendererDC() = 0;
    virtual bool SetRendererPixelFormat(int32_t colourBits) = 0;
    virtual bool CreateRenderContext() = 0;
    virtual void StartTitleTimer() = 0;
    virtual void ShowRendererWindow() = 0;

    virtual void DeleteRenderContext() = 0;
    virtual void ReleaseRendererDC() = 0;
    virtual void DestroyRendererWindow() = 0;
    virtual void UnregisterRendererClass() = 0;

    // Takes the next queued message, if there is one.
    virtual bool PeekRendererMessage(RendererMessage& message) = 0;
    // Hands the message just taken to the window procedure.
    virtual void DispatchRendererMessage(const RendererMessage& message) = 0;
    virtual void SwapRendererBuffers() = 0;
    virtual ScreenPoint CursorPosition() = 0;
    virtual void ShowRendererCursor(bool show) = 0;
    virtual void PostQuit() = 0;
    virtual void ResetTitle() = 0;
};

// What the shell calls of the scene.
class SceneHooks {
public:
    virtual ~SceneHooks() = default;

    virtual void ResizeScene(int32_t width, int32_t height) = 0;
    virtual void SetUpScene() = 0;
    virtual void DrawScene() = 0;
    // Frees the school, then the terrain player; called after the context is gone.
    virtual void FreeScene() = 0;
};

class RendererShell {
public:
    RendererShell(RendererPlatform& platform, SceneHooks& scene)
        : Platform(platform), Scene(scene) {}

    // The whole run. The program exits with code 0 whatever happens here.
    void RunRenderer();
    bool OpenRendererWindow(int32_t colourBits);
    void CloseRendererWindow();
    // The window procedure's part. Empty for a message that goes to the default procedure.
    std::optional<intptr_t> RendererWindowProc(const RendererMessage& message);

    // True when the run is over after a frame: Escape held, or the cursor moved more than
    // 30 pixels from its start on both axes.
    bool FrameEndsRun();

    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    std::array<bool, 256> KeyIsDown{};
    ScreenPoint StartCursorPos;

private:
    RendererPlatform& Platform;
    SceneHooks& Scene;
};

} // namespace tavren
