#include "Win32Multimedia.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mmsystem.h>

#include <vector>

#include "WideText.h"

// The interface's own name, not the character-set macro of <mmsystem.h>.
#undef PlaySound

namespace tavren::saver {

uint32_t Win32Multimedia::SendString(const std::string& command, std::string* reply,
                                     size_t replyCapacity) {
    if (reply == nullptr || replyCapacity == 0) {
        return mciSendStringW(Wide(command).c_str(), nullptr, 0, nullptr);
    }
    std::vector<wchar_t> buffer(replyCapacity, L'\0');
    const MCIERROR code = mciSendStringW(Wide(command).c_str(), buffer.data(),
                                         static_cast<UINT>(buffer.size()), nullptr);
    buffer.back() = L'\0';
    *reply = Utf8(buffer.data());
    return code;
}

std::optional<std::string> Win32Multimedia::ErrorString(uint32_t code) {
    wchar_t text[256] = {};
    if (!mciGetErrorStringW(code, text, 256)) {
        return std::nullopt;
    }
    return Utf8(text);
}

uint32_t Win32Multimedia::WaveOutDeviceCount() {
    return waveOutGetNumDevs();
}

void Win32Multimedia::PlaySound(const std::string* file, uint32_t flags) {
    if (file == nullptr) {
        PlaySoundW(nullptr, nullptr, flags);
        return;
    }
    SoundFile = Wide(*file);
    PlaySoundW(SoundFile.c_str(), nullptr, flags);
}

} // namespace tavren::saver
