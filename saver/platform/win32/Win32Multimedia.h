// The show's music through the Windows multimedia calls, in wide characters.
#pragma once

#include "saver/Tavren_BGM.h"

namespace tavren::saver {

class Win32Multimedia final : public MultimediaSystem {
public:
    uint32_t SendString(const std::string& command, std::string* reply,
                        size_t replyCapacity) override;
    std::optional<std::string> ErrorString(uint32_t code) override;
    uint32_t WaveOutDeviceCount() override;
    void PlaySound(const std::string* file, uint32_t flags) override;

private:
    // PlaySound keeps reading the name while it plays asynchronously.
    std::wstring SoundFile;
};

} // namespace tavren::saver
