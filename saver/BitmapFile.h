// The texture bitmaps the show writes into the data folder: uncompressed 24-bit Windows
// bitmaps, bottom row first, no palette, the pixel data right after the two headers, each row
// filled to a multiple of 4 bytes, and biSizeImage counting the fill bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tavren {

// A picture as decoders hand it over: red, green, blue per pixel, top row first, no fill.
struct RgbPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;
};

inline constexpr uint32_t BitmapHeadersSize = 14 + 40;

// The bytes of the row-filled pixel data of one row of a 24-bit bitmap.
uint32_t BitmapRowSize(int32_t width);

// The whole file. Throws std::invalid_argument for a picture whose pixel buffer does not
// match its size or whose sides are not positive.
std::vector<uint8_t> EncodeBitmapFile(const RgbPicture& picture);

// Writes the file at path, replacing any file there. Throws std::runtime_error naming the
// path when the file cannot be written in full.
void WriteBitmapFile(const std::filesystem::path& path, const RgbPicture& picture);

} // namespace tavren
