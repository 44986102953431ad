#include "Tavren_BGM.h"

#include <stdexcept>

namespace tavren::saver {

namespace {

constexpr size_t ReplyCapacity = 512;
constexpr size_t CdModeCapacity = 255;
constexpr size_t Mp3ModeCapacity = 30;

bool ContainsErr(const std::string& reply) {
    std::string upper = reply;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper.find("ERR") != std::string::npos;
}

// A track number as MCI replies it; anything else cannot be compared with the chosen track.
int32_t TrackNumber(const std::string& reply) {
    const auto number = SettingsNumber(reply);
    if (!number) {
        throw std::invalid_argument("not a track number: " + reply);
    }
    return *number;
}

} // namespace

int32_t Tavren_BGM::MciCommand(const std::string& command, std::string& reply) {
    if (command.empty()) {
        reply = "コマンド文字列が指定されていません";
        return -1;
    }
    const uint32_t code = System.SendString(command, &reply, ReplyCapacity);
    if (code == 0) {
        return 0;
    }
    reply = System.ErrorString(code).value_or("Error (文字列が取れません)");
    return static_cast<int32_t>(code);
}

std::string Tavren_BGM::MciQuery(const std::string& command) {
    std::string reply;
    const int32_t code = MciCommand(command, reply);
    return code == 0 ? reply : "Error:" + std::to_string(code);
}

int32_t Tavren_BGM::MciPlay(const std::string& device, const std::string& from,
                            const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty()) {
        command += " from " + from;
    }
    if (!to.empty()) {
        command += " to " + to;
    }
    std::string reply;
    return MciCommand(command, reply);
}

void Tavren_BGM::CdOpen() {
    Send("open cdaudio");
    Send("set cdaudio time format tmsf");
}

void Tavren_BGM::CdCheckRepeat() {
    CdKeepPolling = true;
    try {
        PollCd();
    } catch (const std::exception&) {
        CdKeepPolling = false;
    }
}

void Tavren_BGM::PollCd() {
    const std::string current = MciQuery("status cdaudio current track");
    if (ContainsErr(current)) {
        CdKeepPolling = false;
        return;
    }
    if (ContainsErr(MciQuery("status cdaudio number of tracks"))) {
        CdKeepPolling = false;
        return;
    }
    MciQuery("status cdaudio position");
    MciQuery("status cdaudio length");
    std::string mode;
    System.SendString("status cdaudio mode", &mode, CdModeCapacity);
    mode = mode.substr(0, 7);

    if (Settings.BGM_Track != 0) {
        // The current track is converted even when the disc has stopped.
        const bool movedOn = TrackNumber(current) != Settings.BGM_Track;
        if (mode == "stopped" || movedOn) {
            const std::string start =
                MciQuery("status cdaudio position track " + std::to_string(Settings.BGM_Track));
            MciPlay("cdaudio", start, "");
        }
    } else if (mode == "stopped") {
        MciPlay("cdaudio", "", "");
    }
}

void Tavren_BGM::CdStop() {
    Send("stop cdaudio");
    Send("close cdaudio");
}

void Tavren_BGM::Mp3Open() {
    if (System.SendString("open \"" + Settings.BGM_File + "\" type MPEGVideo Alias MP3Play",
                          nullptr, 0) == 0) {
        Send("play MP3Play");
    }
}

bool Tavren_BGM::Mp3IsPlaying() {
    std::string mode;
    System.SendString("status MP3Play mode", &mode, Mp3ModeCapacity);
    return mode.substr(0, 7) == "playing";
}

void Tavren_BGM::Mp3CheckRepeat() {
    if (!Mp3IsPlaying()) {
        Send("stop MP3Play");
        Send("play MP3Play from 0");
    }
}

void Tavren_BGM::Mp3Stop() {
    Send("stop MP3Play");
    Send("close MP3Play");
}

void Tavren_BGM::WavPlay() {
    if (System.WaveOutDeviceCount() > 0) {
        System.PlaySound(&Settings.BGM_File, SoundAsync | SoundLoop);
    }
}

void Tavren_BGM::WavStop() {
    System.PlaySound(nullptr, 0);
}

} // namespace tavren::saver
