// The show's background music: an audio CD through MCI's cdaudio device, an MP3 file through
// MCI under the alias "MP3Play", a WAV file through PlaySound. The multimedia system is
// reached through MultimediaSystem, so that tests can script its replies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Tavren_B.h"

namespace tavren::saver {

class MultimediaSystem {
public:
    virtual ~MultimediaSystem() = default;
    // mciSendString: sends command and returns MCI's error code (0 for success). With a reply,
    // it receives the reply text as a buffer of replyCapacity characters holds it.
    virtual uint32_t SendString(const std::string& command, std::string* reply,
                                size_t replyCapacity) = 0;
    // mciGetErrorString into a buffer of 256 characters; none when it fails.
    virtual std::optional<std::string> ErrorString(uint32_t code) = 0;
    virtual uint32_t WaveOutDeviceCount() = 0;
    // PlaySound; no file stops what plays.
    virtual void PlaySound(const std::string* file, uint32_t flags) = 0;
};

inline constexpr uint32_t SoundAsync = 1;
inline constexpr uint32_t SoundLoop = 8;

class Tavren_BGM {
public:
    Tavren_BGM(MultimediaSystem& system, const SaverSettings& settings)
        : System(system), Settings(settings) {}

    int32_t MciCommand(const std::string& command, std::string& reply);
    std::string MciQuery(const std::string& command);
    int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);

    void CdOpen();
    void CdCheckRepeat();
    void CdStop();
    void Mp3Open();
    bool Mp3IsPlaying();
    void Mp3CheckRepeat();
    void Mp3Stop();
    void WavPlay();
    void WavStop();

    // True while CD polling may go on; the show's CD timer follows it after every poll.
    bool CdKeepPolling = false;

private:
    void Send(const std::string& command) { System.SendString(command, nullptr, 0); }
    void PollCd();

    MultimediaSystem& System;
    const SaverSettings& Settings;
};

} // namespace tavren::saver
