// The Windows screensaver under Wine: its install, its show with the renderer, its single-
// instance rule, its message for a missing package, its settings file and its music. The Wine
// prefix is made once for the whole run; each case has its own display, program folder and
// data folder, and the prefix's processes are ended after each case.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/WineFrontEnd.h"

namespace tavren::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char MissingPackageMessage[] = "タヴレン.data が同じﾌｫﾙﾀﾞに見つかりません！";
constexpr char RendererTitle[] = "Tavren_Quorin";

// The model files that went into the package.
const fs::path Models = fs::path(EnvironmentValue("TAVREN_E2E_ASSETS")) / "models";
// The Linux build's data folder: the same pictures decoded by libjpeg, written by the same
// writer.
const fs::path LinuxData = EnvironmentValue("TAVREN_E2E_DATA");

class WineSaverTest : public WineFrontEndTest {
protected:
    void SetUp() override {
        WineFrontEndTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        // A sound device that plays into nothing, so that the wave output has a device.
        std::ofstream(Prefix->HomeFolder() / ".asoundrc") << "pcm.!default { type null }\n";
        Client.MovePointer(Centre);
    }

    ProcessEnvironment Environment() const override {
        return WineFrontEndTest::Environment().Set("TAVREN_MCI_LOG", WinePath(MciLog));
    }

    std::unique_ptr<ChildProcess> StartSaver(const std::string& commandLine) {
        return WineFrontEndTest::StartSaver(commandLine.empty()
                                                ? std::vector<std::string>{}
                                                : std::vector<std::string>{commandLine});
    }

    // Runs the front end to its end; its exit code, or empty when it did not end in time.
    std::optional<int> RunSaver(const std::string& commandLine) {
        return StartSaver(commandLine)->WaitForExit(ExitDeadline);
    }

    // The installed pieces are the files that were joined into the package, and the package is
    // those files one after the other.
    void ExpectPiecesInstalled() {
        const std::string pieces[] = {ReadFile(Dist / "Tavren.pex"),
                                      ReadFile(Models / "Tavren.pp1"),
                                      ReadFile(Models / "Tavren.pp2")};
        const std::string package = ReadFile(Dist / PackageName);
        size_t offset = 0;
        for (const auto& [index, name] :
             std::map<int, const char*>{{0, "Tavren.pex"}, {1, "Tavren.pp1"}, {2, "Tavren.pp2"}}) {
            ASSERT_FALSE(pieces[index].empty()) << name;
            EXPECT_EQ(package.substr(offset, pieces[index].size()), pieces[index]) << name;
            EXPECT_TRUE(ReadFile(DataFolder / name) == pieces[index]) << name;
            offset += pieces[index].size();
        }
        EXPECT_EQ(offset, package.size());
    }

    std::map<std::string, fs::file_time_type> FileTimes() const {
        std::map<std::string, fs::file_time_type> times;
        for (const auto& entry : fs::directory_iterator(DataFolder)) {
            times[entry.path().filename().string()] = entry.last_write_time();
        }
        return times;
    }

    // Starts a show and waits until the renderer's window is there and its loop runs.
    std::unique_ptr<ChildProcess> StartShow(const std::string& commandLine = "/s") {
        std::unique_ptr<ChildProcess> saver = StartSaver(commandLine);
        const auto window = Client.WaitForWindow(RendererTitle, WindowDeadline);
        EXPECT_TRUE(window) << "no window titled " << RendererTitle << " showed";
        if (window) {
            RendererWindow = *window;
            Client.CountTitleSets(RendererWindow);
            EXPECT_TRUE(Client.WaitForTitleSets(1, WindowDeadline)) << "the renderer's loop";
        }
        return saver;
    }

    // Moves the pointer 31 right and 31 down from where the show started and checks that the
    // front end and the renderer both end and the cursor shows again.
    void EndShow(ChildProcess& saver) {
        Client.MovePointer(Centre + Point{31, 31});
        EXPECT_EQ(saver.WaitForExit(ExitDeadline), 0) << "the front end did not end";
        EXPECT_TRUE(
            WaitUntil([&] { return Client.FindWindows(RendererTitle).empty(); }, ExitDeadline))
            << "the renderer did not end";
        EXPECT_FALSE(Client.CursorHidden());
    }

    const Point Centre{512, 384};
    const fs::path MciLog = Folder.Path() / "mci.log";
    XWindow RendererWindow = 0;
};

TEST_F(WineSaverTest, ShowInstallsWritesTheBitmapsAndEndsOnlyOnADiagonalMove) {
    ASSERT_FALSE(fs::exists(DataFolder));
    const std::unique_ptr<ChildProcess> saver = StartShow();
    ASSERT_NE(RendererWindow, 0u);
    ExpectPiecesInstalled();

    struct Size {
        int32_t Width;
        int32_t Height;
    };
    std::map<std::string, Size> sizes;
    for (int index = 0; index < 32; ++index) {
        sizes["Tavren1" + std::string(index < 10 ? "0" : "") + std::to_string(index) + ".bmp"] = {
            128, 128};
    }
    sizes["Tavren200.bmp"] = {1024, 160};
    sizes["Tavren201.bmp"] = {405, 257};
    sizes["Tavren202.bmp"] = {256, 256};
    for (const auto& [name, size] : sizes) {
        const std::string file = ReadFile(DataFolder / name);
        ASSERT_GE(file.size(), 54u) << name;
        auto number = [&](size_t at) {
            return static_cast<int32_t>(static_cast<uint8_t>(file[at]) |
                                        static_cast<uint8_t>(file[at + 1]) << 8 |
                                        static_cast<uint8_t>(file[at + 2]) << 16 |
                                        static_cast<uint8_t>(file[at + 3]) << 24);
        };
        EXPECT_EQ(file.substr(0, 2), "BM") << name;
        EXPECT_EQ(number(18), size.Width) << name;
        EXPECT_EQ(number(22), size.Height) << name;
        const size_t rowSize = (static_cast<size_t>(size.Width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(file.size(), 54 + rowSize * size.Height) << name;
        // Decoded the same way up and in the same colour order: only the decoders' rounding
        // differs.
        const std::string expected = ReadFile(LinuxData / name);
        ASSERT_EQ(expected.size(), file.size()) << name;
        double difference = 0;
        for (size_t at = 54; at < file.size(); ++at) {
            difference +=
                std::abs(static_cast<uint8_t>(file[at]) - static_cast<uint8_t>(expected[at]));
        }
        EXPECT_LT(difference / static_cast<double>(file.size() - 54), 2.0) << name;
    }
    EXPECT_EQ(RunHelper({"find", "Tavren_Main"}).ExitCode, 0) << "the hidden show form";

    // A second show while this one runs ends at once and rewrites nothing.
    const auto timesBefore = FileTimes();
    EXPECT_EQ(RunSaver("/s"), 0);
    EXPECT_EQ(FileTimes(), timesBefore);

    Client.MovePointer(Centre + Point{100, 0});
    EXPECT_FALSE(saver->WaitForExit(1500ms)) << "a move along one axis ended the front end";
    EXPECT_FALSE(Client.FindWindows(RendererTitle).empty()) << "and the renderer";
    EndShow(*saver);
}

// Opening the program directly starts the same show; the renderer hides the cursor over its own
// window, the front end leaves it alone.
TEST_F(WineSaverTest, AnEmptyCommandLineStartsTheShowToo) {
    const std::unique_ptr<ChildProcess> saver = StartShow("");
    ASSERT_NE(RendererWindow, 0u);
    EXPECT_TRUE(fs::exists(DataFolder / "Tavren202.bmp"));
    EndShow(*saver);
}

// The two programs end by their own rules: the renderer on Escape, the hidden show form when
// Windows asks it to close, stopping the music and giving the cursor back.
TEST_F(WineSaverTest, TheShowRunsOnAfterTheRendererUntilWindowsClosesIt) {
    const std::unique_ptr<ChildProcess> saver = StartShow();
    ASSERT_NE(RendererWindow, 0u);
    Client.KeyDown("Escape");
    const bool rendererEnded =
        WaitUntil([&] { return Client.FindWindows(RendererTitle).empty(); }, ExitDeadline);
    Client.KeyUp("Escape");
    ASSERT_TRUE(rendererEnded) << "the renderer did not end on Escape";
    EXPECT_FALSE(saver->WaitForExit(1s)) << "the front end ended with the renderer";
    EXPECT_EQ(RunHelper({"close", "Tavren_Main"}).ExitCode, 0);
    EXPECT_EQ(saver->WaitForExit(ExitDeadline), 0);
    EXPECT_FALSE(Client.CursorHidden());
}

TEST_F(WineSaverTest, InstallOnlyInstallsAndATruncatedPackageKeepsWhatIsInstalled) {
    EXPECT_EQ(RunSaver("/a"), 0);
    ExpectPiecesInstalled();
    EXPECT_FALSE(fs::exists(DataFolder / "Tavren100.bmp"));
    EXPECT_TRUE(Client.FindWindows(RendererTitle).empty());

    const fs::path package = ProgramFolder / PackageName;
    fs::resize_file(package, fs::file_size(package) - 1000);
    EXPECT_EQ(RunSaver("/a"), 0);
    ExpectPiecesInstalled();
    EXPECT_EQ(std::distance(fs::directory_iterator(DataFolder), fs::directory_iterator()), 3);
}

TEST_F(WineSaverTest, AMissingPackageShowsTheMessageAndInstallsNothing) {
    fs::remove(ProgramFolder / PackageName);
    const std::unique_ptr<ChildProcess> saver = StartSaver("/s");
    CommandResult text;
    EXPECT_TRUE(WaitUntil(
        [&] {
            text = RunHelper({"dialog-text", "タヴレン"});
            return text.ExitCode == 0 && !text.Output.empty();
        },
        WindowDeadline, 500ms))
        << "no message box";
    EXPECT_EQ(Lines(text.Output), std::vector<std::string>{MissingPackageMessage});
    EXPECT_EQ(RunHelper({"close", "タヴレン"}).ExitCode, 0);
    EXPECT_EQ(saver->WaitForExit(ExitDeadline), 0);
    EXPECT_TRUE(fs::is_directory(DataFolder));
    EXPECT_TRUE(fs::is_empty(DataFolder));
    EXPECT_TRUE(Client.FindWindows(RendererTitle).empty());
}

TEST_F(WineSaverTest, SettingsWeWriteKeepTheirJapaneseKeys) {
    fs::create_directories(DataFolder);
    const fs::path file = DataFolder / "Tavren.ini";
    const std::map<std::string, std::string> values = {
        {"Num", "35"}, {"BGM区分", "2"}, {"BGMﾘﾋﾟｰﾄ", "3"}, {"BGMﾌｧｲﾙ", "C:\\音楽\\海 の歌.mp3"}};
    for (const auto& [key, value] : values) {
        EXPECT_EQ(RunHelper({"write-setting", WinePath(file), "Section", key, value}).ExitCode, 0);
    }
    EXPECT_EQ(ReadFile(file).substr(0, 2), "\xFF\xFE") << "not kept Unicode";
    for (const auto& [key, value] : values) {
        EXPECT_EQ(Lines(RunHelper({"read-setting", WinePath(file), "Section", key}).Output),
                  std::vector<std::string>{value})
            << key;
    }
}

// Japanese names pass through the settings file and the wide-character calls intact.
// Music from a file: the show sends its commands (the log of what it sent is the witness,
// whether or not Wine can play the sound) and stops the music when it ends.
class WineSaverMusicTest : public WineSaverTest {
protected:
    // Makes a sound file with sox and chooses it in the settings file.
    void ChooseMusic(const std::string& name) {
        const fs::path sound = Folder.Path() / name;
        ASSERT_EQ(RunCommand({"sox", "-n", "-r", "22050", "-c", "1", sound.string(), "synth", "1",
                              "sine", "440"},
                             ProcessEnvironment::Inherited())
                      .ExitCode,
                  0)
            << "sox could not make " << name;
        fs::create_directories(DataFolder);
        const std::string file = WinePath(DataFolder / "Tavren.ini");
        ASSERT_EQ(RunHelper({"write-setting", file, "Section", "BGM区分", "2"}).ExitCode, 0);
        ASSERT_EQ(
            RunHelper({"write-setting", file, "Section", "BGMﾌｧｲﾙ", WinePath(sound)}).ExitCode, 0);
        SoundFile = WinePath(sound);
    }

    std::vector<std::string> PlayShow(std::chrono::milliseconds length) {
        const std::unique_ptr<ChildProcess> saver = StartShow();
        std::this_thread::sleep_for(length);
        EndShow(*saver);
        return Lines(ReadFile(MciLog));
    }

    std::string SoundFile;
};

TEST_F(WineSaverMusicTest, AWavFileLoopsUntilTheShowEnds) {
    ASSERT_NO_FATAL_FAILURE(ChooseMusic("波の歌.wav"));
    const std::vector<std::string> log = PlayShow(500ms);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_TRUE(log[0].starts_with("waveOutGetNumDevs\t")) << log[0];
    EXPECT_EQ(log[1], "PlaySound\t" + SoundFile + "\t9");
    EXPECT_EQ(log[2], "PlaySound\tNULL\t0");
}

TEST_F(WineSaverMusicTest, AnMp3FileStartsAgainWhenItHasEnded) {
    ASSERT_NO_FATAL_FAILURE(ChooseMusic("sea song 海.mp3"));
    const std::vector<std::string> log = PlayShow(3s);
    ASSERT_GE(log.size(), 4u);
    const std::string open =
        "mciSendString\topen \"" + SoundFile + "\" type MPEGVideo Alias MP3Play\t";
    ASSERT_TRUE(log[0].starts_with(open)) << log[0];
    size_t polls = 0;
    for (const std::string& line : log) {
        polls += line.starts_with("mciSendString\tstatus MP3Play mode\t");
    }
    EXPECT_GE(polls, 2u);
    if (log[0] == open + "0") {
        // Wine played it: a second of sound has ended and started again from the beginning.
        EXPECT_EQ(log[1], "mciSendString\tplay MP3Play\t0");
        EXPECT_NE(std::find(log.begin(), log.end(), "mciSendString\tplay MP3Play from 0\t0"),
                  log.end());
    }
    EXPECT_TRUE(log[log.size() - 2].starts_with("mciSendString\tstop MP3Play\t"));
    EXPECT_TRUE(log.back().starts_with("mciSendString\tclose MP3Play\t"));
}

// Wine has no CD drive: the open fails, the first poll sees the error and polling stops for
// good, and the end of the show sends nothing to the drive.
TEST_F(WineSaverMusicTest, AMusicCdThatIsNotThereStopsThePolling) {
    fs::create_directories(DataFolder);
    ASSERT_EQ(
        RunHelper({"write-setting", WinePath(DataFolder / "Tavren.ini"), "Section", "BGM区分", "1"})
            .ExitCode,
        0);
    const std::vector<std::string> log = PlayShow(1s);
    ASSERT_GE(log.size(), 3u);
    EXPECT_TRUE(log[0].starts_with("mciSendString\topen cdaudio\t")) << log[0];
    EXPECT_TRUE(log[1].starts_with("mciSendString\tset cdaudio time format tmsf\t")) << log[1];
    EXPECT_TRUE(log[2].starts_with("mciSendString\tstatus cdaudio current track\t")) << log[2];
    if (log[0] != "mciSendString\topen cdaudio\t0") {
        EXPECT_EQ(log.size(), 3u) << "polled again or stopped the drive after an error";
    }
}

// Faults on the data folder: whatever cannot be written, the files that are there stay whole,
// nothing half-written is left, and the front end neither crashes nor hangs.
class WineSaverFaultTest : public WineSaverTest {
protected:
    void TearDown() override {
        WineSaverTest::TearDown();
        if (DiskMounted &&
            RunCommand({"umount", DataFolder.string()}, ProcessEnvironment::Inherited()).ExitCode !=
                0) {
            // Still busy: detached now, gone once the last user lets go.
            RunCommand({"umount", "-l", DataFolder.string()}, ProcessEnvironment::Inherited());
        }
    }

    // Puts the data folder on a tmpfs of `bytes`, standing for a small disk.
    bool MountSmallDisk(uintmax_t bytes) {
        fs::create_directories(DataFolder);
        DiskMounted = RunCommand({"mount", "-t", "tmpfs", "-o", "size=" + std::to_string(bytes),
                                  "tmpfs", DataFolder.string()},
                                 ProcessEnvironment::Inherited())
                          .ExitCode == 0;
        return DiskMounted;
    }

    // Fills what is left of the small disk.
    void FillDisk() {
        const int file = open((DataFolder / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(file, 0);
        const std::vector<char> block(4096, 'f');
        while (write(file, block.data(), block.size()) > 0) {
        }
        close(file);
    }

    // Every file in the data folder is one the front end writes (or the filler), and whole: no
    // temporary file is left, the pieces are the package's, and a bitmap has all its rows.
    void ExpectNothingHalfWritten() {
        const std::map<std::string, std::string> pieces = {
            {"Tavren.pex", ReadFile(Dist / "Tavren.pex")},
            {"Tavren.pp1", ReadFile(Models / "Tavren.pp1")},
            {"Tavren.pp2", ReadFile(Models / "Tavren.pp2")}};
        for (const auto& entry : fs::directory_iterator(DataFolder)) {
            const std::string name = entry.path().filename().string();
            if (name == "filler" || name == "Tavren.ini") {
                continue;
            }
            if (const auto piece = pieces.find(name); piece != pieces.end()) {
                EXPECT_TRUE(ReadFile(entry.path()) == piece->second) << name << " is not whole";
            } else if (name.ends_with(".bmp") && fs::exists(LinuxData / name)) {
                EXPECT_EQ(entry.file_size(), fs::file_size(LinuxData / name))
                    << name << " is not whole";
            } else {
                ADD_FAILURE() << "left in the data folder: " << name;
            }
        }
    }

    bool DiskMounted = false;
};

// The first show on a disk with no room for the renderer: the models go in, the renderer does
// not, and the show form still ends on the mouse.
TEST_F(WineSaverFaultTest, WithNoRoomForTheRendererTheShowFormStillEnds) {
    if (!MountSmallDisk(1024 * 1024)) {
        GTEST_SKIP() << "no tmpfs can be mounted here (it needs root)";
    }
    const std::unique_ptr<ChildProcess> saver = StartSaver("/s");
    EXPECT_TRUE(WaitUntil(
        [&] {
            return RunHelper({"find", "Tavren_Main"}).ExitCode == 0;
        },
        WindowDeadline, 500ms))
        << "no show form";
    EXPECT_FALSE(fs::exists(DataFolder / "Tavren.pex"));
    EXPECT_TRUE(fs::exists(DataFolder / "Tavren.pp2"));
    ExpectNothingHalfWritten();
    EndShow(*saver);
}

// A disk that filled up after the install: nothing can be rewritten, the installed files stay
// as they were and the show runs with them.
TEST_F(WineSaverFaultTest, OnAFullDiskTheInstalledFilesStayWholeAndTheShowRuns) {
    if (!MountSmallDisk(8 * 1024 * 1024)) {
        GTEST_SKIP() << "no tmpfs can be mounted here (it needs root)";
    }
    EndShow(*StartShow());
    Client.MovePointer(Centre);
    FillDisk();
    const std::unique_ptr<ChildProcess> saver = StartShow();
    ASSERT_NE(RendererWindow, 0u);
    ExpectPiecesInstalled();
    ExpectNothingHalfWritten();
    EndShow(*saver);
}

// Settings saved on a full disk: the file keeps every value it had.
TEST_F(WineSaverFaultTest, SettingsSavedOnAFullDiskLoseNothing) {
    if (!MountSmallDisk(256 * 1024)) {
        GTEST_SKIP() << "no tmpfs can be mounted here (it needs root)";
    }
    const std::string file = WinePath(DataFolder / "Tavren.ini");
    const std::vector<std::pair<std::string, std::string>> values = {
        {"Num", "35"}, {"BGM区分", "1"}, {"BGMﾘﾋﾟｰﾄ", "3"}, {"BGMﾌｧｲﾙ", "C:\\海.mp3"}};
    for (const auto& [key, value] : values) {
        ASSERT_EQ(RunHelper({"write-setting", file, "Section", key, value}).ExitCode, 0);
    }
    FillDisk();
    // The first value grows, so the whole file has to move.
    EXPECT_EQ(RunHelper({"write-setting", file, "Section", "Num", std::string(3000, '9')}).ExitCode,
              1)
        << "not reported";
    for (const auto& [key, value] : std::span(values).subspan(1)) {
        EXPECT_EQ(Lines(RunHelper({"read-setting", file, "Section", key}).Output),
                  std::vector<std::string>{value})
            << key;
    }
    EXPECT_FALSE(fs::exists(DataFolder / "Tavren.ini.new"));
    fs::remove(DataFolder / "filler");
    EXPECT_EQ(RunHelper({"write-setting", file, "Section", "Num", "9"}).ExitCode, 0);
    EXPECT_EQ(Lines(RunHelper({"read-setting", file, "Section", "Num"}).Output),
              std::vector<std::string>{"9"});
}

// A renderer file made read-only: Windows refuses to replace it and it is kept, Wine replaces
// it; either way it is whole, the models are still brought up to date, and the show runs.
TEST_F(WineSaverFaultTest, AReadOnlyRendererStaysWholeAndTheShowRuns) {
    ASSERT_EQ(RunSaver("/a"), 0);
    const fs::path renderer = DataFolder / "Tavren.pex";
    fs::permissions(renderer,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::ofstream(DataFolder / "Tavren.pp2", std::ios::binary | std::ios::trunc) << "stale";
    const std::unique_ptr<ChildProcess> saver = StartShow();
    ASSERT_NE(RendererWindow, 0u);
    ExpectPiecesInstalled();
    ExpectNothingHalfWritten();
    EndShow(*saver);
}

// Another program holds the settings file open with no sharing: the show runs on the
// defaults and the file is left exactly as it was.
TEST_F(WineSaverFaultTest, ALockedSettingsFileIsLeftAsItIsAndTheShowRuns) {
    fs::create_directories(DataFolder);
    const fs::path file = DataFolder / "Tavren.ini";
    ASSERT_EQ(RunHelper({"write-setting", WinePath(file), "Section", "Num", "7"}).ExitCode, 0);
    const std::string before = ReadFile(file);
    ChildProcess holder({"wine", Helper.string(), "hold", WinePath(file)}, Environment());
    ASSERT_TRUE(WaitUntil(
        [&] {
            return Lines(RunHelper({"read-setting", WinePath(file), "Section", "Num"}).Output) ==
                   std::vector<std::string>{""};
        },
        WindowDeadline, 200ms))
        << "the settings file was not locked";
    const std::unique_ptr<ChildProcess> saver = StartShow();
    ASSERT_NE(RendererWindow, 0u);
    ExpectPiecesInstalled();
    EndShow(*saver);
    holder.Stop();
    EXPECT_TRUE(ReadFile(file) == before);
    EXPECT_EQ(Lines(RunHelper({"read-setting", WinePath(file), "Section", "Num"}).Output),
              std::vector<std::string>{"7"});
}

} // namespace
} // namespace tavren::e2e

int main(int argc, char** argv) {
    using namespace tavren::e2e;
    return WineRun::RunAllTests(argc, argv,
                                {Dist / SaverName, Dist / PackageName, Dist / "Tavren.pex", Helper,
                                 Models / "Tavren.pp1", LinuxData / "Tavren202.bmp"});
}
