// A multimedia system for tests: it answers MCI commands from a script and notes every
// command and every PlaySound call in the order they came.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "saver/Tavren_BGM.h"

namespace tavren::saver {

// Answers MCI commands from a script and notes every command sent.
class ScriptedMultimedia final : public MultimediaSystem {
public:
    struct Answer {
        uint32_t Code = 0;
        std::string Reply;
    };

    uint32_t SendString(const std::string& command, std::string* reply,
                        size_t replyCapacity) override {
        Sent.push_back(command);
        const auto answer = Script.find(command);
        if (answer == Script.end()) {
            return 0;
        }
        if (reply != nullptr) {
            *reply = answer->second.Reply.substr(0, replyCapacity - 1);
        }
        return answer->second.Code;
    }
    std::optional<std::string> ErrorString(uint32_t code) override {
        if (code == 999) {
            return std::nullopt;
        }
        return "error text " + std::to_string(code);
    }
    uint32_t WaveOutDeviceCount() override { return Devices; }
    void PlaySound(const std::string* file, uint32_t flags) override {
        Sent.push_back("PlaySound " + (file ? *file : std::string("NULL")) + " " +
                       std::to_string(flags));
    }

    std::map<std::string, Answer> Script;
    std::vector<std::string> Sent;
    uint32_t Devices = 1;
};

} // namespace tavren::saver
