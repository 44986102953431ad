// Looks at and pokes the windows of other programs from inside Wine, for the end-to-end tests.
//   metrics       the size of a maximised window with its caption:
//                 SM_CXMAXIMIZED and SM_CYMAXIMIZED + SM_CYCAPTION
//   find TITLE    the rectangle of the window titled TITLE: left top right bottom
//   class TITLE   its class name, style and extended style (hexadecimal)
//   close TITLE   posts WM_CLOSE to it, as any other program may
//   fish-setting FILE...
//                 for each settings file, the value of "Num" in "Section" as the Windows
//                 profile functions return it, or (missing), a tab, and the renderer's
//                 conversion of it
//   dialog-text TITLE
//                 the texts of the static controls of the window titled TITLE (a message box's
//                 message), one line each, UTF-8
//   write-setting FILE SECTION KEY VALUE
//   read-setting FILE SECTION KEY
//                 the front end's own settings-file access; read prints the value, UTF-8
//   host TITLE    a borderless 200 x 150 window titled TITLE at 100, 100, as the display
//                 settings' preview window; prints its handle in decimal and runs until the
//                 window is closed
//   child TITLE   the first child window of the window titled TITLE: its class, its title
//                 and its rectangle in the parent's client area (left top right bottom)
// Answers go to standard output, one line each. Exit code 0, 1 when no window has the title,
// 2 when the command line is wrong.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>

#include <shellapi.h>

#include <string>
#include <vector>

#include "Boids/Settings.h"
#include "saver/Tavren_B.h"
#include "saver/platform/win32/ProfileFile.h"
#include "saver/platform/win32/WideText.h"

namespace {

constexpr int Done = 0;
constexpr int NoSuchWindow = 1;
constexpr int UsageError = 2;

int PrintMetrics() {
    std::printf("%d %d\n", GetSystemMetrics(SM_CXMAXIMIZED),
                GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION));
    return Done;
}

int PrintRect(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) {
        return NoSuchWindow;
    }
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return Done;
}

int PrintClass(HWND window) {
    char className[256] = {};
    if (GetClassNameA(window, className, sizeof(className)) == 0) {
        return NoSuchWindow;
    }
    const auto style = static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE));
    const auto exStyle = static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE));
    std::printf("%s %08lx %08lx\n", className, style, exStyle);
    return Done;
}

int PostClose(HWND window) {
    return PostMessageA(window, WM_CLOSE, 0, 0) ? Done : NoSuchWindow;
}

BOOL CALLBACK PrintStaticText(HWND child, LPARAM) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (lstrcmpiW(className, L"Static") == 0) {
        wchar_t text[1024] = {};
        GetWindowTextW(child, text, 1024);
        if (text[0] != L'\0') {
            std::printf("%s\n", tavren::saver::Utf8(text).c_str());
        }
    }
    return TRUE;
}

int PrintDialogText(HWND window) {
    EnumChildWindows(window, PrintStaticText, 0);
    return Done;
}

int PrintChild(HWND window) {
    const HWND child = GetWindow(window, GW_CHILD);
    wchar_t className[256] = {};
    wchar_t title[256] = {};
    RECT rect{};
    if (child == nullptr || !GetClassNameW(child, className, 256) || !GetWindowRect(child, &rect)) {
        return NoSuchWindow;
    }
    GetWindowTextW(child, title, 256);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%s\t%s\t%ld %ld %ld %ld\n", tavren::saver::Utf8(className).c_str(),
                tavren::saver::Utf8(title).c_str(), rect.left, rect.top, rect.right, rect.bottom);
    return Done;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int RunHost(const std::string& title) {
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = HostProc;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    hostClass.lpszClassName = L"TavrenTestHost";
    RegisterClassW(&hostClass);
    const HWND window = CreateWindowExW(0, L"TavrenTestHost", tavren::saver::Wide(title).c_str(),
                                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 200, 150,
                                        nullptr, nullptr, hostClass.hInstance, nullptr);
    if (window == nullptr) {
        return NoSuchWindow;
    }
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
    std::fflush(stdout);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return Done;
}

struct WindowCommand {
    const char* Name;
    int (*Run)(HWND window);
};

constexpr WindowCommand WindowCommands[] = {
    {"find", PrintRect},   {"class", PrintClass},
    {"close", PostClose},  {"dialog-text", PrintDialogText},
    {"child", PrintChild},
};

int PrintFishSettings(int count, char** files) {
    for (int index = 0; index < count; ++index) {
        const auto value = tavren::ReadProfileValue(files[index], "Section", "Num");
        std::printf("%s\t%d\n", value ? value->c_str() : "(missing)",
                    tavren::ReadFishSetting(files[index]));
    }
    return Done;
}

// The arguments as UTF-8, whatever the code page: titles, keys and paths may be Japanese.
std::vector<std::string> WideArguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int index = 0; index < count; ++index) {
        utf8.push_back(tavren::saver::Utf8(arguments[index]));
    }
    LocalFree(arguments);
    return utf8;
}

int RunSettingCommand(const std::vector<std::string>& arguments) {
    using tavren::saver::Utf8Path;
    if (arguments[1] == "write-setting" && arguments.size() == 6) {
        return tavren::saver::WriteProfileString(arguments[3], arguments[4], arguments[5],
                                                 Utf8Path(arguments[2]))
                   ? Done
                   : NoSuchWindow;
    }
    if (arguments[1] == "read-setting" && arguments.size() == 5) {
        std::printf("%s\n", tavren::saver::ReadProfileString(arguments[3], arguments[4],
                                                             Utf8Path(arguments[2]))
                                .c_str());
        return Done;
    }
    return UsageError;
}

// Opens the file with no sharing at all and keeps it open until the process is ended, as
// another program holding the file would.
int HoldFile(const std::string& file) {
    HANDLE handle = CreateFileW(tavren::saver::Utf8Path(file).c_str(), GENERIC_READ | GENERIC_WRITE,
                                0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "%s: cannot be opened (error %lu)\n", file.c_str(), GetLastError());
        return NoSuchWindow;
    }
    Sleep(INFINITE);
    CloseHandle(handle);
    return Done;
}

int Usage() {
    std::fputs("usage: tavren-e2e-helper metrics | find TITLE | class TITLE | close TITLE | "
               "fish-setting FILE... | dialog-text TITLE | write-setting FILE SECTION KEY VALUE | "
               "read-setting FILE SECTION KEY | hold FILE | host TITLE | child TITLE\n",
               stderr);
    return UsageError;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "metrics") == 0) {
        return PrintMetrics();
    }
    if (argc >= 2 && std::strcmp(argv[1], "fish-setting") == 0) {
        return PrintFishSettings(argc - 2, argv + 2);
    }
    const std::vector<std::string> arguments = WideArguments();
    if (argc >= 2 && std::strstr(argv[1], "-setting") != nullptr) {
        const int result = RunSettingCommand(arguments);
        return result == UsageError ? Usage() : result;
    }
    if (argc != 3 || arguments.size() != 3) {
        return Usage();
    }
    if (std::strcmp(argv[1], "hold") == 0) {
        return HoldFile(arguments[2]);
    }
    if (std::strcmp(argv[1], "host") == 0) {
        return RunHost(arguments[2]);
    }
    for (const WindowCommand& command : WindowCommands) {
        if (std::strcmp(argv[1], command.Name) == 0) {
            HWND window = FindWindowW(nullptr, tavren::saver::Wide(arguments[2]).c_str());
            return window != nullptr ? command.Run(window) : NoSuchWindow;
        }
    }
    return Usage();
}
