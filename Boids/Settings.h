// The renderer's one setting, "Num" in section "Section" of Tavren.ini, and the reading of
// profile (INI) files as Windows reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavren {

inline constexpr int32_t DefaultFishSetting = 40;

// A value as the renderer converts it: decimal, or hexadecimal after "0x"/"0X" when the value
// is longer than two characters; a missing value or anything else gives 40.
int32_t ConvertFishSetting(const std::optional<std::string>& value);

// The value of key in section within a profile file's bytes, as GetPrivateProfileStringA
// returns it: names compared without regard to case and without surrounding blanks, the first
// matching section and key win, blanks around the value trimmed, one pair of matching quotes
// removed. A file that starts with a UTF-16LE byte order mark is read as UTF-16 and the value
// returned in UTF-8. No value when the section or key is missing.
std::optional<std::string> FindProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key);

// The value of key in section of the profile file at path, through the platform's profile
// reader; no value when the file, the section or the key is missing.
std::optional<std::string> ReadProfileValue(const std::string& path, const std::string& section,
                                            const std::string& key);

// "Num" from the settings file at path, converted.
int32_t ReadFishSetting(const std::string& path);

} // namespace tavren
