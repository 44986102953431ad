// Writing RGBA pictures as PNG files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace tavren {

class PngError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct RgbaPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels; // RGBA, top row first
};

// Writes width x height RGBA pixels, top row first, as an 8-bit RGBA PNG. Throws PngError.
void WritePng(const std::filesystem::path& path, int32_t width, int32_t height,
              const std::vector<uint8_t>& rgba);

// Reads any PNG as 8-bit RGBA. Throws PngError.
RgbaPicture ReadPng(const std::filesystem::path& path);

} // namespace tavren
