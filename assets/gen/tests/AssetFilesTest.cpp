#include "Generate.h"
#include "ModelFileReader.h"
#include "PictureFiles.h"

#include "tools/PngFile.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <filesystem>
#include <set>

namespace tavren {
namespace {

TEST(AssetFiles, RegeneratingGivesTheCommittedBytes) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavren-assets-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const std::vector<std::filesystem::path> written = GenerateAssets(folder);
    std::set<std::filesystem::path> generated;
    for (const std::filesystem::path& relative : written) {
        generated.insert(relative);
        EXPECT_TRUE(ReadFileBytes(folder / relative) == ReadFileBytes(AssetPath(relative.string())))
            << relative << " differs from the committed file";
    }
    std::filesystem::remove_all(folder);
    // Nothing committed beside them that the generator no longer makes.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(AssetPath(""))) {
        const std::filesystem::path relative = entry.path().lexically_relative(AssetPath(""));
        // gen/ is the generator; previews/gl/ are the renderer's own drawings of the models.
        if (!entry.is_regular_file() || *relative.begin() == "gen" || relative == "README.md" ||
            relative.parent_path() == "previews/gl") {
            continue;
        }
        EXPECT_TRUE(generated.count(relative)) << relative << " is not generated";
    }
}

struct PictureSize {
    std::string Stem;
    int Width;
    int Height;
};

std::vector<PictureSize> CarriedPictures() {
    std::vector<PictureSize> pictures;
    for (int i = 0; i < 32; ++i) {
        char stem[16];
        std::snprintf(stem, sizeof stem, "Tavren1%02d", i);
        pictures.push_back({stem, 128, 128});
    }
    pictures.push_back({"Tavren200", 1024, 160});
    pictures.push_back({"Tavren201", 405, 257});
    pictures.push_back({"Tavren202", 256, 256});
    pictures.push_back({"Preview", 152, 112});
    return pictures;
}

std::pair<int, int> JpegSize(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    jpeg_decompress_struct decompress{};
    jpeg_error_mgr errors{};
    decompress.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decompress);
    jpeg_mem_src(&decompress, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&decompress, TRUE);
    const std::pair<int, int> size{static_cast<int>(decompress.image_width),
                                   static_cast<int>(decompress.image_height)};
    EXPECT_EQ(decompress.num_components, 3) << path;
    jpeg_destroy_decompress(&decompress);
    return size;
}

TEST(AssetFiles, CarriedPicturesHaveTheirSizesInBothForms) {
    for (const PictureSize& picture : CarriedPictures()) {
        const RgbaPicture master = ReadPng(AssetPath("pictures/" + picture.Stem + ".png"));
        EXPECT_EQ(master.Width, picture.Width) << picture.Stem;
        EXPECT_EQ(master.Height, picture.Height) << picture.Stem;
        const auto [width, height] = JpegSize(AssetPath("pictures/" + picture.Stem + ".jpg"));
        EXPECT_EQ(width, picture.Width) << picture.Stem;
        EXPECT_EQ(height, picture.Height) << picture.Stem;
    }
}

// Reads the size and depth from a bitmap's headers: uncompressed 24-bit, bottom row first.
void ExpectBitmap(const std::string& relative, int width, int height) {
    const std::vector<uint8_t> bytes = ReadFileBytes(AssetPath(relative));
    ASSERT_GE(bytes.size(), 54u) << relative;
    auto little = [&](size_t at) {
        return static_cast<int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                    static_cast<uint32_t>(bytes[at + 3]) << 24);
    };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(little(10), 54) << relative;
    EXPECT_EQ(little(18), width) << relative;
    EXPECT_EQ(little(22), height) << relative;
    EXPECT_EQ(bytes[28], 24) << relative;
    EXPECT_EQ(little(30), 0) << relative;
    const int stride = (width * 3 + 3) & ~3;
    EXPECT_EQ(little(34), stride * height) << relative;
    EXPECT_EQ(bytes.size(), 54u + static_cast<size_t>(stride) * height) << relative;
}

TEST(AssetFiles, FrontEndBitmaps) {
    for (const char* skin :
         {"Normal", "HighLight", "HighLightSelect", "Pressed", "Disable", "Selected"}) {
        ExpectBitmap(std::string("frontend/") + skin + ".bmp", 64, 25);
    }
    EXPECT_TRUE(ReadFileBytes(AssetPath("frontend/HighLight.bmp")) ==
                ReadFileBytes(AssetPath("frontend/HighLightSelect.bmp")));
    ExpectBitmap("frontend/RadioOff.bmp", 12, 12);
    ExpectBitmap("frontend/RadioOn.bmp", 12, 12);
    const std::vector<uint8_t> icon = ReadFileBytes(AssetPath("frontend/Tavren.ico"));
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(icon[2], 1) << "an icon, not a cursor";
    EXPECT_EQ(icon[4], 3) << "three sizes";
}

} // namespace
} // namespace tavren
