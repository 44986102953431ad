#include "saver/BitmapFile.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace tavren {
namespace {

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t Read16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// A 5 x 2 picture: rows of 15 pixel bytes and 1 fill byte.
RgbPicture TwoRows() {
    RgbPicture picture{5, 2, {}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column) {
            picture.Pixels.insert(picture.Pixels.end(),
                                  {static_cast<uint8_t>(10 * row + column), 100, 200});
        }
    }
    return picture;
}

TEST(BitmapFileTest, HeadersOfA24BitBitmapWithFillBytes) {
    const std::vector<uint8_t> file = EncodeBitmapFile(TwoRows());
    ASSERT_EQ(file.size(), 54u + 2 * 16);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Read32(file, 2), file.size()); // bfSize
    EXPECT_EQ(Read32(file, 10), 54u);        // bfOffBits
    EXPECT_EQ(Read32(file, 14), 40u);        // biSize
    EXPECT_EQ(Read32(file, 18), 5u);         // biWidth
    EXPECT_EQ(Read32(file, 22), 2u);         // biHeight, positive: bottom row first
    EXPECT_EQ(Read16(file, 26), 1u);         // biPlanes
    EXPECT_EQ(Read16(file, 28), 24u);        // biBitCount
    EXPECT_EQ(Read32(file, 30), 0u);         // uncompressed
    EXPECT_EQ(Read32(file, 34), 32u);        // biSizeImage with the fill bytes
    EXPECT_EQ(Read32(file, 46), 0u);         // biClrUsed: no palette
}

TEST(BitmapFileTest, BottomRowFirstInBlueGreenRed) {
    const std::vector<uint8_t> file = EncodeBitmapFile(TwoRows());
    // The first stored row is the picture's bottom row (row 1), its first pixel 10, 100, 200.
    EXPECT_EQ(file[54], 200);
    EXPECT_EQ(file[55], 100);
    EXPECT_EQ(file[56], 10);
    EXPECT_EQ(file[54 + 15], 0); // fill byte
    EXPECT_EQ(file[54 + 16 + 2], 0);
    EXPECT_EQ(file[54 + 16 + 3 * 4 + 2], 4); // top row, last pixel's red
}

TEST(BitmapFileTest, RowSizes) {
    for (const auto& [width, size] : std::vector<std::pair<int32_t, uint32_t>>{
             {1, 4}, {4, 12}, {128, 384}, {405, 1216}, {1024, 3072}}) {
        EXPECT_EQ(BitmapRowSize(width), size) << width;
    }
}

TEST(BitmapFileTest, RefusesAPictureThatDoesNotMatchItsSize) {
    RgbPicture picture = TwoRows();
    picture.Pixels.pop_back();
    EXPECT_THROW(EncodeBitmapFile(picture), std::invalid_argument);
    EXPECT_THROW(EncodeBitmapFile(RgbPicture{0, 0, {}}), std::invalid_argument);
    EXPECT_THROW(WriteBitmapFile("/nonexistent-folder/x.bmp", TwoRows()), std::runtime_error);
}

} // namespace
} // namespace tavren
