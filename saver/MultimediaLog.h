// A multimedia system that writes every command it passes on, with its result, to a log file:
// the witness of what the show sent when there is no sound to hear.
#pragma once

#include <filesystem>
#include <memory>

#include "saver/Tavren_BGM.h"

namespace tavren::saver {

class MultimediaLog final : public MultimediaSystem {
public:
    // Appends to the log at path; each line is flushed when it is written.
    MultimediaLog(MultimediaSystem& system, const std::filesystem::path& path);
    ~MultimediaLog() override;

    uint32_t SendString(const std::string& command, std::string* reply,
                        size_t replyCapacity) override;
    std::optional<std::string> ErrorString(uint32_t code) override;
    uint32_t WaveOutDeviceCount() override;
    void PlaySound(const std::string* file, uint32_t flags) override;

private:
    void Write(const std::string& line);

    MultimediaSystem& System;
    std::filesystem::path Path;
};

} // namespace tavren::saver
