// Command-line reading for tavren-tool.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavren::tool {

// A command line the tool cannot take; its message is one line for standard error.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Size {
    int32_t Width = 0;
    int32_t Height = 0;
};

// "WxH" with two positive decimal integers of at most 16384.
std::optional<Size> ParseSize(std::string_view text);
// A decimal integer from 0 to the limit.
std::optional<int64_t> ParseCount(std::string_view text, int64_t limit);

// An option's value read with the functions above, or the fallback when the option was not
// given; throws UsageError naming the option and what it takes.
Size SizeOption(std::optional<std::string_view> text, std::string_view fallback);
int64_t CountOption(std::string_view name, std::string_view text, int64_t lowest, int64_t highest);

// Options of the form --name VALUE, each given at most once unless taken with TakeAll.
class OptionReader {
public:
    explicit OptionReader(std::span<const std::string_view> arguments);
    // The value of --name, if it was given.
    std::optional<std::string_view> Take(std::string_view name);
    std::string_view Require(std::string_view name);
    // Every value of --name, in the order given; the option may repeat.
    std::vector<std::string_view> TakeAll(std::string_view name);
    // True when the option --name, which takes no value, was given.
    bool TakeFlag(std::string_view name);
    // Throws UsageError for any option that no Take asked for.
    void RejectLeftovers() const;

private:
    std::span<const std::string_view> Arguments;
    uint64_t Taken = 0;
};

} // namespace tavren::tool
