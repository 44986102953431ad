// Every picture of ../shared/realdata/{bmp,tga,jpeg} through the readers of the texture loader:
// what each gives or why it is refused. Among them are bitmaps and TGA files outside what the
// readers are made for: the bitmap reader checks no format field, skips biClrUsed bytes (not
// entries) of palette and reads the pixels from there; the TGA reader skips no image ID field
// and keeps the file's row order.
#include "tests/unit/PictureFixtures.h"

#include "Boids/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace tavren {
namespace {

using testing_pictures::Bytes;

const std::filesystem::path RealData = TAVREN_REALDATA;

struct Texel {
    int Column;
    int Row; // from the bottom
    Bytes Value;
};

struct Decoded {
    int Width;
    int Height;
    PixelFormat Format;
    std::vector<Texel> Texels;
};

struct Refused {
    const char* Caption;
    const char* Text; // %s stands for the file name
};

struct RealPicture {
    const char* File;
    std::variant<Decoded, Refused> Expected;
};

const RealPicture RealPictures[] = {
    // Made for the reader: 24 bits, no palette, bottom row first.
    {"bmp/g_rgb24.bmp",
     Decoded{127,
             64,
             PixelFormat::Rgb,
             {{0, 0, {0, 0, 0}}, {63, 32, {255, 255, 255}}, {126, 63, {159, 159, 189}}}}},
    {"bmp/vgl_6434_0018a.bmp",
     Decoded{119,
             96,
             PixelFormat::Rgb,
             {{0, 0, {107, 107, 107}}, {59, 48, {124, 124, 124}}, {118, 95, {189, 59, 0}}}}},
    {"bmp/scorched3d_gull.bmp",
     Decoded{128,
             128,
             PixelFormat::Rgb,
             {{0, 0, {255, 255, 255}}, {64, 64, {195, 192, 198}}, {127, 127, {255, 255, 255}}}}},
    // biSizeImage 0.
    {"bmp/scorched3d_smallpine_black.bmp",
     Decoded{
         32, 32, PixelFormat::Rgb, {{0, 0, {0, 0, 0}}, {16, 16, {0, 0, 0}}, {31, 31, {0, 0, 0}}}}},
    // Pixels read from where biClrUsed bytes of palette end, short of bfOffBits.
    {"bmp/g_rgb24pal.bmp",
     Decoded{127,
             64,
             PixelFormat::Rgb,
             {{0, 0, {64, 64, 64}}, {63, 32, {0, 0, 0}}, {126, 63, {157, 157, 187}}}}},
    {"bmp/q_rgb24largepal.bmp",
     Decoded{127,
             64,
             PixelFormat::Rgb,
             {{0, 0, {75, 75, 75}}, {63, 32, {121, 156, 156}}, {126, 63, {148, 148, 247}}}}},
    // A 124-byte info header: the pixels are read from byte 54, 84 bytes early.
    {"bmp/q_rgb24prof.bmp",
     Decoded{127,
             64,
             PixelFormat::Rgb,
             {{0, 0, {0, 0, 0}}, {63, 32, {255, 255, 255}}, {126, 63, {159, 159, 161}}}}},
    // 32 bits read as 24: biSizeImage holds more than the rows need.
    {"bmp/g_rgb32.bmp",
     Decoded{127,
             64,
             PixelFormat::Rgb,
             {{0, 0, {0, 0, 0}}, {63, 32, {0, 0, 0}}, {126, 63, {123, 0, 115}}}}},
    // Fewer pixel bytes than 24-bit rows of the picture need.
    {"bmp/b_badbitcount.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/b_badheadersize.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/b_badplanes.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/b_shortfile.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/g_pal4rle.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/g_pal8.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/g_rgb16.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/q_rgb24jpeg.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    {"bmp/q_rgb24png.bmp", Refused{"BMP Unit", "Error reading bitmap data"}},
    // Negative width, top-down (negative height), 3,000,000 x 2,000,000.
    {"bmp/b_badwidth.bmp", Refused{"BMP Unit", "Unsupported bitmap size"}},
    {"bmp/g_pal8topdown.bmp", Refused{"BMP Unit", "Unsupported bitmap size"}},
    {"bmp/b_reallybig.bmp", Refused{"BMP Unit", "Unsupported bitmap size"}},

    {"tga/rgb24_bottom_left_rle.tga",
     Decoded{64,
             64,
             PixelFormat::Rgb,
             {{0, 0, {255, 255, 255}}, {32, 32, {12, 0, 255}}, {63, 63, {255, 255, 255}}}}},
    // Stored top row first: comes out upside down (see below).
    {"tga/rgb24_top_left.tga",
     Decoded{64,
             64,
             PixelFormat::Rgb,
             {{0, 0, {255, 255, 255}}, {32, 32, {12, 0, 255}}, {63, 63, {255, 255, 255}}}}},
    {"tga/rgb32_top_left_rle.tga",
     Decoded{
         64,
         64,
         PixelFormat::Rgba,
         {{0, 0, {255, 255, 255, 0}}, {32, 32, {12, 0, 255, 255}}, {63, 63, {255, 255, 255, 0}}}}},
    // A 26-byte image ID read as pixels: the colours are shifted by 8 2/3 pixels.
    {"tga/utc24.tga",
     Decoded{128,
             128,
             PixelFormat::Rgb,
             {{0, 0, {117, 114, 84}}, {64, 64, {255, 0, 0}}, {127, 127, {255, 0, 0}}}}},
    {"tga/utc32.tga", Decoded{128,
                              128,
                              PixelFormat::Rgba,
                              {{0, 0, {117, 114, 84, 101}},
                               {64, 64, {255, 0, 255, 255}},
                               {127, 127, {255, 0, 255, 255}}}}},
    // The same ID read as run-length packets soon runs past the picture.
    {"tga/ctc24.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". A run-length packet runs past the image."}},
    {"tga/ctc32.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". A run-length packet runs past the image."}},
    {"tga/cbw8.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". Only 24 and 32bit TGA supported."}},
    {"tga/ccm8.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". Only 24 and 32bit TGA supported."}},
    {"tga/ubw8.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". Only 24 and 32bit TGA supported."}},
    {"tga/ucm8.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". Only 24 and 32bit TGA supported."}},
    {"tga/ctc16.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". Only 24 and 32 bit TGA files supported."}},
    {"tga/utc16.tga",
     Refused{"TGA File Error", "Couldn't load \"%s\". Only 24 and 32 bit TGA files supported."}},

    {"jpeg/testorig.jpg", Decoded{227,
                                  149,
                                  PixelFormat::Rgba,
                                  {{0, 0, {89, 103, 77, 255}},
                                   {113, 74, {244, 45, 52, 255}},
                                   {226, 148, {85, 81, 98, 255}}}}},
    {"jpeg/testimgp.jpg", Decoded{227,
                                  149,
                                  PixelFormat::Rgba,
                                  {{0, 0, {89, 103, 77, 255}},
                                   {113, 74, {242, 45, 52, 255}},
                                   {226, 148, {85, 81, 98, 255}}}}},
    {"jpeg/testimgari.jpg", Decoded{227,
                                    149,
                                    PixelFormat::Rgba,
                                    {{0, 0, {89, 103, 77, 255}},
                                     {113, 74, {242, 45, 52, 255}},
                                     {226, 148, {85, 81, 98, 255}}}}},
    {"jpeg/testimggray.jpg", Decoded{227,
                                     149,
                                     PixelFormat::Rgba,
                                     {{0, 0, {96, 96, 96, 255}},
                                      {113, 74, {105, 105, 105, 255}},
                                      {226, 148, {84, 84, 84, 255}}}}},
    {"jpeg/scorched3d_cannon.jpg",
     Decoded{
         128,
         128,
         PixelFormat::Rgba,
         {{0, 0, {0, 0, 0, 255}}, {64, 64, {148, 146, 133, 255}}, {127, 127, {82, 52, 42, 255}}}}},
    // 12-bit samples: the 8-bit decoder refuses them.
    {"jpeg/monkey12.jpg", Refused{"JPG Unit", "Couldn't load JPG - \"%s\""}},
};

std::string WithFileName(std::string text, const std::string& fileName) {
    const size_t mark = text.find("%s");
    return mark == std::string::npos ? text : text.replace(mark, 2, fileName);
}

Bytes TexelAt(const Picture& picture, const Texel& texel) {
    const int components = ComponentCount(picture.Format);
    const auto start =
        picture.Pixels.begin() + texel.Row * picture.RowStride() + texel.Column * components;
    return Bytes(start, start + components);
}

class RealPictureTest : public testing::TestWithParam<RealPicture> {};

TEST_P(RealPictureTest, DecodesOrIsRefusedAsTheReaderSays) {
    const std::string fileName = (RealData / GetParam().File).string();
    const auto result = ReadPictureFile(fileName);
    ASSERT_TRUE(result) << "no reader for " << fileName;

    if (const auto* refused = std::get_if<Refused>(&GetParam().Expected)) {
        ASSERT_TRUE(std::holds_alternative<PictureFailure>(*result)) << "decoded";
        const auto& failure = std::get<PictureFailure>(*result);
        EXPECT_EQ(failure.Caption, refused->Caption);
        EXPECT_EQ(failure.Text, WithFileName(refused->Text, fileName));
        return;
    }
    const auto& expected = std::get<Decoded>(GetParam().Expected);
    ASSERT_TRUE(std::holds_alternative<Picture>(*result)) << std::get<PictureFailure>(*result).Text;
    const auto& picture = std::get<Picture>(*result);
    EXPECT_EQ(picture.Width, expected.Width);
    EXPECT_EQ(picture.Height, expected.Height);
    EXPECT_EQ(picture.Format, expected.Format);
    ASSERT_GE(picture.Pixels.size(), picture.RowStride() * picture.Height);
    for (const Texel& texel : expected.Texels) {
        EXPECT_EQ(TexelAt(picture, texel), texel.Value) << texel.Column << ", " << texel.Row;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, RealPictureTest, testing::ValuesIn(RealPictures), [](const auto& info) {
        std::string name = info.param.File;
        std::replace_if(
            name.begin(), name.end(),
            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

TEST(RealPictures, TheTableHoldsEveryFile) {
    std::set<std::string> inTable;
    for (const RealPicture& picture : RealPictures) {
        inTable.insert(picture.File);
    }
    for (const char* folder : {"bmp", "tga", "jpeg"}) {
        for (const auto& entry : std::filesystem::directory_iterator(RealData / folder)) {
            const std::string file = std::string(folder) + "/" + entry.path().filename().string();
            EXPECT_TRUE(inTable.count(file)) << file << " is not in the table";
        }
    }
}

Picture Read(const char* file) {
    const auto result = ReadPictureFile((RealData / file).string());
    if (!result || !std::holds_alternative<Picture>(*result)) {
        ADD_FAILURE() << file << " does not decode";
        return {};
    }
    return std::get<Picture>(*result);
}

TEST(RealPictures, ATgaStoredTopRowFirstComesOutUpsideDown) {
    const Picture bottomUp = Read("tga/rgb24_bottom_left_rle.tga");
    const Picture topDown = Read("tga/rgb24_top_left.tga");
    ASSERT_EQ(bottomUp.Pixels.size(), topDown.Pixels.size());
    const size_t stride = bottomUp.RowStride();
    for (size_t row = 0; row < bottomUp.Height; ++row) {
        const size_t mirrored = bottomUp.Height - 1 - row;
        ASSERT_TRUE(std::equal(bottomUp.Pixels.begin() + row * stride,
                               bottomUp.Pixels.begin() + (row + 1) * stride,
                               topDown.Pixels.begin() + mirrored * stride))
            << "row " << row;
    }
}

TEST(RealPictures, JpegsAreOpaqueAndGreyscaleStaysGrey) {
    for (const char* file : {"jpeg/testorig.jpg", "jpeg/testimgp.jpg", "jpeg/testimgari.jpg",
                             "jpeg/scorched3d_cannon.jpg", "jpeg/testimggray.jpg"}) {
        const Picture picture = Read(file);
        for (size_t texel = 0; texel < picture.Pixels.size(); texel += 4) {
            ASSERT_EQ(picture.Pixels[texel + 3], 255) << file << " texel " << texel / 4;
        }
    }
    const Picture grey = Read("jpeg/testimggray.jpg");
    for (size_t texel = 0; texel < grey.Pixels.size(); texel += 4) {
        ASSERT_EQ(grey.Pixels[texel], grey.Pixels[texel + 1]) << texel / 4;
        ASSERT_EQ(grey.Pixels[texel], grey.Pixels[texel + 2]) << texel / 4;
    }
}

TEST(RealPictures, ProgressiveAndArithmeticCodingGiveNearlyTheBaselinePicture) {
    const Picture baseline = Read("jpeg/testorig.jpg");
    for (const char* file : {"jpeg/testimgp.jpg", "jpeg/testimgari.jpg"}) {
        const Picture other = Read(file);
        ASSERT_EQ(other.Pixels.size(), baseline.Pixels.size()) << file;
        int largest = 0;
        for (size_t index = 0; index < other.Pixels.size(); ++index) {
            largest = std::max(largest, std::abs(other.Pixels[index] - baseline.Pixels[index]));
        }
        EXPECT_LE(largest, 24) << file;
    }
}

} // namespace
} // namespace tavren
