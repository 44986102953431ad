#include "Tavren_PForm.h"

#include <commdlg.h>
#include <shellapi.h>

#include <map>

#include "WideText.h"
#include "WindowObject.h"

namespace tavren::saver {

namespace {

constexpr wchar_t FormClass[] = L"Tavren_P";
constexpr wchar_t PanelClass[] = L"Tavren_P_Panel";
constexpr int HS_NumId = 101;
constexpr int BGM_RepeatId = 102;
constexpr int Cmd_BGMId = 201;
constexpr int Cmd_EtcId = 202;
constexpr int Cmd_SetId = 203;
constexpr int Cmd_CanId = 204;
constexpr char CreditText[] = "タヴレン Ver 1.0 (C) Tavren";

enum class Surface { Form, MusicPanel, FishPanel };

struct Label {
    Surface On;
    RECT Area; // left, top, right, bottom
    const char* Text;
    bool Centred;
};

RECT Area(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// The transparent labels with fixed texts, drawn by the surface they lie on.
const Label FixedLabels[] = {
    {Surface::FishPanel, Area(20, 20, 111, 13), "タヴレンの数", true},
    {Surface::FishPanel, Area(140, 24, 39, 13), "少ない", true},
    {Surface::FishPanel, Area(272, 24, 27, 13), "多い", true},
    {Surface::MusicPanel, Area(20, 24, 111, 13), "BGM", true},
    {Surface::MusicPanel, Area(136, 56, 66, 13), "曲目をﾘﾋﾟｰﾄ", false},
    {Surface::Form, Area(12, 264, 165, 13), CreditText, false},
};

// The thin black rectangles around the two panels' headings.
const std::pair<Surface, RECT> HeadingFrames[] = {
    {Surface::FishPanel, Area(20, 16, 113, 21)},
    {Surface::MusicPanel, Area(20, 20, 113, 21)},
};

const RECT NumberLabel = Area(184, 8, 81, 13); // lbl_Num, on the fish panel
const RECT FileLabel = Area(68, 116, 357, 29); // lbl_Fname, on the music panel
constexpr int MusicRowTop[3] = {76, 56, 96};   // kinds 0, 1, 2: none, CD, file
constexpr const char* MusicKindText[3] = {"無し", "音楽CD", "MP3、WAV"};
constexpr int RadioLeft = 20;
constexpr int RadioSize = 13;
constexpr int MusicLabelLeft = 36;

// The labels were sized for one Gothic; drawn unclipped, a wider one still shows whole texts.
void DrawLabel(HDC dc, const RECT& area, const std::string& text, bool centred,
               UINT more = DT_NOCLIP) {
    RECT box = area;
    const std::wstring wide = Wide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box,
              (centred ? DT_CENTER : DT_LEFT) | DT_NOPREFIX | more);
}

void FrameArea(HDC dc, const RECT& area) {
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

// The zoom between the cursor's start point and the window, as the caption animation draws it.
void AnimateBetween(HWND window, POINT point, bool opening) {
    RECT windowArea{};
    if (!GetWindowRect(window, &windowArea)) {
        return;
    }
    const RECT pointArea{point.x, point.y, point.x, point.y};
    if (opening) {
        DrawAnimatedRects(window, IDANI_CAPTION, &pointArea, &windowArea);
    } else {
        DrawAnimatedRects(window, IDANI_CAPTION, &windowArea, &pointArea);
    }
}

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = CreateSolidBrush(RGB(192, 192, 192));
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HFONT GothicFont(const wchar_t* face) {
    // 9.75 points at 96 dots per inch.
    return CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_MODERN, face);
}

// The Japanese proportional Gothic, by the first of its names that the system has; the
// system's own choice for the first name otherwise.
HFONT DialogFont() {
    constexpr const wchar_t* faces[] = {L"ＭＳ Ｐゴシック", L"MS PGothic", L"IPAPGothic"};
    const HDC screen = GetDC(nullptr);
    HFONT chosen = nullptr;
    for (const wchar_t* face : faces) {
        const HFONT font = GothicFont(face);
        const HGDIOBJ old = SelectObject(screen, font);
        wchar_t found[LF_FACESIZE] = {};
        GetTextFaceW(screen, LF_FACESIZE, found);
        SelectObject(screen, old);
        if (lstrcmpiW(found, face) == 0) {
            chosen = font;
            break;
        }
        DeleteObject(font);
    }
    ReleaseDC(nullptr, screen);
    return chosen != nullptr ? chosen : GothicFont(faces[0]);
}

} // namespace

Tavren_P::Tavren_P(HINSTANCE instance, SaverPlatform& platform, SaverSettings& settings)
    : Instance(instance), Platform(platform), Settings(settings) {
    Font = DialogFont();
    RadioMarks[0] = static_cast<HBITMAP>(
        LoadImageW(instance, L"RadioOff", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    RadioMarks[1] = static_cast<HBITMAP>(
        LoadImageW(instance, L"RadioOn", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

Tavren_P::~Tavren_P() {
    if (Form != nullptr) {
        DestroyWindow(Form);
    }
    for (const HBITMAP mark : RadioMarks) {
        DeleteObject(mark);
    }
    DeleteObject(Font);
}

void Tavren_P::ShowModal() {
    if (!CreateForm()) {
        return;
    }
    Form_Load();
    ShowWindow(Form, SW_SHOWNORMAL);
    UpdateWindow(Form);
    SetForegroundWindow(Form);
    MSG message{};
    while (!Unloaded && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool Tavren_P::CreateForm() {
    const HICON icon = LoadIconW(Instance, MAKEINTRESOURCEW(1));
    if (!RegisterWindowClass(Instance, FormClass, WindowProc, icon) ||
        !RegisterWindowClass(Instance, PanelClass, WindowProc, nullptr) ||
        !CommandControl::RegisterClass(Instance)) {
        return false;
    }
    constexpr DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame = Area(0, 0, DialogClientWidth, DialogClientHeight);
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    Form = CreateWindowExW(0, FormClass, Wide(DialogTitle).c_str(), style, CW_USEDEFAULT,
                           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                           nullptr, nullptr, Instance, this);
    if (Form == nullptr) {
        return false;
    }
    auto panel = [&](int left, int top, int width, int height) {
        return CreateWindowExW(0, PanelClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                               left, top, width, height, Form, nullptr, Instance, this);
    };
    FishPanel = panel(12, 12, 453, 57);
    MusicPanel = panel(12, 80, 453, 169);

    HS_Num =
        CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 184, 24, 81, 17,
                        FishPanel, reinterpret_cast<HMENU>(HS_NumId), Instance, nullptr);
    SetScrollRange(HS_Num, SB_CTL, FishScrollMinimum, FishScrollMaximum, FALSE);
    SetScrollPos(HS_Num, SB_CTL, FishScrollInitial, FALSE);
    // A drop-down's height includes its list.
    BGM_Repeat = CreateWindowExW(
        0, L"COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN, 92,
        52, 41, 20 + 200, MusicPanel, reinterpret_cast<HMENU>(BGM_RepeatId), Instance, nullptr);
    SendMessageW(BGM_Repeat, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);

    Cmd_BGM = CommandControl::Create(MusicPanel, Cmd_BGMId, 36, 116, 29, 21, "...", Font);
    Cmd_Etc = CommandControl::Create(Form, Cmd_EtcId, 192, 264, 125, 25, "その他の作品", Font);
    Cmd_Set = CommandControl::Create(Form, Cmd_SetId, 320, 264, 73, 25, "設定", Font);
    Cmd_Can = CommandControl::Create(Form, Cmd_CanId, 396, 264, 69, 25, "ｷｬﾝｾﾙ", Font);
    return Cmd_BGM != nullptr && Cmd_Etc != nullptr && Cmd_Set != nullptr && Cmd_Can != nullptr;
}

void Tavren_P::Form_Load() {
    RECT frame{};
    GetWindowRect(Form, &frame);
    const DialogPoint place =
        DialogPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                       frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(Form, nullptr, place.Left, place.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    SetupCommands(true, true);

    SetScrollPos(HS_Num, SB_CTL, FishScrollPosition(Settings.FishCount), TRUE);
    // The label shows the loaded number even where the bar cannot.

    ShowMusicKind();

    SetWindowTextW(BGM_Repeat, Wide(TrackText(Settings.BGM_Track)).c_str());
    for (int32_t track = 0; track < TrackItemCount; ++track) {
        SendMessageW(BGM_Repeat, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Wide(TrackText(track)).c_str()));
    }

    POINT cursor{};
    if (GetCursorPos(&cursor)) {
        StartX = static_cast<int16_t>(cursor.x);
        StartY = static_cast<int16_t>(cursor.y);
    }
    AnimateBetween(Form, POINT{StartX, StartY}, true);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))); // IDC_ARROW
}

void Tavren_P::Form_Unload() {
    if (Unloaded) {
        return;
    }
    Unloaded = true;
    AnimateBetween(Form, POINT{StartX, StartY}, false);
    DestroyWindow(Form);
    Form = nullptr;
}

void Tavren_P::SetupCommands(bool init, bool enable) {
    for (CommandControl* command : {Cmd_BGM, Cmd_Etc, Cmd_Set, Cmd_Can}) {
        if (init) {
            command->Initialize();
        } else {
            command->SetEnabled(enable);
        }
    }
}

void Tavren_P::ShowMusicKind() {
    const MusicControls controls = MusicControlsFor(Settings.BGM_Kind);
    EnableWindow(BGM_Repeat, controls.TrackBoxEnabled ? TRUE : FALSE);
    Cmd_BGM->SetEnabled(controls.FileButtonEnabled);
    for (int32_t kind = 0; kind < 3; ++kind) {
        RepaintOn(MusicPanel, Area(RadioLeft, MusicRowTop[kind], RadioSize, RadioSize));
    }
}

void Tavren_P::ChooseMusicKind(int32_t kind) {
    Settings.BGM_Kind = static_cast<int16_t>(kind);
    ShowMusicKind();
}

RECT Tavren_P::MusicLabelRect(int32_t kind) const {
    const HDC dc = GetDC(MusicPanel);
    const HGDIOBJ old = SelectObject(dc, Font);
    const std::wstring text = Wide(MusicKindText[kind]);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(MusicPanel, dc);
    return Area(MusicLabelLeft, MusicRowTop[kind], size.cx, 13);
}

void Tavren_P::MusicPanelMouseDown(POINT at) {
    for (int32_t kind = 0; kind < 3; ++kind) {
        const RECT image = Area(RadioLeft, MusicRowTop[kind], RadioSize, RadioSize);
        const RECT label = MusicLabelRect(kind);
        if (PtInRect(&image, at) || PtInRect(&label, at)) {
            ChooseMusicKind(kind);
            return;
        }
    }
}

void Tavren_P::RepaintOn(HWND surface, const RECT& area) const {
    InvalidateRect(surface, &area, TRUE);
}

void Tavren_P::HS_Num_Change() {
    RepaintOn(FishPanel, NumberLabel);
}

void Tavren_P::HS_Num_Scroll(WORD request) {
    static const std::map<WORD, ScrollRequest> requests = {
        {SB_LINELEFT, ScrollRequest::LineLeft}, {SB_LINERIGHT, ScrollRequest::LineRight},
        {SB_PAGELEFT, ScrollRequest::PageLeft}, {SB_PAGERIGHT, ScrollRequest::PageRight},
        {SB_LEFT, ScrollRequest::Leftmost},     {SB_RIGHT, ScrollRequest::Rightmost},
        {SB_THUMBTRACK, ScrollRequest::Thumb},  {SB_THUMBPOSITION, ScrollRequest::Thumb}};
    const auto found = requests.find(request);
    if (found == requests.end()) {
        return;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(HS_Num, SB_CTL, &info);
    const int32_t position = FishScrollAfter(found->second, info.nPos, info.nTrackPos);
    if (position != info.nPos) {
        SetScrollPos(HS_Num, SB_CTL, position, TRUE);
        Settings.FishCount = static_cast<int16_t>(position);
        HS_Num_Change();
    }
}

void Tavren_P::Cmd_BGM_Click() {
    // One filter pair, each part ended by a NUL, the list by a second one.
    const std::wstring filter =
        Wide(MusicFileFilterName) + L'\0' + Wide(MusicFileFilterPattern) + L'\0' + L'\0';
    const std::wstring title = Wide(MusicFileDialogTitle);
    wchar_t file[256] = {};
    wchar_t fileTitle[256] = {};
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = Form;
    request.hInstance = Instance;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file;
    request.nMaxFile = 255;
    request.lpstrFileTitle = fileTitle;
    request.nMaxFileTitle = 255;
    request.lpstrTitle = title.c_str();
    request.Flags = 0;
    if (GetOpenFileNameW(&request) > 0) {
        Settings.BGM_File = Utf8(file);
        RepaintOn(MusicPanel, FileLabel);
    }
}

void Tavren_P::Cmd_Set_Click() {
    const auto file = Platform.DataFolder() / SettingsFileName;
    const int length = GetWindowTextLengthW(BGM_Repeat);
    std::wstring track(static_cast<size_t>(length) + 1, L'\0');
    track.resize(static_cast<size_t>(GetWindowTextW(BGM_Repeat, track.data(), length + 1)));
    Settings.BGM_Track = SaveDialogSettings(
        [&](const char* key, const std::string& value) {
            Platform.WriteIniValue(SettingsSection, key, value, file);
        },
        GetScrollPos(HS_Num, SB_CTL), Settings.BGM_Kind, Utf8(track), Settings.BGM_File);
    Form_Unload();
}

void Tavren_P::Cmd_Can_Click() {
    Form_Unload();
}

void Tavren_P::Cmd_Etc_Click() {
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514))); // IDC_WAIT
    ShellExecuteW(Form, L"open", Wide(OtherWorksPage).c_str(), L"", L"", SW_SHOWNORMAL);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))); // IDC_ARROW
}

void Tavren_P::PaintSurface(HWND surface) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(surface, &paint);
    RECT client{};
    GetClientRect(surface, &client);
    const Surface on = surface == Form        ? Surface::Form
                       : surface == FishPanel ? Surface::FishPanel
                                              : Surface::MusicPanel;
    const ShadedSurface shading = on == Surface::Form ? ShadedSurface::Form : ShadedSurface::Panel;
    for (int32_t y = 0; y <= client.bottom; ++y) {
        const auto colour = ShadingColour(y, client.bottom, shading);
        const HBRUSH brush = CreateSolidBrush(RGB(colour[0], colour[1], colour[2]));
        const RECT row{0, y, client.right, y + 1};
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }

    const HGDIOBJ oldFont = SelectObject(dc, Font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    for (const Label& label : FixedLabels) {
        if (label.On == on) {
            DrawLabel(dc, label.Area, label.Text, label.Centred);
        }
    }
    for (const auto& [frameOn, area] : HeadingFrames) {
        if (frameOn == on) {
            FrameArea(dc, area);
        }
    }
    if (on == Surface::FishPanel) {
        DrawLabel(dc, NumberLabel, std::to_string(Settings.FishCount), true);
    }
    if (on == Surface::MusicPanel) {
        DrawLabel(dc, FileLabel, Settings.BGM_File, false, DT_WORDBREAK | DT_EDITCONTROL);
        const HDC marks = CreateCompatibleDC(dc);
        const int32_t marked = MusicControlsFor(Settings.BGM_Kind).MarkedImage;
        for (int32_t kind = 0; kind < 3; ++kind) {
            DrawLabel(dc, MusicLabelRect(kind), MusicKindText[kind], false);
            const HGDIOBJ old = SelectObject(marks, RadioMarks[kind == marked ? 1 : 0]);
            BitBlt(dc, RadioLeft, MusicRowTop[kind], 12, 12, marks, 0, 0, SRCCOPY);
            SelectObject(marks, old);
        }
        DeleteDC(marks);
    }
    SelectObject(dc, oldFont);
    EndPaint(surface, &paint);
}

LRESULT CALLBACK Tavren_P::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = WindowObject<Tavren_P>(window, message, lParam);
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->HandleMessage(window, message, wParam, lParam);
}

LRESULT Tavren_P::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintSurface(window);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every row
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == HS_Num) {
            HS_Num_Scroll(LOWORD(wParam));
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (window == MusicPanel) {
            MusicPanelMouseDown(
                POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        }
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case Cmd_BGMId:
                Cmd_BGM_Click();
                return 0;
            case Cmd_EtcId:
                Cmd_Etc_Click();
                return 0;
            case Cmd_SetId:
                Cmd_Set_Click();
                return 0;
            case Cmd_CanId:
                Cmd_Can_Click();
                return 0;
            default:
                break;
            }
        }
        break;
    case WM_CLOSE:
        if (window == Form) {
            Form_Unload();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace tavren::saver
