// The screensaver's command line as Windows or a user may pass it.
#include "saver/Tavren_B.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view commandLine(reinterpret_cast<const char*>(data), size);
    tavren::saver::ModeOf(commandLine);
    tavren::saver::PreviewHandleOf(commandLine);
    tavren::saver::ModeOf(tavren::saver::CommandLineArguments(commandLine));
    return 0;
}
