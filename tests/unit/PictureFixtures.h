// Small picture files built in code for the texture loader's tests, a folder to put them in, and
// a message sink that records what it is handed.
#pragma once

#include "Boids/MessageSink.h"
#include "Boids/Pictures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tavren::testing_pictures {

using Bytes = std::vector<uint8_t>;
using Colour = std::array<uint8_t, 3>;

inline void PutUint16(Bytes& bytes, size_t offset, uint32_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutUint32(Bytes& bytes, size_t offset, uint32_t value) {
    PutUint16(bytes, offset, value & 0xFFFF);
    PutUint16(bytes, offset + 2, value >> 16);
}

// The colour of texel (column, row), rows counted from the bottom: distinct per texel.
inline Colour PatternColour(int column, int row) {
    return {static_cast<uint8_t>(column * 7 + row), static_cast<uint8_t>(row * 11 + 3),
            static_cast<uint8_t>(column * 3 + row * 5 + 100)};
}

// A 24-bit bitmap as the renderer's pictures are written: headers, paletteBytes bytes of
// palette, rows of blue, green, red bottom first, each filled up to a multiple of 4 bytes with
// fillByte. biSizeImage is sizeImage (the true size when it is -1).
struct BitmapFixture {
    int32_t Width = 4;
    int32_t Height = 4;
    int64_t SizeImage = -1;
    uint16_t BitCount = 24;
    uint32_t PaletteBytes = 0;
    uint8_t FillByte = 0xAB;
    std::function<Colour(int column, int row)> Pixel = PatternColour;

    Bytes Build() const {
        const size_t rowStride = (size_t(3) * Width + 3) / 4 * 4;
        const size_t dataSize = Width > 0 && Height > 0 ? rowStride * Height : 0;
        Bytes bytes(54 + PaletteBytes + dataSize, 0);
        bytes[0] = 'B';
        bytes[1] = 'M';
        PutUint32(bytes, 2, static_cast<uint32_t>(bytes.size()));
        PutUint32(bytes, 10, 54 + PaletteBytes);
        PutUint32(bytes, 14, 40);
        PutUint32(bytes, 18, static_cast<uint32_t>(Width));
        PutUint32(bytes, 22, static_cast<uint32_t>(Height));
        PutUint16(bytes, 26, 1);
        PutUint16(bytes, 28, BitCount);
        PutUint32(bytes, 34, static_cast<uint32_t>(SizeImage < 0 ? dataSize : SizeImage));
        PutUint32(bytes, 46, PaletteBytes);
        for (size_t index = 54; index < 54 + PaletteBytes; ++index) {
            bytes[index] = 0xEE;
        }
        for (int row = 0; row < Height && dataSize > 0; ++row) {
            uint8_t* line = &bytes[54 + PaletteBytes + row * rowStride];
            for (int column = 0; column < Width; ++column) {
                const Colour colour = Pixel(column, row);
                line[column * 3] = colour[2];
                line[column * 3 + 1] = colour[1];
                line[column * 3 + 2] = colour[0];
            }
            for (size_t fill = size_t(3) * Width; fill < rowStride; ++fill) {
                line[fill] = FillByte;
            }
        }
        return bytes;
    }
};

// An 18-byte TGA header followed by data as given.
inline Bytes TgaFile(uint8_t imageType, uint16_t width, uint16_t height, uint8_t pixelDepth,
                     const Bytes& data, uint8_t colourMapType = 0, uint8_t idLength = 0) {
    Bytes bytes(18, 0);
    bytes[0] = idLength;
    bytes[1] = colourMapType;
    bytes[2] = imageType;
    PutUint16(bytes, 12, width);
    PutUint16(bytes, 14, height);
    bytes[16] = pixelDepth;
    // Appended byte by byte: g++ 12 warns of a bounds fault, wrongly, on an insert of nothing.
    for (const uint8_t byte : data) {
        bytes.push_back(byte);
    }
    return bytes;
}

// A folder of its own under the system's temporary folder, removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tavren-texture-") + test->test_suite_name() + "-" +
                           test->name() + "-" + std::to_string(::getpid());
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        Folder = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }

    const std::filesystem::path& Path() const { return Folder; }

    // Writes bytes to name inside the folder and returns the file's full path.
    std::string Write(const std::string& name, const Bytes& bytes) const {
        const std::filesystem::path path = Folder / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

private:
    std::filesystem::path Folder;
};

inline Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Installed for its lifetime in place of the platform's message sink.
class RecordingSink final : public MessageSink {
public:
    RecordingSink() { SetRendererMessages(this); }
    RecordingSink(const RecordingSink&) = delete;
    RecordingSink& operator=(const RecordingSink&) = delete;
    ~RecordingSink() override { SetRendererMessages(nullptr); }

    void ShowMessage(const std::string& text, const std::string& caption) override {
        Messages.push_back({text, caption});
    }

    std::vector<PictureFailure> Messages;
};

} // namespace tavren::testing_pictures
