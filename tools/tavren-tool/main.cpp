// tavren-tool: the renderer's parts from the command line, without a window.
#include "Arguments.h"
#include "Commands.h"

#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

namespace {

using tavren::tool::Command;

constexpr Command Commands[] = {
    {"render",
     "render [--data DIR] [--fish N] [--size WxH] [--frames N] [--fps F] [--seed S] [--check] "
     "[--out FILE.png]",
     "Draws N frames of the scene offscreen and writes the last one as PNG; --fish runs it with "
     "N + 1 fish, --check looks for GL errors after every frame and prints resident memory.",
     tavren::tool::RunRender},
    {"bench", "bench [--fish N] [--size WxH] [--seconds T] [--data DIR]",
     "Runs the scene offscreen with N + 1 fish for T seconds and prints frames per second and "
     "where a frame's time goes.",
     tavren::tool::RunBench},
    {"data", "data FOLDER --assets ASSETS",
     "Lays out a data folder: the two models and the 35 texture bitmaps from the pictures.",
     tavren::tool::RunData},
    {"preview", "preview --data DIR --out FOLDER",
     "Draws the fish (side, and from above at frames 1, 8, 16, 24) and the sea floor as PNG.",
     tavren::tool::RunPreview},
    {"sim", "sim SCENARIO --steps K",
     "Steps the school of a scenario file K times, without models or GL, and prints each fish.",
     tavren::tool::RunSim},
    {"model", "model info FILE | model pose FILE [--advance D]...",
     "Prints what the model loader reads from FILE as JSON (info), or the drawn corners as "
     "\"x y z u v\" lines after advancing the animation by each D frames (pose).",
     tavren::tool::RunModel},

    {"texture", "texture decode FILE [--raw OUT]",
     "Reads a picture as the texture loader does, without GL, and prints \"WIDTH HEIGHT "
     "RGB|RGBA\";\n"
     "      --raw writes its texels, tightly packed, bottom row first. Exit status 0; 1 with\n"
     "      \"CAPTION: TEXT\" on standard error when the loader refuses it; 3 when no reader\n"
     "      takes the name.",
     tavren::tool::RunTexture},
};

void PrintHelp(std::FILE* stream) {
    std::fputs("usage: tavren-tool COMMAND [ARGUMENTS]\n\ncommands:\n", stream);
    for (const Command& command : Commands) {
        std::fprintf(stream, "  %s\n      %s\n", command.Usage, command.Summary);
    }
    std::fputs("  --help\n      Shows this text.\n\n"
               "Exit status: 0 on success, 1 when the work fails, 2 for a command line that "
               "cannot be taken.\n",
               stream);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        PrintHelp(stderr);
        return 2;
    }
    if (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
        PrintHelp(stdout);
        return 0;
    }
    for (const Command& command : Commands) {
        if (arguments[0] != command.Name) {
            continue;
        }
        try {
            return command.Run(std::span(arguments).subspan(1));
        } catch (const tavren::tool::UsageError& error) {
            std::fprintf(stderr, "error: %s\nusage: tavren-tool %s\n", error.what(), command.Usage);
            return 2;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "error: %s\n", error.what());
            return 1;
        }
    }
    std::fprintf(stderr, "error: unknown command %.*s (see tavren-tool --help)\n",
                 static_cast<int>(arguments[0].size()), arguments[0].data());
    return 2;
}
