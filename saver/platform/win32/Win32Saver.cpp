#include "Win32Saver.h"

#include <cstdlib>

#include "ProfileFile.h"
#include "Tavren_PForm.h"
#include "Tavren_RForm.h"
#include "WideText.h"
#include "Win32Multimedia.h"
#include "saver/MultimediaLog.h"
#include "saver/ShowBitmaps.h"

namespace tavren::saver {

namespace {

namespace fs = std::filesystem;

constexpr wchar_t ShowFormClass[] = L"Tavren_S";
constexpr char ProgramTitle[] = "タヴレン";
constexpr UINT_PTR Timer1Id = 1;
constexpr UINT_PTR Timer2Id = 2;
constexpr UINT_PTR Timer3Id = 3;

// The folder named by the environment variable, as the renderer reads it too.
std::optional<fs::path> FolderFromEnvironment(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    if (value == nullptr || *value == L'\0') {
        return std::nullopt;
    }
    return fs::path(value);
}

} // namespace

Win32Saver::Win32Saver(HINSTANCE instance) : Instance(instance) {}

Win32Saver::~Win32Saver() = default;

bool Win32Saver::WindowTitled(const std::string& title) {
    return FindWindowW(nullptr, Wide(title).c_str()) != nullptr;
}

void Win32Saver::RunPreview(uint32_t hostWindow) {
    // A picture that does not decode leaves the black form alone.
    std::vector<uint8_t> picture;
    if (const auto jpeg = CarriedPicture("Preview")) {
        const PictureResult decoded = DecodeJpeg(*jpeg, "Preview.jpg");
        if (const auto* pixels = std::get_if<Picture>(&decoded)) {
            picture = EncodeBitmapFile(TopFirstRgb(*pixels));
        }
    }
    Preview = std::make_unique<Tavren_R>(Instance, std::move(picture));
    const auto host = reinterpret_cast<HWND>(static_cast<uintptr_t>(hostWindow));
    if (!Preview->Show(host)) {
        Preview.reset();
    }
}

fs::path Win32Saver::DataFolder() {
    return FolderFromEnvironment(L"TAVREN_DATA").value_or(fs::path(L"C:\\Tavren_Data"));
}

fs::path Win32Saver::ProgramFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            return fs::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

std::string Win32Saver::ReadIniValue(const std::string& section, const std::string& key,
                                     const fs::path& file) {
    return ReadProfileString(section, key, file);
}

void Win32Saver::WriteIniValue(const std::string& section, const std::string& key,
                               const std::string& value, const fs::path& file) {
    WriteProfileString(section, key, value, file);
}

void Win32Saver::ShowMessage(const std::string& text) {
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(ProgramTitle).c_str(), MB_OK);
}

void Win32Saver::ShowSettingsDialog() {
    // The entry has loaded these too; the dialog keeps its own copy, which only "設定" writes.
    SaverSettings settings = LoadSettings(*this);
    Tavren_P dialog(Instance, *this, settings);
    dialog.ShowModal();
}

int32_t Win32Saver::HideCursor() {
    return ::ShowCursor(FALSE);
}

void Win32Saver::LoadShowForm(const SaverState& state) {
    State = state;
    WNDCLASSW formClass{};
    formClass.lpfnWndProc = ShowFormProc;
    formClass.hInstance = Instance;
    formClass.hIcon = LoadIconW(Instance, MAKEINTRESOURCEW(1));
    formClass.lpszClassName = ShowFormClass;
    RegisterClassW(&formClass);
    // Loaded but never shown: the title is there for other copies' window lookups only.
    ShowForm = CreateWindowExW(0, ShowFormClass, Wide(ShowFormTitle).c_str(), WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               nullptr, Instance, this);
    if (ShowForm == nullptr) {
        return;
    }
    Multimedia = std::make_unique<Win32Multimedia>();
    MultimediaSystem* multimedia = Multimedia.get();
    if (const auto log = FolderFromEnvironment(L"TAVREN_MCI_LOG")) {
        MultimediaWitness = std::make_unique<MultimediaLog>(*Multimedia, *log);
        multimedia = MultimediaWitness.get();
    }
    Show = std::make_unique<Tavren_S>(*this, *multimedia, State, DataFolder());
    Show->Form_Load();
    FollowTimerFlags();
}

std::optional<std::vector<uint8_t>> Win32Saver::CarriedPicture(const std::string& name) {
    // Type 10: RT_RCDATA, which <windows.h> spells in ANSI only.
    const HRSRC resource = FindResourceW(Instance, Wide(name).c_str(), MAKEINTRESOURCEW(10));
    ;
    if (resource == nullptr) {
        return std::nullopt;
    }
    const HGLOBAL loaded = LoadResource(Instance, resource);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(Instance, resource));
}

void Win32Saver::StartProgram(const fs::path& program) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    AllowSetForegroundWindow(ASFW_ANY);
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

std::optional<CursorPoint> Win32Saver::CursorPosition() {
    POINT point{};
    if (!GetCursorPos(&point)) {
        return std::nullopt;
    }
    return CursorPoint{point.x, point.y};
}

int32_t Win32Saver::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

void Win32Saver::EndProgram() {
    ExitProcess(0);
}

int Win32Saver::RunForms() {
    if (ShowForm == nullptr && Preview == nullptr) {
        return 0;
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

LRESULT CALLBACK Win32Saver::ShowFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* saver = reinterpret_cast<Win32Saver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (saver != nullptr && saver->Show != nullptr) {
        if (const auto result = saver->HandleShowMessage(message, wParam)) {
            return *result;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::optional<LRESULT> Win32Saver::HandleShowMessage(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == Timer1Id) {
            Show->Timer1_Timer();
        } else if (wParam == Timer2Id) {
            Show->Timer2_Timer();
        } else if (wParam == Timer3Id) {
            Show->Timer3_Timer();
        }
        FollowTimerFlags();
        return 0;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        // The unload is never cancelled: it ends the program.
        Show->Form_QueryUnload();
        return 0;
    default:
        return std::nullopt;
    }
}

void Win32Saver::FollowTimerFlags() {
    const bool wanted[3] = {Show->Timer1Enabled, Show->Timer2Enabled, Show->Timer3Enabled};
    constexpr UINT intervals[3] = {Timer1Interval, Timer2Interval, Timer3Interval};
    for (UINT_PTR index = 0; index < 3; ++index) {
        if (wanted[index] == TimerRunning[index]) {
            continue;
        }
        if (wanted[index]) {
            SetTimer(ShowForm, Timer1Id + index, intervals[index], nullptr);
        } else {
            KillTimer(ShowForm, Timer1Id + index);
        }
        TimerRunning[index] = wanted[index];
    }
}

} // namespace tavren::saver
