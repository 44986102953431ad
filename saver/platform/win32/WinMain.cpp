// タヴレン.scr: the screensaver program that Windows starts in its screensaver modes.
#include "WideText.h"
#include "Win32Saver.h"
#include "saver/DataPackage.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace tavren::saver;
    // The wide command line: the switch may follow a program name in any script.
    const std::string commandLine = Utf8(GetCommandLineW());
    Win32Saver saver(instance);
    const SaverState state = Main(CommandLineArguments(commandLine), saver, DataPackagePieces);
    if (!state.FormLoaded) {
        return 0;
    }
    return saver.RunForms();
}
