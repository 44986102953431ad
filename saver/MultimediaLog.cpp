#include "MultimediaLog.h"

#include <fstream>

namespace tavren::saver {

MultimediaLog::MultimediaLog(MultimediaSystem& system, const std::filesystem::path& path)
    : System(system), Path(path) {}

MultimediaLog::~MultimediaLog() = default;

// Opened for each line, so that the log is complete even when the program ends abruptly.
void MultimediaLog::Write(const std::string& line) {
    std::ofstream(Path, std::ios::binary | std::ios::app) << line << '\n';
}

uint32_t MultimediaLog::SendString(const std::string& command, std::string* reply,
                                   size_t replyCapacity) {
    const uint32_t code = System.SendString(command, reply, replyCapacity);
    std::string line = "mciSendString\t" + command + "\t" + std::to_string(code);
    if (reply != nullptr) {
        line += "\t" + *reply;
    }
    Write(line);
    return code;
}

std::optional<std::string> MultimediaLog::ErrorString(uint32_t code) {
    return System.ErrorString(code);
}

uint32_t MultimediaLog::WaveOutDeviceCount() {
    const uint32_t count = System.WaveOutDeviceCount();
    Write("waveOutGetNumDevs\t" + std::to_string(count));
    return count;
}

void MultimediaLog::PlaySound(const std::string* file, uint32_t flags) {
    System.PlaySound(file, flags);
    Write("PlaySound\t" + (file != nullptr ? *file : std::string("NULL")) + "\t" +
          std::to_string(flags));
}

} // namespace tavren::saver
