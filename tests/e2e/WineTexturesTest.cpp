// The Windows build's picture readers under Wine against the Linux build's: the real JPEGs
// through the imaging component and through libjpeg give the same sizes and texels within a
// small tolerance, and both refuse the same files. Bitmaps
// and TGA files, read by the same portable code, must match exactly.
#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/WineRun.h"

#include "Boids/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace tavren::e2e {
namespace {

using namespace std::chrono_literals;

const std::filesystem::path RealData = TAVREN_REALDATA;

const std::filesystem::path Decoder = EnvironmentValue("TAVREN_E2E_TEXTURE_DECODER");

// The display the decoder runs on, one for the whole run.
const XvfbServer& DecoderDisplay() {
    static const XvfbServer display(640, 480);
    return display;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

struct Decoded {
    int ExitCode = -1;
    std::string Output;
    std::vector<uint8_t> Texels;
};

Decoded DecodeUnderWine(const std::filesystem::path& file) {
    const TemporaryFolder folder("tavren-e2e-texture");
    const std::filesystem::path raw = folder.Path() / "texels.raw";
    const CommandResult result =
        RunCommand({"wine", Decoder.string(), WinePath(file), WinePath(raw)},
                   WineRun::Prefix()->ProgramEnvironment(DecoderDisplay().DisplayName()), 60s);
    return {result.ExitCode, result.Output, ReadBytes(raw)};
}

Decoded DecodeOnLinux(const std::filesystem::path& file) {
    const auto result = ReadPictureFile(file.string());
    if (!result) {
        return {3, "", {}};
    }
    if (std::holds_alternative<PictureFailure>(*result)) {
        return {1, "", {}};
    }
    const Picture& picture = std::get<Picture>(*result);
    const std::string format = picture.Format == PixelFormat::Rgba ? "RGBA" : "RGB";
    return {0,
            std::to_string(picture.Width) + " " + std::to_string(picture.Height) + " " + format +
                "\n",
            TightlyPackedTexels(picture)};
}

struct Difference {
    int Largest = 0;
    double Mean = 0;
    // The share of components that differ by more than 4.
    double ShareOverFour = 0;
};

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    Difference difference;
    double sum = 0;
    size_t overFour = 0;
    for (size_t index = 0; index < a.size(); ++index) {
        const int gap = std::abs(int{a[index]} - int{b[index]});
        difference.Largest = std::max(difference.Largest, gap);
        sum += gap;
        overFour += gap > 4 ? 1 : 0;
    }
    const double count = static_cast<double>(std::max<size_t>(a.size(), 1));
    difference.Mean = sum / count;
    difference.ShareOverFour = static_cast<double>(overFour) / count;
    return difference;
}

struct PictureCase {
    const char* File;
    // JPEGs go through different decoders; bitmaps and TGA files through the same code.
    bool SameDecoder;
};

class WineTexturesTest : public testing::TestWithParam<PictureCase> {
protected:
    void SetUp() override { ASSERT_TRUE(WineRun::Prefix()) << WineRun::Error(); }
};

TEST_P(WineTexturesTest, ReadsLikeTheLinuxBuild) {
    const std::filesystem::path file = RealData / GetParam().File;
    const Decoded onLinux = DecodeOnLinux(file);
    const Decoded underWine = DecodeUnderWine(file);
    ASSERT_EQ(underWine.ExitCode, onLinux.ExitCode);
    EXPECT_EQ(underWine.Output, onLinux.Output);
    ASSERT_EQ(underWine.Texels.size(), onLinux.Texels.size());
    if (GetParam().SameDecoder) {
        EXPECT_TRUE(underWine.Texels == onLinux.Texels);
        return;
    }
    const Difference difference = Compare(underWine.Texels, onLinux.Texels);
    std::printf("%s: largest difference %d, mean %.3f, over 4 in %.2f%% of components\n",
                GetParam().File, difference.Largest, difference.Mean,
                100 * difference.ShareOverFour);
    // The decoders fill in colour planes stored at half resolution in their own ways: at sharp
    // colour edges a few components differ by up to about 30, nearly all others by a step or two.
    EXPECT_LE(difference.Largest, 40);
    EXPECT_LE(difference.Mean, 1.0);
    EXPECT_LE(difference.ShareOverFour, 0.03);
}

INSTANTIATE_TEST_SUITE_P(
    RealPictures, WineTexturesTest,
    testing::Values(
        PictureCase{"jpeg/testorig.jpg", false}, PictureCase{"jpeg/testimgp.jpg", false},
        PictureCase{"jpeg/testimggray.jpg", false}, PictureCase{"jpeg/testimgari.jpg", false},
        PictureCase{"jpeg/scorched3d_cannon.jpg", false}, PictureCase{"jpeg/monkey12.jpg", false},
        PictureCase{"bmp/scorched3d_gull.bmp", true}, PictureCase{"bmp/g_rgb24.bmp", true},
        PictureCase{"bmp/b_reallybig.bmp", true},
        PictureCase{"tga/rgb24_bottom_left_rle.tga", true}, PictureCase{"tga/utc32.tga", true},
        PictureCase{"tga/ctc24.tga", true}, PictureCase{"bmp/missing.bmp", true},
        PictureCase{"tga/missing.tga", true}, PictureCase{"jpeg/missing.jpg", true},
        PictureCase{"tga", true}),
    [](const auto& info) {
        std::string name = info.param.File;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

} // namespace
} // namespace tavren::e2e

int main(int argc, char** argv) {
    using namespace tavren::e2e;
    return WineRun::RunAllTests(argc, argv, {Decoder});
}
