#include "tests/unit/PictureFixtures.h"

#include "Boids/Pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tavren {
namespace {

using namespace testing_pictures;

Picture ExpectPicture(const PictureResult& result) {
    if (const auto* failure = std::get_if<PictureFailure>(&result)) {
        ADD_FAILURE() << "refused: " << failure->Caption << ": " << failure->Text;
        return {};
    }
    return std::get<Picture>(result);
}

PictureFailure ExpectFailure(const PictureResult& result) {
    if (const auto* failure = std::get_if<PictureFailure>(&result)) {
        return *failure;
    }
    ADD_FAILURE() << "decoded a picture";
    return {};
}

// Texel (column, row), rows counted from the bottom, of a picture.
std::vector<uint8_t> TexelAt(const Picture& picture, int column, int row) {
    const int components = ComponentCount(picture.Format);
    const auto start = picture.Pixels.begin() + row * picture.RowStride() + column * components;
    return std::vector<uint8_t>(start, start + components);
}

std::vector<uint8_t> Rgb(const Colour& colour) {
    return {colour[0], colour[1], colour[2]};
}

// ---- Choosing the reader ----

struct ReaderCase {
    const char* FileName;
    PictureReader Expected;
};

class ReaderChoiceTest : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderChoiceTest, GoesByTheLastFourCharactersInAnyCase) {
    EXPECT_EQ(ReaderFor(GetParam().FileName), GetParam().Expected) << GetParam().FileName;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReaderChoiceTest,
    testing::Values(
        ReaderCase{"C:\\Tavren_Data\\Tavren200.bmp", PictureReader::Bitmap},
        ReaderCase{"FISH.BMP", PictureReader::Bitmap},
        ReaderCase{"fish.Bmp", PictureReader::Bitmap}, ReaderCase{".bmp", PictureReader::Bitmap},
        ReaderCase{".\\cannon.jpg", PictureReader::Jpeg}, ReaderCase{"x.JPG", PictureReader::Jpeg},
        ReaderCase{"sand.tga", PictureReader::Tga}, ReaderCase{"sand.TgA", PictureReader::Tga},
        ReaderCase{"photo.jpeg", PictureReader::None}, ReaderCase{"bmp", PictureReader::None},
        ReaderCase{"", PictureReader::None}, ReaderCase{"fish.bmp ", PictureReader::None},
        ReaderCase{"fish.png", PictureReader::None}, ReaderCase{"fish_bmp", PictureReader::None}));

TEST(ReadPictureFile, LoadsNothingForANameNoReaderTakes) {
    const ScratchFolder folder;
    const std::string path = folder.Write("photo.jpeg", {0xFF, 0xD8});
    EXPECT_FALSE(ReadPictureFile(path));
    EXPECT_FALSE(ReadPictureFile("bmp"));
}

// ---- Pixel helpers ----

TEST(SwapRedBlue, SwapsEveryPixelOfEveryRowAndStepsOverTheFillBytes) {
    // 405 pixels make rows of 1,215 bytes and one fill byte.
    constexpr int width = 405;
    constexpr int height = 257;
    constexpr size_t stride = 1216;
    std::vector<uint8_t> pixels(stride * height);
    for (size_t row = 0; row < height; ++row) {
        for (size_t column = 0; column < width; ++column) {
            uint8_t* pixel = &pixels[row * stride + column * 3];
            pixel[0] = 10;
            pixel[1] = 20;
            pixel[2] = static_cast<uint8_t>(row);
        }
        pixels[row * stride + stride - 1] = 0xAB;
    }
    SwapRedBlue(pixels, width, height);
    for (size_t row = 0; row < height; ++row) {
        for (const size_t column : {size_t{0}, size_t{200}, size_t{width - 1}}) {
            const uint8_t* pixel = &pixels[row * stride + column * 3];
            ASSERT_EQ(pixel[0], static_cast<uint8_t>(row)) << row << " " << column;
            ASSERT_EQ(pixel[1], 20);
            ASSERT_EQ(pixel[2], 10);
        }
        ASSERT_EQ(pixels[row * stride + stride - 1], 0xAB) << "fill byte of row " << row;
    }
}

TEST(CopyPixelSwapped, ExchangesTheFirstAndThirdByteOfThreeOrFourBytes) {
    const uint8_t source[4] = {1, 2, 3, 4};
    uint8_t three[4] = {9, 9, 9, 9};
    CopyPixelSwapped(source, three, 3);
    EXPECT_EQ((std::vector<uint8_t>(three, three + 4)), (std::vector<uint8_t>{3, 2, 1, 9}));
    uint8_t four[4] = {};
    CopyPixelSwapped(source, four, 4);
    EXPECT_EQ((std::vector<uint8_t>(four, four + 4)), (std::vector<uint8_t>{3, 2, 1, 4}));
}

TEST(PictureFromBgrxScanLines, TurnsTopDownBgrxIntoBottomUpRgbaWithOpaqueAlpha) {
    // Two rows of two pixels, top row first.
    const std::vector<uint8_t> bgrx = {1, 2, 3, 0, 4, 5, 6, 77, 7, 8, 9, 0, 10, 11, 12, 0};
    const Picture picture = PictureFromBgrxScanLines(2, 2, bgrx);
    EXPECT_EQ(picture.Format, PixelFormat::Rgba);
    EXPECT_EQ(picture.Pixels,
              (std::vector<uint8_t>{9, 8, 7, 255, 12, 11, 10, 255, 3, 2, 1, 255, 6, 5, 4, 255}));
}

TEST(TightlyPackedTexels, LeavesOutTheFillBytesBetweenRows) {
    Picture picture;
    picture.Width = 2;
    picture.Height = 2;
    picture.RowAlignment = 4;
    picture.Pixels = {1, 2, 3, 4, 5, 6, 0xAB, 0xAB, 7, 8, 9, 10, 11, 12, 0xAB, 0xAB};
    EXPECT_EQ(TightlyPackedTexels(picture),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

// ---- Bitmaps ----

TEST(DecodeBitmap, GivesRgbRowsBottomFirstWithTheFillBytesOfTheFile) {
    const BitmapFixture fixture{.Width = 5, .Height = 3};
    const Picture& picture = ExpectPicture(DecodeBitmap(fixture.Build()));
    EXPECT_EQ(picture.Width, 5);
    EXPECT_EQ(picture.Height, 3);
    EXPECT_EQ(picture.Format, PixelFormat::Rgb);
    EXPECT_EQ(picture.RowAlignment, 4);
    ASSERT_EQ(picture.Pixels.size(), 16u * 3);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            EXPECT_EQ(TexelAt(picture, column, row), Rgb(PatternColour(column, row)));
        }
        EXPECT_EQ(picture.Pixels[row * 16 + 15], 0xAB);
    }
}

TEST(DecodeBitmap, RedComesFromTheFilesRedByte) {
    const BitmapFixture fixture{.Width = 64, .Height = 64, .Pixel = [](int, int) {
                                    return Colour{200, 100, 50};
                                }};
    const Picture& picture = ExpectPicture(DecodeBitmap(fixture.Build()));
    EXPECT_EQ(TexelAt(picture, 0, 0), (std::vector<uint8_t>{200, 100, 50}));
}

TEST(DecodeBitmap, SizeImageZeroGivesTheSameAsTheTrueSize) {
    const BitmapFixture trueSize{.Width = 64, .Height = 64, .SizeImage = 12288};
    const BitmapFixture computed{.Width = 64, .Height = 64, .SizeImage = 0};
    EXPECT_EQ(ExpectPicture(DecodeBitmap(computed.Build())).Pixels,
              ExpectPicture(DecodeBitmap(trueSize.Build())).Pixels);
}

TEST(DecodeBitmap, SizeImageZeroCountsTheFillBytesOfEveryRow) {
    // 405 x 3 x 24 / 8 bytes would leave out the 3 fill bytes and the upload would read past
    // the buffer.
    const BitmapFixture fixture{.Width = 405, .Height = 3, .SizeImage = 0};
    const Picture& picture = ExpectPicture(DecodeBitmap(fixture.Build()));
    ASSERT_EQ(picture.Pixels.size(), 1216u * 3);
    EXPECT_EQ(TexelAt(picture, 404, 2), Rgb(PatternColour(404, 2)));
}

TEST(DecodeBitmap, SkipsBiClrUsedBytesOfPalette) {
    const BitmapFixture fixture{.Width = 2, .Height = 2, .PaletteBytes = 10};
    const Picture& picture = ExpectPicture(DecodeBitmap(fixture.Build()));
    EXPECT_EQ(TexelAt(picture, 0, 0), Rgb(PatternColour(0, 0)));
    EXPECT_EQ(TexelAt(picture, 1, 1), Rgb(PatternColour(1, 1)));
}

TEST(DecodeBitmap, TakesTheSizeImageFromTheFileButUploadsOnlyTheRows) {
    // Trailing bytes that biSizeImage counts but no row needs.
    BitmapFixture fixture{.Width = 4, .Height = 2, .SizeImage = 40};
    Bytes file = fixture.Build();
    file.resize(file.size() + 16, 0x55);
    const Picture& picture = ExpectPicture(DecodeBitmap(file));
    EXPECT_EQ(picture.Pixels.size(), 24u);
}

struct BitmapFailureCase {
    const char* Name;
    std::function<Bytes()> File;
    const char* Text;
};

class BitmapFailureTest : public testing::TestWithParam<BitmapFailureCase> {};

TEST_P(BitmapFailureTest, IsRefusedUnderTheBitmapCaption) {
    const PictureFailure failure = ExpectFailure(DecodeBitmap(GetParam().File()));
    EXPECT_EQ(failure.Text, GetParam().Text);
    EXPECT_EQ(failure.Caption, "BMP Unit");
}

Bytes Truncated(Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

const BitmapFailureCase BitmapFailures[] = {
    {"Empty", [] { return Bytes{}; }, "Error reading bitmap header"},
    {"ShorterThanTheHeaders", [] { return Truncated(BitmapFixture{}.Build(), 53); },
     "Error reading bitmap header"},
    {"PaletteLongerThanTheFile",
     [] {
         Bytes file = BitmapFixture{.Width = 1, .Height = 1}.Build();
         PutUint32(file, 46, 5);
         return file;
     },
     "Error reading palette"},
    {"PaletteOfFourGigabytes",
     [] {
         Bytes file = BitmapFixture{}.Build();
         PutUint32(file, 46, 0xFFFFFFFF);
         return file;
     },
     "Error reading palette"},
    {"PixelDataCutShort", [] { return Truncated(BitmapFixture{}.Build(), 54 + 47); },
     "Error reading bitmap data"},
    {"SizeImageLargerThanTheFile", [] { return BitmapFixture{.SizeImage = 0xFFFFFFFF}.Build(); },
     "Error reading bitmap data"},
    {"SizeImageSmallerThanTheRows", [] { return BitmapFixture{.SizeImage = 47}.Build(); },
     "Error reading bitmap data"},
    {"SizeImageZeroWithEightBitsPerPixel",
     [] { return BitmapFixture{.SizeImage = 0, .BitCount = 8}.Build(); },
     "Error reading bitmap data"},
    {"SizeImageZeroWithNoBitCount",
     [] { return BitmapFixture{.SizeImage = 0, .BitCount = 0}.Build(); },
     "Error reading bitmap data"},
    {"SizeImageZeroWithAHugeBitCountAndSize",
     [] {
         Bytes file = BitmapFixture{.SizeImage = 0, .BitCount = 0xFFFF}.Build();
         PutUint32(file, 18, 65535);
         PutUint32(file, 22, 65535);
         return file;
     },
     "Error reading bitmap data"},
    {"ZeroWidth", [] { return BitmapFixture{.Width = 0}.Build(); }, "Unsupported bitmap size"},
    {"ZeroHeight", [] { return BitmapFixture{.Height = 0}.Build(); }, "Unsupported bitmap size"},
    {"NegativeWidth",
     [] {
         Bytes file = BitmapFixture{}.Build();
         PutUint32(file, 18, static_cast<uint32_t>(-4));
         return file;
     },
     "Unsupported bitmap size"},
    {"TopDown",
     [] {
         Bytes file = BitmapFixture{}.Build();
         PutUint32(file, 22, static_cast<uint32_t>(-4));
         return file;
     },
     "Unsupported bitmap size"},
    {"WiderThanATextureCanBe",
     [] {
         Bytes file = BitmapFixture{.Width = 65536, .Height = 1}.Build();
         return file;
     },
     "Unsupported bitmap size"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BitmapFailureTest, testing::ValuesIn(BitmapFailures),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ReadBmpFile, ReadsThePathInThePlatformsSpelling) {
    const ScratchFolder folder;
    folder.Write("pictures/sand.bmp", BitmapFixture{}.Build());
    const std::string windowsStyle = folder.Path().string() + "\\pictures\\sand.bmp";
    EXPECT_EQ(ExpectPicture(ReadBmpFile(windowsStyle)).Width, 4);
}

TEST(ReadBmpFile, NamesTheFileAsGivenWhenItCannotBeOpened) {
    const ScratchFolder folder;
    const std::string missing = folder.Path().string() + "\\Tavren200.bmp";
    EXPECT_EQ(ExpectFailure(ReadBmpFile(missing)),
              (PictureFailure{"Error opening " + missing, "BMP Unit"}));
    std::filesystem::create_directory(folder.Path() / "folder.bmp");
    const std::string folderName = (folder.Path() / "folder.bmp").string();
    EXPECT_EQ(ExpectFailure(ReadBmpFile(folderName)).Text, "Error opening " + folderName);
}

// ---- TGA ----

TEST(DecodeTga, UncompressedTwentyFourBitsGivesTightRgbRows) {
    // Three pixels wide: rows of 9 bytes, not a multiple of 4.
    const Bytes data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const Picture& picture = ExpectPicture(DecodeTga(TgaFile(2, 3, 2, 24, data), "a.tga"));
    EXPECT_EQ(picture.Width, 3);
    EXPECT_EQ(picture.Height, 2);
    EXPECT_EQ(picture.Format, PixelFormat::Rgb);
    EXPECT_EQ(picture.RowAlignment, 1);
    EXPECT_EQ(picture.Pixels,
              (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}));
}

TEST(DecodeTga, ThirtyTwoBitsKeepsTheAlphaOfTheFile) {
    const Bytes data = {1, 2, 3, 40, 5, 6, 7, 0};
    const Picture& picture = ExpectPicture(DecodeTga(TgaFile(2, 2, 1, 32, data), "a.tga"));
    EXPECT_EQ(picture.Format, PixelFormat::Rgba);
    EXPECT_EQ(picture.Pixels, (Bytes{3, 2, 1, 40, 7, 6, 5, 0}));
}

TEST(DecodeTga, ARunPacketRepeatsItsPixel) {
    // 0x85: a run of six.
    const Picture& picture =
        ExpectPicture(DecodeTga(TgaFile(10, 3, 2, 24, {0x85, 1, 2, 3}), "a.tga"));
    EXPECT_EQ(picture.Pixels, (Bytes{3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1}));
}

TEST(DecodeTga, ARawPacketCopiesItsPixels) {
    // 0x02: three pixels follow; then a run of one in 32 bits.
    const Bytes data = {0x02, 1, 2, 3, 9, 4, 5, 6, 8, 7, 8, 9, 7, 0x80, 10, 11, 12, 13};
    const Picture& picture = ExpectPicture(DecodeTga(TgaFile(10, 4, 1, 32, data), "a.tga"));
    EXPECT_EQ(picture.Pixels, (Bytes{3, 2, 1, 9, 6, 5, 4, 8, 9, 8, 7, 7, 12, 11, 10, 13}));
}

TEST(DecodeTga, TakesThePixelsFromByteEighteenWhateverTheIdLength) {
    const Picture& picture =
        ExpectPicture(DecodeTga(TgaFile(2, 1, 1, 24, {1, 2, 3}, 0, /*idLength=*/3), "a.tga"));
    EXPECT_EQ(picture.Pixels, (Bytes{3, 2, 1}));
}

struct TgaFailureCase {
    const char* Name;
    Bytes File;
    const char* Reason; // after "Couldn't load "a.tga". ", or empty for the read failure
};

class TgaFailureTest : public testing::TestWithParam<TgaFailureCase> {};

TEST_P(TgaFailureTest, IsRefusedUnderTheTgaCaption) {
    const std::string reason = GetParam().Reason;
    const std::string expected = reason.empty() ? "Couldn't read file \"dir\\a.tga\"."
                                                : "Couldn't load \"dir\\a.tga\". " + reason;
    EXPECT_EQ(ExpectFailure(DecodeTga(GetParam().File, "dir\\a.tga")),
              (PictureFailure{expected, "TGA File Error"}));
}

const char* const TypeReason = "Only 24 and 32bit TGA supported.";
const char* const ColourMapReason = "Colormapped TGA files not supported.";
const char* const DepthReason = "Only 24 and 32 bit TGA files supported.";

const TgaFailureCase TgaFailures[] = {
    {"Greyscale", TgaFile(3, 1, 1, 8, {0}), TypeReason},
    {"ColourMappedType", TgaFile(1, 1, 1, 8, {0}, 1), TypeReason},
    {"RunLengthGreyscale", TgaFile(11, 1, 1, 8, {0, 0}), TypeReason},
    {"ColourMapOnTrueColour", TgaFile(2, 1, 1, 24, {1, 2, 3}, 1), ColourMapReason},
    {"SixteenBits", TgaFile(2, 1, 1, 16, {1, 2}), DepthReason},
    {"EightBitsRunLength", TgaFile(10, 1, 1, 8, {0x80, 1}), DepthReason},
    {"ZeroWidth", TgaFile(2, 0, 4, 24, {}), "Image has zero width or height."},
    {"ZeroHeightRunLength", TgaFile(10, 4, 0, 24, {0x80, 1, 2, 3}),
     "Image has zero width or height."},
    {"ShorterThanTheHeader", Truncated(TgaFile(2, 1, 1, 24, {}), 17), ""},
    {"PixelDataCutShort", TgaFile(2, 2, 2, 24, Bytes(11, 0)), ""},
    {"LargestPictureFromAFewBytes", TgaFile(2, 65535, 65535, 32, Bytes(100, 0)), ""},
    {"RunLengthDataEndsBeforeAPacket", TgaFile(10, 4, 1, 24, {0x81, 1, 2, 3}), ""},
    {"RunLengthDataEndsInsideARun", TgaFile(10, 4, 1, 24, {0x83, 1, 2}), ""},
    {"RunLengthDataEndsInsideARawPacket", TgaFile(10, 4, 1, 24, {0x03, 1, 2, 3, 4, 5, 6}), ""},
    {"RunLengthTooShortForThePicture", TgaFile(10, 65535, 65535, 24, {0xFF, 1, 2, 3}), ""},
    {"RunPastThePicture", TgaFile(10, 2, 2, 24, {0x84, 1, 2, 3}),
     "A run-length packet runs past the image."},
    {"RawPacketPastThePicture", TgaFile(10, 2, 1, 24, {0x00, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9}),
     "A run-length packet runs past the image."},
};

INSTANTIATE_TEST_SUITE_P(Cases, TgaFailureTest, testing::ValuesIn(TgaFailures),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ReadTgaFile, ReportsAMissingFileUnderItsOwnCaption) {
    const ScratchFolder folder;
    const std::string missing = folder.Path().string() + "\\nothing.tga";
    EXPECT_EQ(ExpectFailure(ReadTgaFile(missing)),
              (PictureFailure{"File not found  - " + missing, "TGA Texture"}));
    std::filesystem::create_directory(folder.Path() / "folder.tga");
    EXPECT_EQ(ExpectFailure(ReadTgaFile((folder.Path() / "folder.tga").string())).Caption,
              "TGA Texture");
}

TEST(ReadTgaFile, RefusesAFileThatExistsButCannotBeRead) {
    // This process's memory as a file: it opens, but reading at offset 0 fails, for any user.
    const ScratchFolder folder;
    const std::filesystem::path path = folder.Path() / "unreadable.tga";
    std::filesystem::create_symlink("/proc/self/mem", path);
    EXPECT_EQ(ExpectFailure(ReadTgaFile(path.string())),
              (PictureFailure{"Couldn't read file \"" + path.string() + "\".", "TGA File Error"}));
}

// ---- JPEG ----

TEST(ReadJpegFile, FallsBackToTheDataFolderUnderTheCurrentDirectory) {
    const ScratchFolder folder;
    folder.Write("data/fish.jpg",
                 ReadFileBytes(std::filesystem::path(TAVREN_REALDATA) / "jpeg/testorig.jpg"));
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const PictureResult found = ReadJpegFile("fish.jpg");
    const PictureResult missing = ReadJpegFile("nowhere.jpg");
    std::filesystem::current_path(saved);

    EXPECT_EQ(ExpectPicture(found).Width, 227);
    EXPECT_EQ(ExpectFailure(missing),
              (PictureFailure{"Couldn't load JPG - \"nowhere.jpg\"", "JPG Unit"}));
}

Bytes RealJpeg() {
    return ReadFileBytes(std::filesystem::path(TAVREN_REALDATA) / "jpeg/testorig.jpg");
}

// The real picture with its frame header claiming another size.
Bytes JpegClaiming(uint16_t width, uint16_t height) {
    Bytes file = RealJpeg();
    for (size_t offset = 2; offset + 9 < file.size(); ++offset) {
        if (file[offset] == 0xFF && file[offset + 1] == 0xC0) {
            file[offset + 5] = static_cast<uint8_t>(height >> 8);
            file[offset + 6] = static_cast<uint8_t>(height);
            file[offset + 7] = static_cast<uint8_t>(width >> 8);
            file[offset + 8] = static_cast<uint8_t>(width);
            return file;
        }
    }
    ADD_FAILURE() << "no frame header";
    return file;
}

struct JpegFailureCase {
    const char* Name;
    std::function<Bytes()> File;
};

class JpegFailureTest : public testing::TestWithParam<JpegFailureCase> {};

TEST_P(JpegFailureTest, IsReportedAndNeverEndsTheProcess) {
    EXPECT_EQ(ExpectFailure(DecodeJpeg(GetParam().File(), "a\\b.jpg")),
              (PictureFailure{"Couldn't load JPG - \"a\\b.jpg\"", "JPG Unit"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegFailureTest,
    testing::Values(JpegFailureCase{"Empty", [] { return Bytes{}; }},
                    JpegFailureCase{"NotAJpeg", [] { return BitmapFixture{}.Build(); }},
                    JpegFailureCase{"OnlyTheStartOfImage",
                                    [] {
                                        return Bytes{0xFF, 0xD8};
                                    }},
                    JpegFailureCase{"CutInsideTheHeaders",
                                    [] { return Truncated(RealJpeg(), 300); }},
                    JpegFailureCase{"ZeroWidth", [] { return JpegClaiming(0, 149); }},
                    JpegFailureCase{"FarTooLarge", [] { return JpegClaiming(65500, 65500); }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DecodeJpeg, FillsInAPictureCutShortInItsScans) {
    const Picture& picture = ExpectPicture(DecodeJpeg(Truncated(RealJpeg(), 3000), "a.jpg"));
    EXPECT_EQ(picture.Width, 227);
    EXPECT_EQ(picture.Height, 149);
}

} // namespace
} // namespace tavren
