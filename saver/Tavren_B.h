// The screensaver's entry: its modes, the single-instance rule, the settings and the install
// of the data folder from the data package. Windows is reached through SaverPlatform, so that
// every decision here runs in tests with a fake.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavren::saver {

enum class SaverMode {
    Preview,        // "P"
    Settings,       // "C"
    Show,           // "S": the cursor is hidden for the show
    OpenedDirectly, // an empty command line: the show, with the cursor left alone
    InstallOnly,    // anything else
};

// The arguments of a whole Windows command line: the text after the program's name (quoted or
// not) without the blanks before it.
std::string_view CommandLineArguments(std::string_view commandLine);

// The mode from the command line's second character, in upper case.
SaverMode ModeOf(std::string_view commandLine);

// The preview's host window: a decimal number read from the fourth character on, leading
// blanks skipped, stopping at the first character that is not part of it; 0 without digits
// or when the number does not fit in 32 bits.
uint32_t PreviewHandleOf(std::string_view commandLine);

inline constexpr char DataPackageName[] = "タヴレン.data";
inline constexpr char MissingPackageMessage[] = "タヴレン.data が同じﾌｫﾙﾀﾞに見つかりません！";
inline constexpr char SettingsSection[] = "Section";
inline constexpr char FishCountKey[] = "Num";
inline constexpr char MusicKindKey[] = "BGM区分";
inline constexpr char MusicTrackKey[] = "BGMﾘﾋﾟｰﾄ";
inline constexpr char MusicFileKey[] = "BGMﾌｧｲﾙ";
inline constexpr char SettingsFileName[] = "Tavren.ini";
inline constexpr char RendererFileName[] = "Tavren.pex";
// The titles whose windows mean that a copy of the front end or the renderer runs.
inline constexpr const char* InstanceTitles[] = {"Tavren_Main", "<タヴレン>", "Tavren_Quorin"};

// The longest value a settings read returns: its reply buffer holds 256 characters.
inline constexpr size_t LongestSettingsValue = 255;

struct SaverSettings {
    int16_t FishCount = 0;
    int16_t BGM_Kind = 0;
    int16_t BGM_Track = 0;
    std::string BGM_File;
};

// A number as a settings value or a text box holds it: an optional sign, digits with an
// optional fraction, an optional exponent, nothing else.
bool IsPlainNumber(std::string_view text);

// The integer part of a settings value taken as a number, rounded toward minus infinity; none
// when it is not a number or its integer part does not fit in 16 bits.
std::optional<int16_t> SettingsNumber(std::string_view value);

// One piece of the data package: the renderer program or a model file.
struct PackagePiece {
    const char* FileName;
    uint64_t Offset;
    uint64_t Length;
};

enum class InstallResult {
    Installed,
    PackageTooShort, // nothing installed: the folder keeps what it had
    Failed,          // a piece could not be written and keeps its old file; the rest are in
};

struct SaverState;

// What the entry needs of the system. Paths are UTF-8.
class SaverPlatform {
public:
    virtual ~SaverPlatform() = default;
    virtual bool WindowTitled(const std::string& title) = 0;
    virtual void RunPreview(uint32_t hostWindow) = 0;
    virtual std::filesystem::path DataFolder() = 0;
    virtual std::filesystem::path ProgramFolder() = 0;
    // The settings value, or empty when the key or the file is missing.
    virtual std::string ReadIniValue(const std::string& section, const std::string& key,
                                     const std::filesystem::path& file) = 0;
    // Writes one key, creating the file and the section when they are missing.
    virtual void WriteIniValue(const std::string& section, const std::string& key,
                               const std::string& value, const std::filesystem::path& file) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowSettingsDialog() = 0;
    // ShowCursor(FALSE)'s display count.
    virtual int32_t HideCursor() = 0;
    // Loads the hidden show form, which runs on the state's settings.
    virtual void LoadShowForm(const SaverState& state) = 0;
};

// The module's state: the settings variables and the saved cursor count.
struct SaverState {
    SaverMode Mode = SaverMode::InstallOnly;
    SaverSettings Settings;
    int32_t CursorCount = 0;
    // A preview or show form was loaded and keeps the program running.
    bool FormLoaded = false;
};

// A UTF-8 path as the file system's path, on every platform.
std::filesystem::path Utf8Path(std::string_view path);

// True when the file can be opened for reading; a folder gives false. One trailing backslash
// is dropped first.
bool FileExists(std::string_view path);
bool FileExistsAt(const std::filesystem::path& path);

// Reads the four keys; never fails.
SaverSettings LoadSettings(SaverPlatform& platform);

// Copies each piece of the package into the folder through a temporary file renamed over the
// old one, so that a failure never leaves a half-written program or model behind. A package
// shorter than its pieces installs nothing.
InstallResult InstallDataFolder(const std::filesystem::path& package,
                                const std::filesystem::path& folder,
                                std::span<const PackagePiece> pieces);

// The startup procedure. Returns the state the loaded form runs on; the program ends when
// this returns in any mode but the preview and the show.
SaverState Main(std::string_view commandLine, SaverPlatform& platform,
                std::span<const PackagePiece> pieces);

} // namespace tavren::saver
