#include "../../Settings.h"

#include <windows.h>

namespace tavren {

namespace {

// A default no profile value can hold, so that a missing key can be told from an empty one.
constexpr char MissingValue[] = "\x01\x02";

} // namespace

std::optional<std::string> ReadProfileValue(const std::string& path, const std::string& section,
                                            const std::string& key) {
    char value[2048] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), MissingValue, value, sizeof value,
                             path.c_str());
    if (std::string_view(value) == MissingValue) {
        return std::nullopt;
    }
    return std::string(value);
}

} // namespace tavren
