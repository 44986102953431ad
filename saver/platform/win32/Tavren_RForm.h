// The preview on Windows: one still picture inside the display settings' preview window. The
// process ends when that window goes away.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <vector>

namespace tavren::saver {

class Tavren_R {
public:
    // The preview picture as a bitmap file's bytes (24-bit, bottom row first).
    Tavren_R(HINSTANCE instance, std::vector<uint8_t> bitmapFile);
    Tavren_R(const Tavren_R&) = delete;
    Tavren_R& operator=(const Tavren_R&) = delete;

    // Loads the form as a child of host, sized to it, and shows it. False when the form could
    // not be made.
    bool Show(HWND host);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HINSTANCE Instance;
    std::vector<uint8_t> Picture;
    HWND Form = nullptr;
    HWND Host = nullptr;
};

} // namespace tavren::saver
