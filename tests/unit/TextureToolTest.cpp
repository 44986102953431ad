// `tavren-tool texture decode FILE [--raw OUT]`, as other tools rely on it.
#include "tests/unit/PictureFixtures.h"

#include "Boids/Pictures.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tavren {
namespace {

using namespace testing_pictures;

struct ToolRun {
    int ExitCode = -1;
    std::string Output;
    std::string Error;
};

std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (const char c : argument) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReadText(const std::filesystem::path& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

ToolRun RunTool(const ScratchFolder& folder, const std::vector<std::string>& arguments) {
    std::string command = Quoted(TAVREN_TOOL);
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    const std::filesystem::path output = folder.Path() / "stdout.txt";
    const std::filesystem::path error = folder.Path() / "stderr.txt";
    command += " >" + Quoted(output.string()) + " 2>" + Quoted(error.string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(output), ReadText(error)};
}

TEST(TextureDecodeCommand, PrintsTheSizeAndFormatAndWritesTightlyPackedTexels) {
    const ScratchFolder folder;
    // Five pixels make rows of 15 bytes and one fill byte in the file.
    const std::string file =
        folder.Write("sand.BMP", BitmapFixture{.Width = 5, .Height = 3}.Build());
    const std::string raw = (folder.Path() / "sand.raw").string();

    const ToolRun run = RunTool(folder, {"texture", "decode", file, "--raw", raw});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output, "5 3 RGB\n");
    EXPECT_EQ(run.Error, "");

    Bytes expected;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            const Colour colour = PatternColour(column, row);
            expected.insert(expected.end(), colour.begin(), colour.end());
        }
    }
    EXPECT_EQ(ReadFileBytes(raw), expected);
}

TEST(TextureDecodeCommand, GivesRgbaForJpegsAndWritesNoFileWithoutRaw) {
    const ScratchFolder folder;
    const std::string jpeg =
        (std::filesystem::path(TAVREN_REALDATA) / "jpeg/testorig.jpg").string();
    const ToolRun run = RunTool(folder, {"texture", "decode", jpeg});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Output, "227 149 RGBA\n");

    const std::string raw = (folder.Path() / "rose.raw").string();
    EXPECT_EQ(RunTool(folder, {"texture", "decode", jpeg, "--raw", raw}).ExitCode, 0);
    const auto picture = ReadJpegFile(jpeg);
    ASSERT_TRUE(std::holds_alternative<Picture>(picture));
    EXPECT_EQ(ReadFileBytes(raw), TightlyPackedTexels(std::get<Picture>(picture)));
}

TEST(TextureDecodeCommand, PrintsTheLoadersMessageOnStandardErrorOnly) {
    const ScratchFolder folder;
    const std::string file = folder.Write("grey.tga", TgaFile(3, 1, 1, 8, {0}));
    const std::string raw = (folder.Path() / "grey.raw").string();
    const ToolRun run = RunTool(folder, {"texture", "decode", file, "--raw", raw});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Output, "");
    EXPECT_EQ(run.Error,
              "TGA File Error: Couldn't load \"" + file + "\". Only 24 and 32bit TGA supported.\n");
    EXPECT_FALSE(std::filesystem::exists(raw));

    const std::string missing = (folder.Path() / "missing.bmp").string();
    EXPECT_EQ(RunTool(folder, {"texture", "decode", missing}).Error,
              "BMP Unit: Error opening " + missing + "\n");
}

TEST(TextureDecodeCommand, PrintsNothingForANameNoReaderTakes) {
    const ScratchFolder folder;
    const std::string file = folder.Write("photo.jpeg", {0xFF, 0xD8, 0xFF});
    for (const std::string& name : {file, std::string("bmp")}) {
        const ToolRun run = RunTool(folder, {"texture", "decode", name});
        EXPECT_EQ(run.ExitCode, 3) << name;
        EXPECT_EQ(run.Output, "") << name;
        EXPECT_EQ(run.Error, "") << name;
    }
}

TEST(TextureDecodeCommand, RefusesACommandLineItCannotTake) {
    const ScratchFolder folder;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"texture"},
          {"texture", "decode"},
          {"texture", "encode", "a.bmp"},
          {"texture", "decode", "a.bmp", "--raw"},
          {"texture", "decode", "a.bmp", "--size", "2x2"}}) {
        EXPECT_EQ(RunTool(folder, arguments).ExitCode, 2) << arguments.back();
    }
}

} // namespace
} // namespace tavren
