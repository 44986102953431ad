#include "Tavren_B.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <vector>

namespace tavren::saver {

namespace fs = std::filesystem;

namespace {

char SecondCharacter(std::string_view commandLine) {
    if (commandLine.size() < 2) {
        return '\0';
    }
    const char c = commandLine[1];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads key as a number into variable; an empty value gives emptyValue, anything that is not
// a 16-bit number leaves variable as it was.
void LoadNumber(SaverPlatform& platform, const fs::path& file, const char* key, int16_t emptyValue,
                int16_t& variable) {
    const std::string value = platform.ReadIniValue(SettingsSection, key, file);
    if (value.empty()) {
        variable = emptyValue;
    } else if (const auto number = SettingsNumber(value)) {
        variable = *number;
    }
}

// The first `count` characters of UTF-8 text.
std::string CutToCharacters(const std::string& text, size_t count) {
    size_t at = 0;
    for (size_t characters = 0; at < text.size() && characters < count; ++characters) {
        do {
            ++at;
        } while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80);
    }
    return text.substr(0, at);
}

bool CopyPiece(std::ifstream& package, const fs::path& destination, const PackagePiece& piece) {
    std::vector<char> buffer(static_cast<size_t>(piece.Length));
    package.seekg(static_cast<std::streamoff>(piece.Offset));
    package.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (!package) {
        return false;
    }
    fs::path temporary = destination;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, destination, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace

bool IsPlainNumber(std::string_view text) {
    size_t at = 0;
    auto digits = [&] {
        const size_t start = at;
        while (at < text.size() && IsDigit(text[at])) {
            ++at;
        }
        return at - start;
    };
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    size_t mantissa = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        mantissa += digits();
    }
    if (mantissa == 0) {
        return false;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            ++at;
        }
        if (digits() == 0) {
            return false;
        }
    }
    return at == text.size();
}

std::string_view CommandLineArguments(std::string_view commandLine) {
    size_t at = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const size_t closing = commandLine.find('"', 1);
        at = closing == std::string_view::npos ? commandLine.size() : closing + 1;
    }
    while (at < commandLine.size() && commandLine[at] != ' ' && commandLine[at] != '\t') {
        ++at;
    }
    while (at < commandLine.size() && (commandLine[at] == ' ' || commandLine[at] == '\t')) {
        ++at;
    }
    return commandLine.substr(at);
}

SaverMode ModeOf(std::string_view commandLine) {
    if (commandLine.empty()) {
        return SaverMode::OpenedDirectly;
    }
    switch (SecondCharacter(commandLine)) {
    case 'P':
        return SaverMode::Preview;
    case 'C':
        return SaverMode::Settings;
    case 'S':
        return SaverMode::Show;
    default:
        return SaverMode::InstallOnly;
    }
}

uint32_t PreviewHandleOf(std::string_view commandLine) {
    if (commandLine.size() < 4) {
        return 0;
    }
    std::string_view text = commandLine.substr(3);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    uint64_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) {
            break;
        }
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) {
            return 0;
        }
    }
    return static_cast<uint32_t>(value);
}

std::optional<int16_t> SettingsNumber(std::string_view value) {
    if (!IsPlainNumber(value)) {
        return std::nullopt;
    }
    const std::string text(value);
    const double number = std::floor(std::strtod(text.c_str(), nullptr));
    if (!(number >= INT16_MIN && number <= INT16_MAX)) {
        return std::nullopt;
    }
    return static_cast<int16_t>(number);
}

fs::path Utf8Path(std::string_view path) {
    return fs::path(std::u8string(path.begin(), path.end()));
}

bool FileExists(std::string_view path) {
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return !path.empty() && FileExistsAt(Utf8Path(path));
}

bool FileExistsAt(const fs::path& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        return false;
    }
    return std::ifstream(path, std::ios::binary).is_open();
}

SaverSettings LoadSettings(SaverPlatform& platform) {
    const fs::path file = platform.DataFolder() / SettingsFileName;
    SaverSettings settings;
    LoadNumber(platform, file, FishCountKey, 50, settings.FishCount);
    LoadNumber(platform, file, MusicKindKey, 0, settings.BGM_Kind);
    LoadNumber(platform, file, MusicTrackKey, 0, settings.BGM_Track);
    settings.BGM_File = platform.ReadIniValue(SettingsSection, MusicFileKey, file);
    settings.BGM_File = CutToCharacters(settings.BGM_File, LongestSettingsValue);
    if (!settings.BGM_File.empty() && !FileExists(settings.BGM_File)) {
        settings.BGM_File.clear();
    }
    // A file choice without a usable file falls back to no music.
    if (settings.BGM_File.empty() && settings.BGM_Kind == 2) {
        settings.BGM_Kind = 0;
    }
    return settings;
}

InstallResult InstallDataFolder(const fs::path& package, const fs::path& folder,
                                std::span<const PackagePiece> pieces) {
    std::error_code error;
    const uintmax_t packageSize = fs::file_size(package, error);
    if (error) {
        return InstallResult::Failed;
    }
    for (const PackagePiece& piece : pieces) {
        if (piece.Offset > packageSize || piece.Length > packageSize - piece.Offset) {
            return InstallResult::PackageTooShort;
        }
    }
    std::ifstream input(package, std::ios::binary);
    if (!input) {
        return InstallResult::Failed;
    }
    // A piece that cannot be written (a read-only file, a full disk) keeps its old file, and
    // the others are still brought up to date: the show runs with what is there.
    InstallResult result = InstallResult::Installed;
    for (const PackagePiece& piece : pieces) {
        input.clear();
        if (!CopyPiece(input, folder / piece.FileName, piece)) {
            result = InstallResult::Failed;
        }
    }
    return result;
}

SaverState Main(std::string_view commandLine, SaverPlatform& platform,
                std::span<const PackagePiece> pieces) {
    SaverState state;
    state.Mode = ModeOf(commandLine);
    for (const char* title : InstanceTitles) {
        if (platform.WindowTitled(title)) {
            return state;
        }
    }
    if (state.Mode == SaverMode::Preview) {
        platform.RunPreview(PreviewHandleOf(commandLine));
        state.FormLoaded = true;
        return state;
    }
    std::error_code ignored;
    fs::create_directories(platform.DataFolder(), ignored);
    state.Settings = LoadSettings(platform);

    const fs::path package = platform.ProgramFolder() / Utf8Path(DataPackageName);
    if (!FileExistsAt(package)) {
        platform.ShowMessage(MissingPackageMessage);
        return state;
    }
    InstallDataFolder(package, platform.DataFolder(), pieces);

    switch (state.Mode) {
    case SaverMode::Settings:
        platform.ShowSettingsDialog();
        return state;
    case SaverMode::InstallOnly:
        return state;
    case SaverMode::Show:
        state.CursorCount = platform.HideCursor();
        platform.LoadShowForm(state);
        state.FormLoaded = true;
        return state;
    default:
        platform.LoadShowForm(state);
        state.FormLoaded = true;
        return state;
    }
}

} // namespace tavren::saver
