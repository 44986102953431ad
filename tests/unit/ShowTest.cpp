#include "saver/ShowBitmaps.h"
#include "saver/Tavren_S.h"
#include "tests/unit/ScriptedMultimedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavren::saver {
namespace {

namespace fs = std::filesystem;

TEST(CursorWatchTest, EndsOnlyBeyond30PixelsOnBothAxes) {
    struct Case {
        int32_t X;
        int32_t Y;
        bool Left;
    };
    const CursorPoint start{500, 400};
    for (const Case& c :
         {Case{31, 31, true}, Case{-31, -31, true}, Case{31, -200, true}, Case{30, 30, false},
          Case{31, 30, false}, Case{100, 0, false}, Case{0, -100, false}, Case{0, 0, false}}) {
        EXPECT_EQ(CursorLeftTheStart(start, {start.X + c.X, start.Y + c.Y}), c.Left)
            << c.X << ", " << c.Y;
    }
}

TEST(MusicFileKindTest, ByTheLastThreeCharactersInAnyCase) {
    EXPECT_EQ(MusicFileKindOf("C:\\a.wav"), MusicFileKind::Wav);
    EXPECT_EQ(MusicFileKindOf("C:\\a.WaV"), MusicFileKind::Wav);
    EXPECT_EQ(MusicFileKindOf("C:\\a.Mp3"), MusicFileKind::Mp3);
    EXPECT_EQ(MusicFileKindOf("C:\\amp3"), MusicFileKind::Mp3);
    EXPECT_EQ(MusicFileKindOf("C:\\a.mid"), MusicFileKind::Other);
    EXPECT_EQ(MusicFileKindOf("av"), MusicFileKind::Other);
}

// Carries the pictures of the assets folder and notes what the show asks of the system.
class FakeShowSystem final : public ShowSystem {
public:
    std::optional<std::vector<uint8_t>> CarriedPicture(const std::string& name) override {
        if (Missing.count(name) != 0) {
            return std::nullopt;
        }
        std::ifstream file(fs::path(TAVREN_ASSETS) / "pictures" / (name + ".jpg"),
                           std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    }
    void StartProgram(const fs::path& program) override {
        Log += "start " + program.filename().string() + "; ";
        if (StartedWith) {
            StartedWith(program);
        }
    }
    std::optional<CursorPoint> CursorPosition() override { return Cursor; }
    int32_t ShowCursor(bool show) override {
        Log += show ? "show cursor; " : "hide cursor; ";
        return 0;
    }
    void EndProgram() override { Log += "end; "; }

    std::set<std::string> Missing;
    std::optional<CursorPoint> Cursor = CursorPoint{100, 200};
    std::function<void(const fs::path&)> StartedWith;
    std::string Log;
};

class ShowTest : public testing::Test {
protected:
    ShowTest() {
        Folder = fs::temp_directory_path() /
                 ("tavren-show-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
    }
    ~ShowTest() override { fs::remove_all(Folder); }

    fs::path Folder;
    FakeShowSystem System;
    ScriptedMultimedia Multimedia;
    SaverState State{SaverMode::Show, {50, 0, 0, ""}, -1, true};
};

struct BitmapHeader {
    int32_t Width = 0;
    int32_t Height = 0;
    uintmax_t FileSize = 0;
};

BitmapHeader ReadHeader(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    uint8_t header[54] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    auto number = [&](int at) {
        return static_cast<int32_t>(header[at] | header[at + 1] << 8 | header[at + 2] << 16 |
                                    header[at + 3] << 24);
    };
    return {number(18), number(22), fs::file_size(path)};
}

TEST_F(ShowTest, LoadWritesAllBitmapsBeforeStartingTheRenderer) {
    // A picture the program does not carry leaves no old file behind.
    System.Missing = {"Tavren107"};
    std::ofstream(Folder / "Tavren107.bmp") << "old";
    int bitmapsAtStart = 0;
    System.StartedWith = [&](const fs::path& program) {
        EXPECT_EQ(program, Folder / "Tavren.pex");
        for (int index = 0; index < ShowBitmapCount; ++index) {
            bitmapsAtStart += fs::exists(Folder / (ShowPictureStem(index) + ".bmp"));
        }
    };
    Tavren_S show(System, Multimedia, State, Folder);
    show.Form_Load();
    EXPECT_EQ(bitmapsAtStart, ShowBitmapCount - 1);
    EXPECT_FALSE(fs::exists(Folder / "Tavren107.bmp"));
    EXPECT_EQ(System.Log, "start Tavren.pex; ");

    struct Size {
        const char* Name;
        int32_t Width;
        int32_t Height;
    };
    for (const Size& size :
         {Size{"Tavren100", 128, 128}, Size{"Tavren131", 128, 128}, Size{"Tavren200", 1024, 160},
          Size{"Tavren201", 405, 257}, Size{"Tavren202", 256, 256}}) {
        const BitmapHeader header = ReadHeader(Folder / (std::string(size.Name) + ".bmp"));
        EXPECT_EQ(header.Width, size.Width) << size.Name;
        EXPECT_EQ(header.Height, size.Height) << size.Name;
        EXPECT_EQ(header.FileSize, 54u + BitmapRowSize(size.Width) * size.Height) << size.Name;
    }
    EXPECT_EQ(show.Start.X, 100);
    EXPECT_EQ(show.Start.Y, 200);
    EXPECT_FALSE(show.Timer1Enabled);
    EXPECT_FALSE(show.Timer2Enabled);
    EXPECT_TRUE(show.Timer3Enabled);
}

struct MusicCase {
    const char* Name;
    int16_t Kind;
    std::string File;
    bool Timer1;
    bool Timer2;
    std::vector<std::string> AtStart;
    std::vector<std::string> AtEnd;
};

void PrintTo(const MusicCase& c, std::ostream* out) {
    *out << c.Name;
}

class ShowMusicTest : public ShowTest, public testing::WithParamInterface<MusicCase> {};

TEST_P(ShowMusicTest, StartAndEndByKindAndFileEnding) {
    const MusicCase& c = GetParam();
    State.Settings.BGM_Kind = c.Kind;
    State.Settings.BGM_File = c.File;
    System.Missing = {}; // every picture, so that only the music differs
    Tavren_S show(System, Multimedia, State, Folder);
    show.Form_Load();
    EXPECT_EQ(Multimedia.Sent, c.AtStart);
    EXPECT_EQ(show.Timer1Enabled, c.Timer1);
    EXPECT_EQ(show.Timer2Enabled, c.Timer2);
    Multimedia.Sent.clear();
    show.Form_QueryUnload();
    EXPECT_EQ(Multimedia.Sent, c.AtEnd);
}

const std::string Mp3 = "C:\\My Music\\sea.Mp3";
const std::string Mp3Open = "open \"" + Mp3 + "\" type MPEGVideo Alias MP3Play";

INSTANTIATE_TEST_SUITE_P(
    Kinds, ShowMusicTest,
    testing::Values(
        MusicCase{"None", 0, "", false, false, {}, {}},
        MusicCase{"Cd",
                  1,
                  "",
                  false,
                  true,
                  {"open cdaudio", "set cdaudio time format tmsf"},
                  {"stop cdaudio", "close cdaudio"}},
        MusicCase{
            "Wav", 2, "C:\\s.wAv", false, false, {"PlaySound C:\\s.wAv 9"}, {"PlaySound NULL 0"}},
        MusicCase{"Mp3",
                  2,
                  Mp3,
                  true,
                  false,
                  {Mp3Open, "play MP3Play"},
                  {"stop MP3Play", "close MP3Play"}},
        MusicCase{"OtherEnding", 2, "C:\\s.mid", false, false, {}, {}},
        MusicCase{"FileOfAnotherKindIgnored", 0, "C:\\s.wav", false, false, {}, {}}),
    [](const testing::TestParamInfo<MusicCase>& info) { return info.param.Name; });

TEST_F(ShowTest, CdPollingStopsAfterItsFirstErrorAndIsNotStoppedAtTheEnd) {
    State.Settings.BGM_Kind = 1;
    Multimedia.Script["status cdaudio current track"] = {266, ""};
    Tavren_S show(System, Multimedia, State, Folder);
    show.Form_Load();
    show.Timer2_Timer();
    EXPECT_FALSE(show.Timer2Enabled);
    Multimedia.Sent.clear();
    show.Form_QueryUnload();
    EXPECT_TRUE(Multimedia.Sent.empty());
}

TEST_F(ShowTest, Mp3RepeatTimerRestartsAStoppedFile) {
    State.Settings.BGM_Kind = 2;
    State.Settings.BGM_File = Mp3;
    Multimedia.Script["status MP3Play mode"] = {0, "stopped"};
    Tavren_S show(System, Multimedia, State, Folder);
    show.Form_Load();
    Multimedia.Sent.clear();
    show.Timer1_Timer();
    EXPECT_EQ(Multimedia.Sent, (std::vector<std::string>{"status MP3Play mode", "stop MP3Play",
                                                         "play MP3Play from 0"}));
}

TEST_F(ShowTest, CursorWatchEndsTheShowAndGivesTheCursorBackOnlyAfterHidingIt) {
    for (const SaverMode mode : {SaverMode::Show, SaverMode::OpenedDirectly}) {
        State.Mode = mode;
        System.Log.clear();
        System.Cursor = CursorPoint{100, 200};
        Tavren_S show(System, Multimedia, State, Folder);
        show.Form_Load();
        System.Cursor = CursorPoint{200, 200};
        show.Timer3_Timer();
        EXPECT_TRUE(show.Timer3Enabled);
        System.Cursor = CursorPoint{131, 231};
        show.Timer3_Timer();
        EXPECT_FALSE(show.Timer3Enabled);
        EXPECT_EQ(System.Log, mode == SaverMode::Show ? "start Tavren.pex; show cursor; end; "
                                                      : "start Tavren.pex; end; ");
    }
    EXPECT_EQ(State.CursorCount, 0);
}

TEST_F(ShowTest, AFailedCursorReadCountsAsTheOrigin) {
    System.Cursor = std::nullopt;
    Tavren_S show(System, Multimedia, State, Folder);
    show.Form_Load();
    EXPECT_EQ(show.Start.X, 0);
    EXPECT_EQ(show.Start.Y, 0);
    System.Cursor = CursorPoint{-31, 31};
    show.Timer3_Timer();
    EXPECT_EQ(System.Log, "start Tavren.pex; show cursor; end; ");
}

} // namespace
} // namespace tavren::saver
