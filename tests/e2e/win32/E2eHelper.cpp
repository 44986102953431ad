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
// Answers go to standard output, one line each. Exit code 0, 1 when no window has the title,
// 2 when the command line is wrong.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "Boids/Settings.h"

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

struct WindowCommand {
    const char* Name;
    int (*Run)(HWND window);
};

constexpr WindowCommand WindowCommands[] = {
    {"find", PrintRect},
    {"class", PrintClass},
    {"close", PostClose},
};

int PrintFishSettings(int count, char** files) {
    for (int index = 0; index < count; ++index) {
        const auto value = tavren::ReadProfileValue(files[index], "Section", "Num");
        std::printf("%s\t%d\n", value ? value->c_str() : "(missing)",
                    tavren::ReadFishSetting(files[index]));
    }
    return Done;
}

int Usage() {
    std::fputs("usage: tavren-e2e-helper metrics | find TITLE | class TITLE | close TITLE | "
               "fish-setting FILE...\n",
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
    if (argc != 3) {
        return Usage();
    }
    for (const WindowCommand& command : WindowCommands) {
        if (std::strcmp(argv[1], command.Name) == 0) {
            HWND window = FindWindowA(nullptr, argv[2]);
            return window != nullptr ? command.Run(window) : NoSuchWindow;
        }
    }
    return Usage();
}
