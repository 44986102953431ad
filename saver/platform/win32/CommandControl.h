// The skinned push button as a Win32 control of its own window class: the portable Command
// behind the window's mouse, focus and timer messages, its faces drawn with GDI. A click is
// posted to the parent as WM_COMMAND with the control's id and BN_CLICKED.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

#include "saver/Command.h"

namespace tavren::saver {

class CommandControl final : public CommandView {
public:
    // Registers the window class once; false when it could not be registered.
    static bool RegisterClass(HINSTANCE instance);
    // A child window of parent at x, y in pixels; the caption in UTF-8, drawn with font.
    static CommandControl* Create(HWND parent, int id, int x, int y, int width, int height,
                                  const std::string& caption, HFONT font);
    static CommandControl* FromWindow(HWND window);

    HWND Window() const { return Handle; }
    // Restores the control's values from the form's store (here: its caption) and draws it.
    void Initialize();
    bool Enabled();
    void SetEnabled(bool enabled);

    void DrawFace(CommandFace face, bool gradientInverted) override;
    void EnableCaption(bool enabled) override;
    void SetCaptionColour(uint32_t colour) override;
    void RaiseClick() override;

private:
    CommandControl(HWND window, int width, int height, HFONT font, std::string caption);
    ~CommandControl() override;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle_(UINT message, WPARAM wParam, LPARAM lParam);
    void ButtonUp(MouseButton button);
    void Paint();
    void PaintGradient(HDC dc, int width, int height, bool inverted) const;

    HWND Handle;
    HFONT Font;
    std::string StoredCaption;
    Command Core;
    HDC FaceDc = nullptr;
    HBITMAP FaceBitmap = nullptr;
    HGDIOBJ FaceDcOld = nullptr;
    bool CaptionEnabled = true;
    COLORREF CaptionColour = RGB(0, 0, 0);
};

} // namespace tavren::saver
