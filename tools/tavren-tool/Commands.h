// The subcommands of tavren-tool.
#pragma once

#include <span>
#include <string_view>

namespace tavren::tool {

// Runs a command on the arguments after its name and returns the exit status. Throws
// UsageError for a command line it cannot take and other exceptions for failed work.
using CommandFunction = int (*)(std::span<const std::string_view> arguments);

struct Command {
    const char* Name;
    const char* Usage;
    const char* Summary;
    CommandFunction Run;
};

int RunRender(std::span<const std::string_view> arguments);
int RunBench(std::span<const std::string_view> arguments);
int RunData(std::span<const std::string_view> arguments);
int RunPreview(std::span<const std::string_view> arguments);
int RunSim(std::span<const std::string_view> arguments);
int RunModel(std::span<const std::string_view> arguments);

int RunTexture(std::span<const std::string_view> arguments);

} // namespace tavren::tool
