#include "BitmapFile.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace tavren {

namespace {

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int index = 0; index < bytes; ++index) {
        out.push_back(static_cast<uint8_t>(value >> (8 * index)));
    }
}

} // namespace

uint32_t BitmapRowSize(int32_t width) {
    return (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
}

std::vector<uint8_t> EncodeBitmapFile(const RgbPicture& picture) {
    // Sides beyond 16384 would let the sizes overflow 32 bits long before any use for them.
    if (picture.Width <= 0 || picture.Height <= 0 || picture.Width > 16384 ||
        picture.Height > 16384 ||
        picture.Pixels.size() != static_cast<size_t>(picture.Width) * picture.Height * 3) {
        throw std::invalid_argument("a picture whose pixels do not match its size");
    }
    const uint32_t rowSize = BitmapRowSize(picture.Width);
    const uint32_t imageSize = rowSize * static_cast<uint32_t>(picture.Height);

    std::vector<uint8_t> file;
    file.reserve(BitmapHeadersSize + imageSize);
    file.push_back('B');
    file.push_back('M');
    PutLittleEndian(file, BitmapHeadersSize + imageSize, 4); // bfSize
    PutLittleEndian(file, 0, 4);                             // bfReserved1, bfReserved2
    PutLittleEndian(file, BitmapHeadersSize, 4);             // bfOffBits
    PutLittleEndian(file, 40, 4);                            // biSize
    PutLittleEndian(file, static_cast<uint32_t>(picture.Width), 4);
    PutLittleEndian(file, static_cast<uint32_t>(picture.Height), 4); // bottom row first
    PutLittleEndian(file, 1, 2);                                     // biPlanes
    PutLittleEndian(file, 24, 2);                                    // biBitCount
    PutLittleEndian(file, 0, 4);                                     // BI_RGB
    PutLittleEndian(file, imageSize, 4);
    PutLittleEndian(file, 0, 4); // biXPelsPerMeter
    PutLittleEndian(file, 0, 4); // biYPelsPerMeter
    PutLittleEndian(file, 0, 4); // biClrUsed
    PutLittleEndian(file, 0, 4); // biClrImportant

    const size_t stride = static_cast<size_t>(picture.Width) * 3;
    for (int32_t row = picture.Height - 1; row >= 0; --row) {
        const uint8_t* pixel = picture.Pixels.data() + static_cast<size_t>(row) * stride;
        for (int32_t column = 0; column < picture.Width; ++column, pixel += 3) {
            file.push_back(pixel[2]);
            file.push_back(pixel[1]);
            file.push_back(pixel[0]);
        }
        file.resize(file.size() + (rowSize - stride), 0);
    }
    return file;
}

void WriteBitmapFile(const std::filesystem::path& path, const RgbPicture& picture) {
    const std::vector<uint8_t> bytes = EncodeBitmapFile(picture);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        // A half-written picture (a full disk) would be read as a damaged one.
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        const std::u8string name = path.u8string();
        throw std::runtime_error(std::string(name.begin(), name.end()) +
                                 ": the bitmap could not be written");
    }
}

} // namespace tavren
