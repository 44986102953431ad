#include "saver/MultimediaLog.h"
#include "tests/unit/ScriptedMultimedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tavren::saver {
namespace {

namespace fs = std::filesystem;

TEST(MultimediaLogTest, PassesEverythingOnAndNotesItLineByLine) {
    const fs::path log =
        fs::temp_directory_path() / ("tavren-mci-log-" + std::to_string(::getpid()) + ".txt");
    fs::remove(log);
    ScriptedMultimedia system;
    system.Script["status MP3Play mode"] = {0, "playing"};
    system.Script["open x"] = {263, ""};
    MultimediaLog witness(system, log);
    std::string reply;
    EXPECT_EQ(witness.SendString("status MP3Play mode", &reply, 30), 0u);
    EXPECT_EQ(reply, "playing");
    EXPECT_EQ(witness.SendString("open x", nullptr, 0), 263u);
    EXPECT_EQ(witness.ErrorString(263), "error text 263");
    EXPECT_EQ(witness.WaveOutDeviceCount(), 1u);
    const std::string song = "Z:\\tmp\\ソング.wav";
    witness.PlaySound(&song, 9);
    witness.PlaySound(nullptr, 0);

    std::ifstream file(log, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), "mciSendString\tstatus MP3Play mode\t0\tplaying\n"
                          "mciSendString\topen x\t263\n"
                          "waveOutGetNumDevs\t1\n"
                          "PlaySound\tZ:\\tmp\\ソング.wav\t9\n"
                          "PlaySound\tNULL\t0\n");
    EXPECT_EQ(system.Sent,
              (std::vector<std::string>{"status MP3Play mode", "open x", "PlaySound " + song + " 9",
                                        "PlaySound NULL 0"}));
    fs::remove(log);
}

} // namespace
} // namespace tavren::saver
