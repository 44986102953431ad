#include "saver/Tavren_B.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavren::saver {
namespace {

namespace fs = std::filesystem;

TEST(CommandLineTest, ModeFromTheSecondCharacter) {
    struct Case {
        const char* CommandLine;
        SaverMode Mode;
    };
    for (const Case& c : {Case{"/p 1234", SaverMode::Preview}, Case{"/P:1234", SaverMode::Preview},
                          Case{"/c", SaverMode::Settings}, Case{"/C:5678", SaverMode::Settings},
                          Case{"-c", SaverMode::Settings}, Case{"/s", SaverMode::Show},
                          Case{"-S", SaverMode::Show}, Case{"", SaverMode::OpenedDirectly},
                          Case{"/a", SaverMode::InstallOnly}, Case{"s", SaverMode::InstallOnly}}) {
        EXPECT_EQ(ModeOf(c.CommandLine), c.Mode) << c.CommandLine;
    }
}

TEST(CommandLineTest, ArgumentsAfterTheProgramName) {
    struct Case {
        const char* CommandLine;
        const char* Arguments;
    };
    for (const Case& c :
         {Case{"\"C:\\Saver Folder\\タヴレン.scr\" /s", "/s"},
          Case{"\"C:\\x.scr\"   /p 1234", "/p 1234"}, Case{"C:\\x.scr /c:5678", "/c:5678"},
          Case{"x.scr", ""}, Case{"\"C:\\x.scr\"", ""}, Case{"\"unclosed /s", ""}}) {
        EXPECT_EQ(CommandLineArguments(c.CommandLine), c.Arguments) << c.CommandLine;
    }
}

TEST(CommandLineTest, PreviewHandleFromTheFourthCharacter) {
    struct Case {
        const char* CommandLine;
        uint32_t Handle;
    };
    for (const Case& c : {Case{"/p 1234", 1234}, Case{"/P:1234", 1234}, Case{"/p1234", 234},
                          Case{"/p    77x9", 77}, Case{"/p abc", 0}, Case{"/p", 0},
                          Case{"/p 4294967295", 4294967295u}, Case{"/p 4294967296", 0}}) {
        EXPECT_EQ(PreviewHandleOf(c.CommandLine), c.Handle) << c.CommandLine;
    }
}

TEST(SettingsNumberTest, IntegerPartTowardMinusInfinityIn16Bits) {
    struct Case {
        const char* Value;
        std::optional<int16_t> Number;
    };
    for (const Case& c :
         {Case{"35", 35}, Case{"12.9", 12}, Case{"-3", -3}, Case{"-2.5", -3}, Case{"1e2", 100},
          Case{"32767", 32767}, Case{"-32768", -32768}, Case{"32768", std::nullopt},
          Case{"99999", std::nullopt}, Case{"abc", std::nullopt}, Case{"12abc", std::nullopt},
          Case{".", std::nullopt}, Case{"inf", std::nullopt}}) {
        EXPECT_EQ(SettingsNumber(c.Value), c.Number) << c.Value;
    }
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        Path = fs::temp_directory_path() /
               ("tavren-saver-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TemporaryFolder() { fs::remove_all(Path); }
    fs::path Path;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Records what the entry asks of the system; settings values come from a table.
class FakeSaverPlatform final : public SaverPlatform {
public:
    explicit FakeSaverPlatform(fs::path root) : Root(std::move(root)) {}

    bool WindowTitled(const std::string& title) override {
        Log += "find " + title + "; ";
        return title == RunningTitle;
    }
    void RunPreview(uint32_t hostWindow) override {
        Log += "preview " + std::to_string(hostWindow) + "; ";
    }
    fs::path DataFolder() override { return Root / "Tavren_Data"; }
    fs::path ProgramFolder() override { return Root / "program"; }
    std::string ReadIniValue(const std::string& section, const std::string& key,
                             const fs::path& file) override {
        EXPECT_EQ(section, "Section");
        EXPECT_EQ(file, DataFolder() / "Tavren.ini");
        const auto value = Values.find(key);
        return value != Values.end() ? value->second : "";
    }
    void ShowMessage(const std::string& text) override { Log += "message " + text + "; "; }
    void ShowSettingsDialog() override { Log += "settings; "; }
    int32_t HideCursor() override {
        Log += "hide cursor; ";
        return -1;
    }
    void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const fs::path&) override {
        Log += "write " + section + " " + key + "=" + value + "; ";
    }
    void LoadShowForm(const SaverState& state) override {
        Log += "show; ";
        ShownWith = state;
    }

    fs::path Root;
    std::string RunningTitle;
    std::map<std::string, std::string> Values;
    std::string Log;
    SaverState ShownWith;
};

TEST(LoadSettingsTest, DefaultsConversionsAndTheMusicFileProbe) {
    TemporaryFolder folder;
    const fs::path song = folder.Path / "song.mp3";
    WriteFile(song, "ID3");
    struct Case {
        std::map<std::string, std::string> Values;
        SaverSettings Expected;
    };
    const std::string longPath = (folder.Path / std::string(300, 'a')).string();
    const Case cases[] = {
        {{}, {50, 0, 0, ""}},
        {{{"Num", "12.9"}, {"BGM区分", "1"}, {"BGMﾘﾋﾟｰﾄ", "-3"}}, {12, 1, -3, ""}},
        {{{"Num", "abc"}, {"BGM区分", "99999"}}, {0, 0, 0, ""}},
        {{{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", song.string()}}, {50, 2, 0, song.string()}},
        {{{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", (folder.Path / "gone.mp3").string()}}, {50, 0, 0, ""}},
        {{{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", folder.Path.string()}}, {50, 0, 0, ""}},
        {{{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", song.string() + "\\"}}, {50, 2, 0, song.string() + "\\"}},
        {{{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", longPath}}, {50, 0, 0, ""}},
    };
    for (const Case& c : cases) {
        FakeSaverPlatform platform(folder.Path);
        platform.Values = c.Values;
        const SaverSettings settings = LoadSettings(platform);
        EXPECT_EQ(settings.FishCount, c.Expected.FishCount);
        EXPECT_EQ(settings.BGM_Kind, c.Expected.BGM_Kind);
        EXPECT_EQ(settings.BGM_Track, c.Expected.BGM_Track);
        EXPECT_EQ(settings.BGM_File, c.Expected.BGM_File);
    }
}

TEST(LoadSettingsTest, AMusicFilePathIsCutTo255Characters) {
    TemporaryFolder folder;
    // A 255-character path names a file that exists; anything after it is dropped.
    std::string name = (folder.Path / "").string();
    name += std::string(255 - name.size() - 4, 'b') + ".wav";
    ASSERT_EQ(name.size(), 255u);
    WriteFile(name, "RIFF");
    FakeSaverPlatform platform(folder.Path);
    platform.Values = {{"BGM区分", "2"}, {"BGMﾌｧｲﾙ", name + "zzzz"}};
    const SaverSettings settings = LoadSettings(platform);
    EXPECT_EQ(settings.BGM_File, name);
    EXPECT_EQ(settings.BGM_Kind, 2);
}

const std::string Program = "renderer-program";
const std::string Fish = "fish model";
const std::string Floor = "terrain";
const PackagePiece Pieces[] = {
    {"Tavren.pex", 0, 16}, {"Tavren.pp1", 16, 10}, {"Tavren.pp2", 26, 7}};

TEST(InstallTest, EachPieceExactlyItsSlice) {
    TemporaryFolder folder;
    WriteFile(folder.Path / "package", Program + Fish + Floor);
    WriteFile(folder.Path / "Tavren.pp1", std::string(500, 'x')); // longer than its piece
    EXPECT_EQ(InstallDataFolder(folder.Path / "package", folder.Path, Pieces),
              InstallResult::Installed);
    EXPECT_EQ(ReadFile(folder.Path / "Tavren.pex"), Program);
    EXPECT_EQ(ReadFile(folder.Path / "Tavren.pp1"), Fish);
    EXPECT_EQ(ReadFile(folder.Path / "Tavren.pp2"), Floor);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path), fs::directory_iterator()), 4);
}

TEST(InstallTest, AShortPackageInstallsNothing) {
    TemporaryFolder folder;
    WriteFile(folder.Path / "package", Program + Fish + "ter");
    WriteFile(folder.Path / "Tavren.pex", "old program");
    EXPECT_EQ(InstallDataFolder(folder.Path / "package", folder.Path, Pieces),
              InstallResult::PackageTooShort);
    EXPECT_EQ(ReadFile(folder.Path / "Tavren.pex"), "old program");
    EXPECT_FALSE(fs::exists(folder.Path / "Tavren.pp1"));
}

TEST(InstallTest, AFailedPieceKeepsItsOldFileAndTheOthersAreInstalled) {
    TemporaryFolder folder;
    WriteFile(folder.Path / "package", Program + Fish + Floor);
    WriteFile(folder.Path / "Tavren.pex", "old program");
    // A folder where the model should go cannot be replaced by a file.
    fs::create_directories(folder.Path / "Tavren.pp1" / "inside");
    EXPECT_EQ(InstallDataFolder(folder.Path / "package", folder.Path, Pieces),
              InstallResult::Failed);
    EXPECT_EQ(ReadFile(folder.Path / "Tavren.pex"), Program);
    EXPECT_TRUE(fs::is_directory(folder.Path / "Tavren.pp1"));
    EXPECT_FALSE(fs::exists(folder.Path / "Tavren.pp1.new"));
    EXPECT_EQ(ReadFile(folder.Path / "Tavren.pp2"), Floor);
}

class MainTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Platform.ProgramFolder());
        WriteFile(Platform.ProgramFolder() / Utf8Path(DataPackageName), Program + Fish + Floor);
    }

    TemporaryFolder Folder;
    FakeSaverPlatform Platform{Folder.Path};
};

constexpr char Lookups[] = "find Tavren_Main; find <タヴレン>; find Tavren_Quorin; ";

TEST_F(MainTest, EachModeAfterTheInstall) {
    struct Case {
        const char* CommandLine;
        std::string Log;
        bool FormLoaded;
        int32_t CursorCount;
    };
    for (const Case& c : {Case{"/s", "hide cursor; show; ", true, -1}, Case{"", "show; ", true, 0},
                          Case{"/C:5678", "settings; ", false, 0}, Case{"/a", "", false, 0},
                          Case{"x", "", false, 0}}) {
        Platform.Log.clear();
        fs::remove_all(Platform.DataFolder());
        const SaverState state = Main(c.CommandLine, Platform, Pieces);
        EXPECT_EQ(Platform.Log, Lookups + c.Log) << c.CommandLine;
        EXPECT_EQ(state.FormLoaded, c.FormLoaded) << c.CommandLine;
        EXPECT_EQ(state.CursorCount, c.CursorCount) << c.CommandLine;
        EXPECT_EQ(ReadFile(Platform.DataFolder() / "Tavren.pp2"), Floor) << c.CommandLine;
        EXPECT_EQ(state.Settings.FishCount, 50);
        if (c.FormLoaded) {
            // The show form runs on the settings and the cursor count of the entry.
            EXPECT_EQ(Platform.ShownWith.Mode, state.Mode) << c.CommandLine;
            EXPECT_EQ(Platform.ShownWith.CursorCount, c.CursorCount) << c.CommandLine;
            EXPECT_EQ(Platform.ShownWith.Settings.FishCount, 50) << c.CommandLine;
        }
    }
}

TEST_F(MainTest, PreviewTouchesNeitherFolderNorSettings) {
    const SaverState state = Main("/p 1234", Platform, Pieces);
    EXPECT_EQ(Platform.Log, std::string(Lookups) + "preview 1234; ");
    EXPECT_TRUE(state.FormLoaded);
    EXPECT_FALSE(fs::exists(Platform.DataFolder()));
}

TEST_F(MainTest, ARunningCopyEndsEveryStartAtOnce) {
    for (const char* title : InstanceTitles) {
        for (const char* commandLine : {"/p 1", "/s", "/c", ""}) {
            Platform.RunningTitle = title;
            Platform.Log.clear();
            const SaverState state = Main(commandLine, Platform, Pieces);
            EXPECT_FALSE(state.FormLoaded);
            EXPECT_EQ(Platform.Log.find("preview"), std::string::npos);
            EXPECT_EQ(Platform.Log.rfind("find " + std::string(title) + "; "),
                      Platform.Log.size() - std::string(title).size() - 7);
            EXPECT_FALSE(fs::exists(Platform.DataFolder()));
        }
    }
}

TEST_F(MainTest, AMissingPackageShowsTheMessageAndInstallsNothing) {
    fs::remove(Platform.ProgramFolder() / Utf8Path(DataPackageName));
    const SaverState state = Main("/s", Platform, Pieces);
    EXPECT_EQ(Platform.Log, std::string(Lookups) + "message " + MissingPackageMessage + "; ");
    EXPECT_FALSE(state.FormLoaded);
    EXPECT_TRUE(fs::is_directory(Platform.DataFolder()));
    EXPECT_FALSE(fs::exists(Platform.DataFolder() / "Tavren.pex"));
}

} // namespace
} // namespace tavren::saver
