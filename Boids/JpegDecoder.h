// The platform's JPEG decoder, behind one function: libjpeg on Linux, the Windows imaging
// component on Windows. CMake compiles the one that serves the platform.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavren {

// More texels than this are refused before any pixel memory is taken: a few bytes of JPEG can
// claim a picture of 65,500 x 65,500 (16 GiB of pixels).
constexpr uint64_t LargestJpegPixelCount = uint64_t{1} << 27;

// A decoded picture as 32-bit scan lines: blue, green, red and one ignored byte per pixel, top
// row first, rows following each other without fill.
struct JpegScanLines {
    uint16_t Width = 0;
    uint16_t Height = 0;
    std::vector<uint8_t> Bgrx;
};

// Decodes a whole JPEG file held in memory. Empty when the decoder cannot decode it, whatever
// the reason; it never ends the process.
std::optional<JpegScanLines> DecodeJpegScanLines(std::span<const uint8_t> file);

} // namespace tavren
