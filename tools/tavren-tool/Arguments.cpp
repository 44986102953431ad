#include "Arguments.h"

#include <charconv>

namespace tavren::tool {

namespace {

constexpr int32_t LargestSide = 16384;

std::optional<int64_t> ParseDecimal(std::string_view text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<Size> ParseSize(std::string_view text) {
    const size_t cross = text.find('x');
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    const auto width = ParseDecimal(text.substr(0, cross));
    const auto height = ParseDecimal(text.substr(cross + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > LargestSide ||
        *height > LargestSide) {
        return std::nullopt;
    }
    return Size{static_cast<int32_t>(*width), static_cast<int32_t>(*height)};
}

std::optional<int64_t> ParseCount(std::string_view text, int64_t limit) {
    const auto value = ParseDecimal(text);
    if (!value || *value < 0 || *value > limit) {
        return std::nullopt;
    }
    return value;
}

Size SizeOption(std::optional<std::string_view> text, std::string_view fallback) {
    const auto size = ParseSize(text.value_or(fallback));
    if (!size) {
        throw UsageError("--size takes WxH, two whole numbers from 1 to 16384");
    }
    return *size;
}

int64_t CountOption(std::string_view name, std::string_view text, int64_t lowest, int64_t highest) {
    const auto count = ParseCount(text, highest);
    if (!count || *count < lowest) {
        throw UsageError(std::string(name) + " takes a whole number from " +
                         std::to_string(lowest) + " to " + std::to_string(highest));
    }
    return *count;
}

OptionReader::OptionReader(std::span<const std::string_view> arguments) : Arguments(arguments) {
    if (arguments.size() > 64) {
        throw UsageError("too many arguments");
    }
}

std::optional<std::string_view> OptionReader::Take(std::string_view name) {
    const std::vector<std::string_view> values = TakeAll(name);
    if (values.size() > 1) {
        throw UsageError(std::string(name) + " is given twice");
    }
    return values.empty() ? std::nullopt : std::optional(values.front());
}

std::vector<std::string_view> OptionReader::TakeAll(std::string_view name) {
    std::vector<std::string_view> values;
    for (size_t index = 0; index < Arguments.size(); ++index) {
        if (Arguments[index] != name) {
            continue;
        }
        if (index + 1 >= Arguments.size()) {
            throw UsageError(std::string(name) + " needs a value");
        }
        values.push_back(Arguments[index + 1]);
        Taken |= uint64_t{3} << index;
        ++index;
    }
    return values;
}

bool OptionReader::TakeFlag(std::string_view name) {
    bool given = false;
    for (size_t index = 0; index < Arguments.size(); ++index) {
        if (Arguments[index] != name || (Taken >> index & 1) != 0) {
            continue;
        }
        if (given) {
            throw UsageError(std::string(name) + " is given twice");
        }
        given = true;
        Taken |= uint64_t{1} << index;
    }
    return given;
}

std::string_view OptionReader::Require(std::string_view name) {
    if (const auto value = Take(name)) {
        return *value;
    }
    throw UsageError(std::string(name) + " is missing");
}

void OptionReader::RejectLeftovers() const {
    for (size_t index = 0; index < Arguments.size(); ++index) {
        if ((Taken >> index & 1) == 0) {
            throw UsageError("unexpected argument " + std::string(Arguments[index]));
        }
    }
}

} // namespace tavren::tool
