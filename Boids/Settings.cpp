#include "Settings.h"

#include <charconv>
#include <vector>

namespace tavren {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t index = 0; index < a.size(); ++index) {
        if (AsciiLower(a[index]) != AsciiLower(b[index])) {
            return false;
        }
    }
    return true;
}

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16LE after its byte order mark, to UTF-8; an odd last byte and unpaired surrogates
// become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t index) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[index])) |
               static_cast<uint32_t>(static_cast<unsigned char>(bytes[index + 1])) << 8;
    };
    size_t index = 2;
    for (; index + 1 < bytes.size(); index += 2) {
        uint32_t code = unit(index);
        if (code >= 0xD800 && code < 0xDC00 && index + 3 < bytes.size() &&
            unit(index + 2) >= 0xDC00 && unit(index + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(index + 2) - 0xDC00);
            index += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    if (index < bytes.size()) {
        AppendUtf8(out, 0xFFFD);
    }
    return out;
}

std::string_view WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<int32_t> ParseWhole(std::string_view digits, int base) {
    int64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    if (base == 16) {
        // Up to eight hexadecimal digits, taken as the 32 bits of a signed integer.
        if (value > 0xFFFFFFFF) {
            return std::nullopt;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

} // namespace

int32_t ConvertFishSetting(const std::optional<std::string>& value) {
    if (!value) {
        return DefaultFishSetting;
    }
    std::string_view text = *value;
    std::optional<int32_t> number;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        // from_chars takes a sign, which a hexadecimal value may not have.
        if (digits.front() != '-' && digits.front() != '+') {
            number = ParseWhole(digits, 16);
        }
    } else {
        if (text.size() > 1 && text.front() == '+') {
            text.remove_prefix(1);
            if (text.front() == '-') {
                return DefaultFishSetting;
            }
        }
        number = ParseWhole(text, 10);
    }
    return number.value_or(DefaultFishSetting);
}

std::optional<std::string> FindProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key) {
    std::string decoded;
    if (file.size() >= 2 && file[0] == '\xFF' && file[1] == '\xFE') {
        decoded = Utf16ToUtf8(file);
        file = decoded;
    } else if (file.substr(0, 3) == "\xEF\xBB\xBF") {
        file.remove_prefix(3);
    }
    section = Trim(section);
    key = Trim(key);

    bool inSection = false;
    bool sectionSeen = false;
    while (!file.empty()) {
        const size_t end = file.find_first_of("\r\n");
        const std::string_view line = Trim(file.substr(0, end));
        file = end == std::string_view::npos ? std::string_view() : file.substr(end + 1);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                if (sectionSeen) {
                    // Only the first section of a name is searched.
                    return std::nullopt;
                }
                inSection = SameName(Trim(line.substr(1, close - 1)), section);
                sectionSeen = inSection;
                continue;
            }
        }
        if (!inSection) {
            continue;
        }
        // A line without an equals sign is no key.
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || !SameName(Trim(line.substr(0, equals)), key)) {
            continue;
        }
        return std::string(WithoutQuotes(Trim(line.substr(equals + 1))));
    }
    return std::nullopt;
}

int32_t ReadFishSetting(const std::string& path) {
    return ConvertFishSetting(ReadProfileValue(path, "Section", "Num"));
}

} // namespace tavren
