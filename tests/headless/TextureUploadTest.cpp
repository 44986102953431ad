// The texture loader in an offscreen OpenGL context: what the textures hold, read back level by
// level, and the state the upload leaves.
#include "tests/unit/PictureFixtures.h"

#include "Boids/Textures.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "tools/PngFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tavren {
namespace {

using namespace testing_pictures;

const std::filesystem::path RealData = TAVREN_REALDATA;
const std::filesystem::path OutputFolder = TAVREN_TEST_OUTPUT;

struct Level {
    int Width = 0;
    int Height = 0;
    Bytes Rgba; // bottom row first
};

Level ReadLevel(TextureName texture, int level) {
    glBindTexture(GL_TEXTURE_2D, texture);
    Level result;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &result.Width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &result.Height);
    result.Rgba.resize(size_t(result.Width) * result.Height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, result.Rgba.data());
    return result;
}

Bytes TexelOf(const Level& level, int column, int row) {
    const auto start = level.Rgba.begin() + (size_t(row) * level.Width + column) * 4;
    return Bytes(start, start + 4);
}

// The texels of a picture as a texture of the same size gives them back: alpha 255 for RGB.
Bytes AsRgba(const Picture& picture) {
    const Bytes texels = TightlyPackedTexels(picture);
    if (picture.Format == PixelFormat::Rgba) {
        return texels;
    }
    Bytes rgba;
    for (size_t index = 0; index < texels.size(); index += 3) {
        rgba.insert(rgba.end(), {texels[index], texels[index + 1], texels[index + 2], 255});
    }
    return rgba;
}

class TextureUploadTest : public testing::Test {
protected:
    void SetUp() override {
        try {
            Renderer = std::make_unique<HeadlessRenderer>(256, 128);
        } catch (const HeadlessError& error) {
            FAIL() << error.what();
        }
    }

    TextureName Load(const std::string& fileName) {
        TextureName texture = 0;
        LoadTexture(fileName, texture);
        EXPECT_EQ(Messages.Messages, std::vector<PictureFailure>{}) << fileName;
        EXPECT_NE(texture, 0u) << fileName;
        return texture;
    }

    std::unique_ptr<HeadlessRenderer> Renderer;
    ScratchFolder Folder;
    RecordingSink Messages;
};

TEST_F(TextureUploadTest, ABitmapBecomesAnRgbTextureWithEveryMipmapLevel) {
    const std::string file =
        Folder.Write("Tavren200.bmp", BitmapFixture{.Width = 64, .Height = 64}.Build());
    const TextureName texture = Load(file);

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<TextureName>(bound), texture) << "stays bound";
    GLint environment = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    EXPECT_EQ(environment, GL_MODULATE);
    GLint magnification = 0;
    GLint minification = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnification);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minification);
    EXPECT_EQ(magnification, GL_LINEAR);
    EXPECT_EQ(minification, GL_LINEAR);
    GLint alphaBits = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    EXPECT_EQ(alphaBits, 0) << "a bitmap texture has no alpha";

    const Level base = ReadLevel(texture, 0);
    ASSERT_EQ(base.Width, 64);
    ASSERT_EQ(base.Height, 64);
    for (const auto& [column, row] : {std::pair{0, 0}, {63, 0}, {5, 40}, {63, 63}}) {
        const Colour colour = PatternColour(column, row);
        EXPECT_EQ(TexelOf(base, column, row), (Bytes{colour[0], colour[1], colour[2], 255}))
            << column << ", " << row;
    }
    const Level last = ReadLevel(texture, 6);
    EXPECT_EQ(last.Width, 1);
    EXPECT_EQ(last.Height, 1);
}

TEST_F(TextureUploadTest, ABitmapWithSizeImageZeroGivesTheSameTexture) {
    const TextureName given =
        Load(Folder.Write("given.bmp", BitmapFixture{.Width = 64, .Height = 64}.Build()));
    const TextureName computed = Load(Folder.Write(
        "computed.bmp", BitmapFixture{.Width = 64, .Height = 64, .SizeImage = 0}.Build()));
    EXPECT_EQ(ReadLevel(computed, 0).Rgba, ReadLevel(given, 0).Rgba);
}

// The pattern, texel for texel: sides that are powers of two keep the mipmap builder from
// scaling.
void ExpectPattern(const Level& level, int width, int height) {
    ASSERT_EQ(level.Width, width);
    ASSERT_EQ(level.Height, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const Colour colour = PatternColour(column, row);
            EXPECT_EQ(TexelOf(level, column, row), (Bytes{colour[0], colour[1], colour[2], 255}))
                << column << ", " << row;
        }
    }
}

TEST_F(TextureUploadTest, ABitmapWithSizeImageZeroAndFillBytesKeepsItsRows) {
    // Rows of 6 bytes and 2 fill bytes.
    const BitmapFixture fixture{.Width = 2, .Height = 4, .SizeImage = 0};
    ExpectPattern(ReadLevel(Load(Folder.Write("fill.bmp", fixture.Build())), 0), 2, 4);
}

// Rows of blue, green, red (and alpha) without fill.
Bytes TgaRows(int width, int height, int bytesPerPixel) {
    Bytes data;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const Colour colour = PatternColour(column, row);
            data.insert(data.end(), {colour[2], colour[1], colour[0]});
            if (bytesPerPixel == 4) {
                data.push_back(static_cast<uint8_t>(column * 60 + row));
            }
        }
    }
    return data;
}

TEST_F(TextureUploadTest, ATightlyPackedTwentyFourBitTgaKeepsItsRows) {
    // Rows of 3 and of 6 bytes: not multiples of 4.
    for (const int width : {1, 2}) {
        const std::string file = Folder.Write("narrow" + std::to_string(width) + ".tga",
                                              TgaFile(2, width, 4, 24, TgaRows(width, 4, 3)));
        ExpectPattern(ReadLevel(Load(file), 0), width, 4);
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the unpack alignment is left at its default";
}

TEST_F(TextureUploadTest, AThirtyTwoBitTgaKeepsItsAlpha) {
    const TextureName texture =
        Load(Folder.Write("alpha.tga", TgaFile(2, 4, 2, 32, TgaRows(4, 2, 4))));
    const Level level = ReadLevel(texture, 0);
    EXPECT_EQ(TexelOf(level, 0, 0)[3], 0);
    EXPECT_EQ(TexelOf(level, 3, 1)[3], 181);
}

TEST_F(TextureUploadTest, RealPicturesOfPowerOfTwoSizesArriveTexelForTexel) {
    for (const char* file :
         {"bmp/scorched3d_gull.bmp", "jpeg/scorched3d_cannon.jpg", "tga/rgb32_top_left_rle.tga"}) {
        const std::string path = (RealData / file).string();
        const auto picture = ReadPictureFile(path);
        ASSERT_TRUE(picture && std::holds_alternative<Picture>(*picture)) << file;
        EXPECT_EQ(ReadLevel(Load(path), 0).Rgba, AsRgba(std::get<Picture>(*picture))) << file;
    }
}

TEST_F(TextureUploadTest, AJpegOfAnyFormatIsOpaque) {
    const Level level = ReadLevel(Load((RealData / "jpeg/testorig.jpg").string()), 0);
    EXPECT_EQ(level.Width, 256) << "227 x 149 scaled to powers of two";
    EXPECT_EQ(level.Height, 128);
    for (size_t texel = 3; texel < level.Rgba.size(); texel += 4) {
        ASSERT_EQ(level.Rgba[texel], 255) << texel / 4;
    }
}

TEST_F(TextureUploadTest, ATextureDrawnOverTheTargetShowsThePicture) {
    const TextureName rose = Load((RealData / "jpeg/testorig.jpg").string());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, rose);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);

    const std::vector<uint8_t> pixels = Renderer->ReadPixels();
    WritePng(OutputFolder / "texture-rose.png", Renderer->Width(), Renderer->Height(), pixels);
    // The red rose in the middle; the picture's bottom row at the bottom of the target.
    const uint8_t* middle = &pixels[(64 * 256 + 128) * 4];
    EXPECT_GT(middle[0], 180);
    EXPECT_LT(middle[1], 100);
    const uint8_t* bottomLeft = &pixels[(127 * 256 + 0) * 4];
    EXPECT_NEAR(bottomLeft[0], 89, 12);
    EXPECT_NEAR(bottomLeft[1], 103, 12);
    EXPECT_NEAR(bottomLeft[2], 77, 12);
}

TEST_F(TextureUploadTest, EveryLoadMakesANewTexture) {
    const std::string file = Folder.Write("twice.bmp", BitmapFixture{}.Build());
    const TextureName first = Load(file);
    const TextureName second = Load(file);
    EXPECT_NE(first, second);
    EXPECT_TRUE(glIsTexture(first));
    EXPECT_TRUE(glIsTexture(second));
}

TEST_F(TextureUploadTest, AFailedLoadReportsAndLeavesTheNameAsItWas) {
    const std::string grey = Folder.Write("grey.tga", TgaFile(3, 1, 1, 8, {0}));
    for (const TextureName before : {TextureName{0}, TextureName{77}}) {
        TextureName texture = before;
        LoadTexture(grey, texture);
        EXPECT_EQ(texture, before);
    }
    ASSERT_EQ(Messages.Messages.size(), 2u);
    EXPECT_EQ(Messages.Messages[0],
              (PictureFailure{"Couldn't load \"" + grey + "\". Only 24 and 32bit TGA supported.",
                              "TGA File Error"}));
}

TEST_F(TextureUploadTest, EachReaderReportsThroughTheSink) {
    const std::string missing = (Folder.Path() / "missing").string();
    TextureName texture = 0;
    LoadBmpFile(missing + ".bmp", texture);
    LoadJpegFile(missing + ".jpg", texture);
    LoadTgaFile(missing + ".tga", texture);
    EXPECT_EQ(texture, 0u);
    EXPECT_EQ(Messages.Messages, (std::vector<PictureFailure>{
                                     {"Error opening " + missing + ".bmp", "BMP Unit"},
                                     {"Couldn't load JPG - \"" + missing + ".jpg\"", "JPG Unit"},
                                     {"File not found  - " + missing + ".tga", "TGA Texture"}}));
}

TEST_F(TextureUploadTest, ANameNoReaderTakesLoadsNothingAndShowsNothing) {
    const std::string file =
        Folder.Write("photo.jpeg", ReadFileBytes(RealData / "jpeg/testorig.jpg"));
    for (const std::string& name : {file, std::string("bmp")}) {
        TextureName texture = 0;
        LoadTexture(name, texture);
        EXPECT_EQ(texture, 0u);
    }
    EXPECT_TRUE(Messages.Messages.empty());
}

TEST_F(TextureUploadTest, LoadTextureHasTheShapeModelsAreHandedALoaderOf) {
    const TextureLoaderFunction loader = LoadTexture;
    TextureName texture = 0;
    loader(Folder.Write("sand.BMP", BitmapFixture{}.Build()), texture);
    EXPECT_NE(texture, 0u);
}

} // namespace
} // namespace tavren
