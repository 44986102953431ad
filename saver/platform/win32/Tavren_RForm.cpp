#include "Tavren_RForm.h"

#include "WindowObject.h"
#include "saver/BitmapFile.h"

namespace tavren::saver {

namespace {

constexpr wchar_t FormClass[] = L"Tavren_R";
constexpr UINT_PTR HostTimerId = 1;
// How often the form looks whether its host window is still there.
constexpr UINT HostTimerInterval = 250;

} // namespace

Tavren_R::Tavren_R(HINSTANCE instance, std::vector<uint8_t> bitmapFile)
    : Instance(instance), Picture(std::move(bitmapFile)) {}

bool Tavren_R::Show(HWND host) {
    WNDCLASSW formClass{};
    formClass.lpfnWndProc = WindowProc;
    formClass.hInstance = Instance;
    formClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    formClass.lpszClassName = FormClass;
    RegisterClassW(&formClass);

    RECT hostArea{};
    const bool hostThere = GetWindowRect(host, &hostArea) != FALSE;
    Form = CreateWindowExW(0, FormClass, L"Preview Window", WS_POPUP, 0, 0, 152, 112, nullptr,
                           nullptr, Instance, this);
    if (Form == nullptr) {
        return false;
    }
    if (hostThere) {
        Host = host;
        SetWindowLongW(Form, GWL_STYLE, GetWindowLongW(Form, GWL_STYLE) | WS_CHILD);
        SetParent(Form, host);
        MoveWindow(Form, 0, 0, hostArea.right - hostArea.left, hostArea.bottom - hostArea.top,
                   FALSE);
        // The host belongs to another program: nothing tells us when it goes, so look.
        SetTimer(Form, HostTimerId, HostTimerInterval, nullptr);
    }
    ShowWindow(Form, SW_SHOWNA);
    UpdateWindow(Form);
    return true;
}

void Tavren_R::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(Form, &paint);
    if (Picture.size() > BitmapHeadersSize) {
        const auto* info = reinterpret_cast<const BITMAPINFO*>(Picture.data() + 14);
        SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(info->bmiHeader.biWidth),
                          static_cast<DWORD>(info->bmiHeader.biHeight), 0, 0, 0,
                          static_cast<UINT>(info->bmiHeader.biHeight),
                          Picture.data() + BitmapHeadersSize, info, DIB_RGB_COLORS);
    }
    EndPaint(Form, &paint);
}

LRESULT CALLBACK Tavren_R::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = WindowObject<Tavren_R>(window, message, lParam);
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT:
        form->Paint();
        return 0;
    case WM_TIMER:
        if (wParam == HostTimerId && !IsWindow(form->Host)) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace tavren::saver
