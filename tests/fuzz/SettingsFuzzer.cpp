// Settings files as a user may leave them: the profile reader, the renderer's "Num" and the
// front end's number rule.
#include "Boids/Settings.h"
#include "saver/Tavren_B.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"Num", "BGM区分", "BGMﾌｧｲﾙ"}) {
        const auto value = tavren::FindProfileValue(file, "Section", key);
        tavren::ConvertFishSetting(value);
        if (value) {
            tavren::saver::SettingsNumber(*value);
        }
    }
    tavren::ConvertFishSetting(std::string(file));
    tavren::saver::SettingsNumber(file);
    return 0;
}
