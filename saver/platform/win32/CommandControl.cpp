#include "CommandControl.h"

#include <array>

#include "WideText.h"

namespace tavren::saver {

namespace {

constexpr wchar_t ClassName[] = L"Tavren_Command";
constexpr UINT_PTR MouseTimerId = 1;
constexpr UINT MouseTimerInterval = 100;
// The face's layout is in twips: 15 to a pixel at 96 dots per inch.
constexpr int TwipsPerPixel = 15;

// The six skins, in the order of CommandFace, loaded once for all buttons.
std::array<HBITMAP, 6> Skins{};

constexpr std::array<const wchar_t*, 6> SkinNames = {L"SkinNormal",          L"SkinHighLight",
                                                     L"SkinHighLightSelect", L"SkinPressed",
                                                     L"SkinDisable",         L"SkinSelected"};

int Pixels(int32_t twips) {
    return static_cast<int>(twips / TwipsPerPixel);
}

} // namespace

bool CommandControl::RegisterClass(HINSTANCE instance) {
    for (size_t index = 0; index < Skins.size(); ++index) {
        if (Skins[index] == nullptr) {
            Skins[index] = static_cast<HBITMAP>(
                LoadImageW(instance, SkinNames[index], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        }
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = ClassName;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

CommandControl* CommandControl::Create(HWND parent, int id, int x, int y, int width, int height,
                                       const std::string& caption, HFONT font) {
    const HWND window = CreateWindowExW(
        0, ClassName, Wide(caption).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), font);
    return FromWindow(window);
}

CommandControl* CommandControl::FromWindow(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<CommandControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

CommandControl::CommandControl(HWND window, int width, int height, HFONT font, std::string caption)
    : Handle(window), Font(font), StoredCaption(std::move(caption)), Core(*this) {
    const HDC screen = GetDC(window);
    FaceDc = CreateCompatibleDC(screen);
    FaceBitmap = CreateCompatibleBitmap(screen, width, height);
    FaceDcOld = SelectObject(FaceDc, FaceBitmap);
    ReleaseDC(window, screen);
    SetTimer(window, MouseTimerId, MouseTimerInterval, nullptr);
}

CommandControl::~CommandControl() {
    SelectObject(FaceDc, FaceDcOld);
    DeleteObject(FaceBitmap);
    DeleteDC(FaceDc);
}

void CommandControl::Initialize() {
    PropertyBag bag;
    bag["Caption"] = StoredCaption;
    Core.ReadProperties(bag, "");
    Core.ApplyEnabled();
}

bool CommandControl::Enabled() {
    return Core.Enabled();
}

void CommandControl::SetEnabled(bool enabled) {
    // A disabled button takes neither the focus nor the mouse.
    EnableWindow(Handle, enabled ? TRUE : FALSE);
    Core.SetEnabled(enabled);
}

void CommandControl::PaintGradient(HDC dc, int width, int height, bool inverted) const {
    const GradientColours colours = FaceGradient(inverted);
    TRIVERTEX vertices[2] = {};
    vertices[0].x = 0;
    vertices[0].y = 0;
    vertices[0].Red = colours.A[0];
    vertices[0].Green = colours.A[1];
    vertices[0].Blue = colours.A[2];
    vertices[1].x = width - 1;
    vertices[1].y = height - 1;
    vertices[1].Red = colours.B[0];
    vertices[1].Green = colours.B[1];
    vertices[1].Blue = colours.B[2];
    // Upper left names vertex 1 and lower right vertex 0, as the face has always been painted.
    GRADIENT_RECT rectangle{1, 0};
    GradientFill(dc, vertices, 2, &rectangle, 1, GRADIENT_FILL_RECT_V);
}

void CommandControl::DrawFace(CommandFace face, bool gradientInverted) {
    RECT client{};
    GetClientRect(Handle, &client);
    FillRect(FaceDc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PaintGradient(FaceDc, client.right, client.bottom, gradientInverted);
    const HBITMAP skin = Skins[static_cast<size_t>(face)];
    if (skin != nullptr) {
        const HDC skinDc = CreateCompatibleDC(FaceDc);
        const HGDIOBJ old = SelectObject(skinDc, skin);
        SetStretchBltMode(FaceDc, COLORONCOLOR);
        const int32_t width = client.right * TwipsPerPixel;
        const int32_t height = client.bottom * TwipsPerPixel;
        for (const FacePiece& piece : FacePieces(width, height)) {
            StretchBlt(FaceDc, Pixels(piece.X), Pixels(piece.Y), Pixels(piece.Width),
                       Pixels(piece.Height), skinDc, Pixels(piece.SourceX), Pixels(piece.SourceY),
                       Pixels(piece.SourceWidth), Pixels(piece.SourceHeight), SRCCOPY);
        }
        SelectObject(skinDc, old);
        DeleteDC(skinDc);
    }
    InvalidateRect(Handle, nullptr, FALSE);
}

void CommandControl::EnableCaption(bool enabled) {
    CaptionEnabled = enabled;
    InvalidateRect(Handle, nullptr, FALSE);
}

void CommandControl::SetCaptionColour(uint32_t colour) {
    CaptionColour = static_cast<COLORREF>(colour);
    InvalidateRect(Handle, nullptr, FALSE);
}

void CommandControl::RaiseClick() {
    // Posted, so that a handler that closes the form runs after this control's message.
    PostMessageW(GetParent(Handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle));
}

void CommandControl::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(Handle, &paint);
    RECT client{};
    GetClientRect(Handle, &client);
    const HDC back = CreateCompatibleDC(dc);
    const HBITMAP backBitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    const HGDIOBJ oldBitmap = SelectObject(back, backBitmap);
    BitBlt(back, 0, 0, client.right, client.bottom, FaceDc, 0, 0, SRCCOPY);

    const std::wstring caption = Wide(Core.Caption);
    const HGDIOBJ oldFont = SelectObject(back, Font);
    SIZE text{};
    GetTextExtentPoint32W(back, caption.c_str(), static_cast<int>(caption.size()), &text);
    const int top = Pixels(
        CaptionTop(client.bottom * TwipsPerPixel, static_cast<int32_t>(text.cy) * TwipsPerPixel));
    RECT label{0, top, client.right, top + text.cy};
    SetBkMode(back, TRANSPARENT);
    SetTextColor(back, CaptionEnabled ? CaptionColour : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(back, caption.c_str(), static_cast<int>(caption.size()), &label,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(back, oldFont);

    BitBlt(dc, 0, 0, client.right, client.bottom, back, 0, 0, SRCCOPY);
    SelectObject(back, oldBitmap);
    DeleteObject(backBitmap);
    DeleteDC(back);
    EndPaint(Handle, &paint);
}

void CommandControl::ButtonUp(MouseButton button) {
    if ((GetKeyState(VK_LBUTTON) & GetKeyState(VK_RBUTTON) & GetKeyState(VK_MBUTTON) & 0x8000) ==
        0) {
        ReleaseCapture();
    }
    Core.MouseUp(button);
}

LRESULT CALLBACK CommandControl::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* control = new CommandControl(window, creation->cx, creation->cy,
                                           static_cast<HFONT>(creation->lpCreateParams),
                                           Utf8(creation->lpszName));
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    CommandControl* control = FromWindow(window);
    if (control == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        KillTimer(window, MouseTimerId);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete control;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return control->Handle_(message, wParam, lParam);
}

LRESULT CommandControl::Handle_(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        Core.MouseMove();
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(Handle);
        SetFocus(Handle);
        Core.MouseDown(MouseButton::Left);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetCapture(Handle);
        return 0;
    case WM_LBUTTONUP:
        ButtonUp(MouseButton::Left);
        return 0;
    case WM_RBUTTONUP:
        ButtonUp(MouseButton::Right);
        return 0;
    case WM_MBUTTONUP:
        ButtonUp(MouseButton::Middle);
        return 0;
    case WM_SETFOCUS:
        Core.GotFocus();
        return 0;
    case WM_KILLFOCUS:
        Core.LostFocus();
        return 0;
    case WM_TIMER:
        if (wParam == MouseTimerId) {
            POINT cursor{};
            if (GetCursorPos(&cursor) && WindowFromPoint(cursor) != Handle) {
                Core.MouseLeft();
            }
        }
        return 0;
    case WM_GETDLGCODE:
        // No keyboard handling: keys never click.
        return 0;
    default:
        return DefWindowProcW(Handle, message, wParam, lParam);
    }
}

} // namespace tavren::saver
