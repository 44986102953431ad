#include "saver/Tavren_BGM.h"
#include "tests/unit/ScriptedMultimedia.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace tavren::saver {
namespace {

class MusicTest : public testing::Test {
protected:
    ScriptedMultimedia System;
    SaverSettings Settings;
    Tavren_BGM Music{System, Settings};
};

TEST_F(MusicTest, CommandsAndReplies) {
    std::string reply;
    EXPECT_EQ(Music.MciCommand("", reply), -1);
    EXPECT_EQ(reply, "コマンド文字列が指定されていません");
    EXPECT_TRUE(System.Sent.empty());

    System.Script["status cdaudio length"] = {263, ""};
    EXPECT_EQ(Music.MciQuery("status cdaudio length"), "Error:263");
    EXPECT_EQ(Music.MciCommand("status cdaudio length", reply), 263);
    EXPECT_EQ(reply, "error text 263");
    System.Script["bad"] = {999, ""};
    EXPECT_EQ(Music.MciCommand("bad", reply), 999);
    EXPECT_EQ(reply, "Error (文字列が取れません)");

    System.Sent.clear();
    Music.MciPlay("cdaudio", "", "");
    Music.MciPlay("cdaudio", "00:02:13", "");
    Music.MciPlay("cdaudio", "", "5");
    EXPECT_EQ(System.Sent, (std::vector<std::string>{"play cdaudio", "play cdaudio from 00:02:13",
                                                     "play cdaudio to 5"}));
}

constexpr char CurrentTrack[] = "status cdaudio current track";
constexpr char Tracks[] = "status cdaudio number of tracks";
constexpr char Mode[] = "status cdaudio mode";

struct PollCase {
    const char* Name;
    int16_t ChosenTrack;
    std::string Current;
    std::string Mode;
    uint32_t TracksCode;
    std::vector<std::string> After; // what is sent after the mode query
    bool KeepPolling;
};

void PrintTo(const PollCase& c, std::ostream* out) {
    *out << c.Name;
}

class CdPollTest : public MusicTest, public testing::WithParamInterface<PollCase> {};

TEST_P(CdPollTest, OneStep) {
    const PollCase& c = GetParam();
    Settings.BGM_Track = c.ChosenTrack;
    System.Script[CurrentTrack] = {0, c.Current};
    System.Script[Tracks] = {c.TracksCode, "12"};
    System.Script[Mode] = {0, c.Mode};
    System.Script["status cdaudio position track 3"] = {0, "03:00:00:00"};
    Music.CdCheckRepeat();
    EXPECT_EQ(Music.CdKeepPolling, c.KeepPolling);

    std::vector<std::string> after;
    bool modeSent = false;
    for (const std::string& command : System.Sent) {
        if (modeSent) {
            after.push_back(command);
        }
        modeSent = modeSent || command == Mode;
    }
    EXPECT_EQ(after, c.After);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CdPollTest,
    testing::Values(
        PollCase{"ChosenTrackPlaying", 3, "3", "playing", 0, {}, true},
        PollCase{"MovedOnToTheNextTrack",
                 3,
                 "4",
                 "playing",
                 0,
                 {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"},
                 true},
        PollCase{"ChosenTrackStopped",
                 3,
                 "3",
                 "stopped",
                 0,
                 {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"},
                 true},
        PollCase{"WholeDiscStopped", 0, "7", "stopped", 0, {"play cdaudio"}, true},
        PollCase{"WholeDiscPlaying", 0, "7", "playing", 0, {}, true},
        PollCase{"ErrReplyStopsPolling", 0, "error: no disc", "", 0, {}, false},
        PollCase{"FailedTrackCountStopsPolling", 0, "1", "", 263, {}, false},
        PollCase{"NonNumericTrackStopsPolling", 3, "three", "playing", 0, {}, false},
        PollCase{"NonNumericTrackIgnoredWithoutAChoice", 0, "three", "playing", 0, {}, true}),
    [](const testing::TestParamInfo<PollCase>& info) { return info.param.Name; });

TEST_F(MusicTest, OpenAndStopTheDisc) {
    Music.CdOpen();
    Music.CdStop();
    EXPECT_EQ(System.Sent, (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                                     "stop cdaudio", "close cdaudio"}));
}

TEST_F(MusicTest, Mp3OpensPlaysRepeatsAndStops) {
    Settings.BGM_File = "C:\\My Music\\sea song.mp3";
    System.Script["status MP3Play mode"] = {0, "playing"};
    Music.Mp3Open();
    Music.Mp3CheckRepeat();
    System.Script["status MP3Play mode"] = {0, "stopped"};
    Music.Mp3CheckRepeat();
    Music.Mp3Stop();
    EXPECT_EQ(System.Sent,
              (std::vector<std::string>{
                  "open \"C:\\My Music\\sea song.mp3\" type MPEGVideo Alias MP3Play",
                  "play MP3Play", "status MP3Play mode", "status MP3Play mode", "stop MP3Play",
                  "play MP3Play from 0", "stop MP3Play", "close MP3Play"}));
}

TEST_F(MusicTest, Mp3ThatDoesNotOpenIsNotPlayed) {
    Settings.BGM_File = "C:\\x.mp3";
    System.Script["open \"C:\\x.mp3\" type MPEGVideo Alias MP3Play"] = {275, ""};
    Music.Mp3Open();
    EXPECT_EQ(System.Sent.size(), 1u);
}

TEST_F(MusicTest, WavLoopsWhenThereIsAnOutputDevice) {
    Settings.BGM_File = "C:\\waves.wav";
    Music.WavPlay();
    Music.WavStop();
    System.Devices = 0;
    Music.WavPlay();
    EXPECT_EQ(System.Sent,
              (std::vector<std::string>{"PlaySound C:\\waves.wav 9", "PlaySound NULL 0"}));
}

} // namespace
} // namespace tavren::saver
