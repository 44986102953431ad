#include "Boids/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavren {
namespace {

struct ConversionCase {
    std::optional<std::string> Value;
    int32_t Expected;
};

TEST(FishSettingTest, Conversion) {
    for (const ConversionCase& c :
         std::vector<ConversionCase>{{std::nullopt, 40},
                                     {"", 40},
                                     {"10", 10},
                                     {"-1", -1},
                                     {"+7", 7},
                                     {"0010", 10},
                                     {"0x10", 16},
                                     {"0X1f", 31},
                                     {"0x", 40}, // two characters: decimal, and not a number
                                     {"0x-1", 40},
                                     {"0xFFFFFFFF", -1},
                                     {"0x100000000", 40},
                                     {"2147483647", 2147483647},
                                     {"2147483648", 40},
                                     {"12.9", 40},
                                     {"abc", 40},
                                     {"1 0", 40},
                                     {"+-5", 40},
                                     {"$10", 40}}) {
        EXPECT_EQ(ConvertFishSetting(c.Value), c.Expected) << c.Value.value_or("(missing)");
    }
}

struct ProfileCase {
    std::string File;
    std::optional<std::string> Expected;
};

TEST(ProfileValueTest, ReadsLikeWindows) {
    using namespace std::string_literals;
    for (const ProfileCase& c : std::vector<ProfileCase>{
             {"[Section]\r\nNum=10\r\n", "10"},
             {"[section]\nnUM = 12 \n", "12"},
             {"  [ Section ]  \n\t Num\t=\t0x10\t\n", "0x10"},
             {"[Section]\nNum=\"33\"\n", "33"},
             {"[Section]\nNum='34'\n", "34"},
             {"[Section]\nNum=\"35\n", "\"35"},
             {"[Section]\nNum=\n", ""},
             {"[Section]\nNum\n", std::nullopt},
             {"[Other]\nNum=5\n", std::nullopt},
             {"Num=5\n[Section]\n", std::nullopt},
             {"[Section]\nNumber=5\nNum=6\nNum=7\n", "6"},
             {"[Section]\nX=1\n[Other]\nNum=5\n", std::nullopt},
             {"[Section]\nNum=1=2\n", "1=2"},
             {"\xEF\xBB\xBF[Section]\nNum=8\n", "8"},
             {"\xFF\xFE[\0S\0e\0c\0t\0i\0o\0n\0]\0\r\0\n\0N\0u\0m\0=\0009\0\r\0\n\0"s, "9"},
             {"", std::nullopt}}) {
        EXPECT_EQ(FindProfileValue(c.File, "Section", "Num"), c.Expected) << c.File;
    }
}

TEST(ProfileValueTest, ReadsTheFileAtAPath) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tavren-settings-" + std::to_string(::getpid()));
    std::ofstream(path) << "[Section]\r\nNum=0x10\r\n";
    EXPECT_EQ(ReadFishSetting(path.string()), 16);
    std::filesystem::remove(path);
    EXPECT_EQ(ReadFishSetting(path.string()), 40);
}

} // namespace
} // namespace tavren
