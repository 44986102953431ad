// Writing pictures in the forms the project keeps: PNG masters, 24-bit bitmaps, JPEG and icons.
#pragma once

#include "Picture.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace tavren {

class PictureFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Lossless; written as 8-bit grey when every pixel is grey, else as 8-bit RGB.
void WritePictureAsPng(const std::filesystem::path& path, const Picture& picture);

// Uncompressed Windows bitmap, 24 bits, bottom row first, rows padded to 4 bytes.
void WritePictureAsBmp(const std::filesystem::path& path, const Picture& picture);

// Baseline JPEG with full-resolution colour (4:4:4).
void WritePictureAsJpeg(const std::filesystem::path& path, const Picture& picture, int quality);

// One icon image: straight (not premultiplied) RGBA, rows top first.
struct IconImage {
    int Size = 0;
    std::vector<uint8_t> Rgba;
};

// A Windows .ico with one 32-bit image per entry and the matching 1-bit mask.
void WriteIcon(const std::filesystem::path& path, const std::vector<IconImage>& images);

// The bytes of a file, for comparisons.
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);

} // namespace tavren
