#include "Pictures.h"

#include "DataFolder.h"
#include "JpegDecoder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <memory>

namespace tavren {

namespace {

const std::string BitmapCaption = "BMP Unit";
const std::string JpegCaption = "JPG Unit";
const std::string TgaMissingCaption = "TGA Texture";
const std::string TgaCaption = "TGA File Error";

constexpr size_t BitmapHeadersSize = 14 + 40;
constexpr size_t TgaHeaderSize = 18;
constexpr int32_t LargestSide = 65535;
// A run packet of two to five bytes stands for at most 128 pixels.
constexpr uint64_t LargestRunLength = 128;

uint16_t ReadUint16(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

uint32_t ReadUint32(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

int32_t ReadInt32(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<int32_t>(ReadUint32(bytes, offset));
}

uint64_t PaddedToFourBytes(uint64_t bytes) {
    return (bytes + 3) / 4 * 4;
}

std::string Quoted(const std::string& text) {
    return '"' + text + '"';
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, or nothing when it cannot be opened or read to its end.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    size_t count = 0;
    while ((count = std::fread(block, 1, sizeof(block), file.get())) > 0) {
        bytes.insert(bytes.end(), block, block + count);
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

// A file, not a folder, by that name. stat takes the name's bytes as they are on both
// platforms (the ANSI code page on Windows).
bool FileExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

PictureFailure BitmapFailure(const std::string& text) {
    return {text, BitmapCaption};
}

PictureFailure JpegFailure(const std::string& fileName) {
    return {"Couldn't load JPG - " + Quoted(fileName), JpegCaption};
}

PictureFailure TgaFailure(const std::string& fileName, const std::string& reason) {
    return {"Couldn't load " + Quoted(fileName) + ". " + reason, TgaCaption};
}

PictureFailure TgaReadFailure(const std::string& fileName) {
    return {"Couldn't read file " + Quoted(fileName) + ".", TgaCaption};
}

std::vector<uint8_t> SwappedPixels(std::span<const uint8_t> source, int bytesPerPixel) {
    std::vector<uint8_t> pixels(source.size());
    for (size_t offset = 0; offset + bytesPerPixel <= source.size(); offset += bytesPerPixel) {
        CopyPixelSwapped(&source[offset], &pixels[offset], bytesPerPixel);
    }
    return pixels;
}

enum class PacketsEnd { PictureFilled, PastTheData, PastThePicture };

// Decodes the run-length packets of the TGA image type 10 until they fill pixels.
PacketsEnd DecodeTgaPackets(std::span<const uint8_t> data, int bytesPerPixel,
                            std::span<uint8_t> pixels) {
    const size_t pixelCount = pixels.size() / bytesPerPixel;
    size_t read = 0;
    size_t written = 0;
    while (written < pixelCount) {
        if (read >= data.size()) {
            return PacketsEnd::PastTheData;
        }
        const uint8_t header = data[read++];
        const bool isRun = header >= 128;
        const size_t count = isRun ? header - 127 : header + 1;
        if (count > pixelCount - written) {
            return PacketsEnd::PastThePicture;
        }
        const size_t packetBytes = (isRun ? 1 : count) * bytesPerPixel;
        if (packetBytes > data.size() - read) {
            return PacketsEnd::PastTheData;
        }
        for (size_t pixel = 0; pixel < count; ++pixel) {
            const size_t source = read + (isRun ? 0 : pixel * bytesPerPixel);
            CopyPixelSwapped(&data[source], &pixels[(written + pixel) * bytesPerPixel],
                             bytesPerPixel);
        }
        read += packetBytes;
        written += count;
    }
    return PacketsEnd::PictureFilled;
}

} // namespace

int ComponentCount(PixelFormat format) {
    return format == PixelFormat::Rgba ? 4 : 3;
}

size_t Picture::RowStride() const {
    const size_t rowBytes = size_t{Width} * ComponentCount(Format);
    return (rowBytes + RowAlignment - 1) / RowAlignment * RowAlignment;
}

PictureReader ReaderFor(std::string_view fileName) {
    if (fileName.size() < 4) {
        return PictureReader::None;
    }
    std::string ending(fileName.substr(fileName.size() - 4));
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    if (ending == ".BMP") {
        return PictureReader::Bitmap;
    }
    if (ending == ".JPG") {
        return PictureReader::Jpeg;
    }
    if (ending == ".TGA") {
        return PictureReader::Tga;
    }
    return PictureReader::None;
}

PictureResult ReadBmpFile(const std::string& fileName) {
    const auto file = ReadWholeFile(NativePath(fileName));
    if (!file) {
        return BitmapFailure("Error opening " + fileName);
    }
    return DecodeBitmap(*file);
}

PictureResult ReadJpegFile(const std::string& fileName) {
    std::string path = NativePath(fileName);
    if (!FileExists(path)) {
        path = NativePath("data\\" + fileName);
    }
    const auto file = ReadWholeFile(path);
    if (!file) {
        return JpegFailure(fileName);
    }
    return DecodeJpeg(*file, fileName);
}

PictureResult ReadTgaFile(const std::string& fileName) {
    const std::string path = NativePath(fileName);
    if (!FileExists(path)) {
        return PictureFailure{"File not found  - " + fileName, TgaMissingCaption};
    }
    const auto file = ReadWholeFile(path);
    if (!file) {
        return TgaReadFailure(fileName);
    }
    return DecodeTga(*file, fileName);
}

std::optional<PictureResult> ReadPictureFile(const std::string& fileName) {
    switch (ReaderFor(fileName)) {
    case PictureReader::Bitmap:
        return ReadBmpFile(fileName);
    case PictureReader::Jpeg:
        return ReadJpegFile(fileName);
    case PictureReader::Tga:
        return ReadTgaFile(fileName);
    case PictureReader::None:
        break;
    }
    return std::nullopt;
}

// Made for 24-bit, uncompressed, bottom-up bitmaps without a palette; the format fields are
// not checked. What is checked keeps every read and the upload inside the file's bytes.
PictureResult DecodeBitmap(std::span<const uint8_t> file) {
    if (file.size() < BitmapHeadersSize) {
        return BitmapFailure("Error reading bitmap header");
    }
    const int32_t width = ReadInt32(file, 18);
    const int32_t height = ReadInt32(file, 22);
    const uint16_t bitCount = ReadUint16(file, 28);
    const uint32_t sizeImage = ReadUint32(file, 34);
    const uint32_t paletteBytes = ReadUint32(file, 46);

    const std::span<const uint8_t> afterHeaders = file.subspan(BitmapHeadersSize);
    if (afterHeaders.size() < paletteBytes) {
        return BitmapFailure("Error reading palette");
    }
    if (width <= 0 || height <= 0 || width > LargestSide || height > LargestSide) {
        return BitmapFailure("Unsupported bitmap size");
    }
    // Rows are filled up to a multiple of 4 bytes, in the file and in the upload alike.
    const uint64_t rowBits = uint64_t{static_cast<uint32_t>(width)} * bitCount;
    const uint64_t size =
        sizeImage != 0 ? sizeImage : PaddedToFourBytes((rowBits + 7) / 8) * height;
    const uint64_t uploadSize = PaddedToFourBytes(uint64_t{3} * width) * height;
    const std::span<const uint8_t> data = afterHeaders.subspan(paletteBytes);
    if (data.size() < size || size < uploadSize) {
        return BitmapFailure("Error reading bitmap data");
    }

    Picture picture;
    picture.Width = static_cast<uint16_t>(width);
    picture.Height = static_cast<uint16_t>(height);
    picture.Format = PixelFormat::Rgb;
    picture.RowAlignment = 4;
    picture.Pixels.assign(data.begin(), data.begin() + uploadSize);
    SwapRedBlue(picture.Pixels, width, height);
    return picture;
}

PictureResult DecodeTga(std::span<const uint8_t> file, const std::string& fileName) {
    if (file.size() < TgaHeaderSize) {
        return TgaReadFailure(fileName);
    }
    const uint8_t colourMapType = file[1];
    const uint8_t imageType = file[2];
    const uint16_t width = ReadUint16(file, 12);
    const uint16_t height = ReadUint16(file, 14);
    const uint8_t pixelDepth = file[16];

    if (imageType != 2 && imageType != 10) {
        return TgaFailure(fileName, "Only 24 and 32bit TGA supported.");
    }
    if (colourMapType != 0) {
        return TgaFailure(fileName, "Colormapped TGA files not supported.");
    }
    if (pixelDepth != 24 && pixelDepth != 32) {
        return TgaFailure(fileName, "Only 24 and 32 bit TGA files supported.");
    }
    if (width == 0 || height == 0) {
        return TgaFailure(fileName, "Image has zero width or height.");
    }

    const int bytesPerPixel = pixelDepth / 8;
    const uint64_t pixelCount = uint64_t{width} * height;
    const std::span<const uint8_t> data = file.subspan(TgaHeaderSize);
    Picture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Format = pixelDepth == 32 ? PixelFormat::Rgba : PixelFormat::Rgb;
    picture.RowAlignment = 1;
    if (imageType == 2) {
        const uint64_t size = pixelCount * bytesPerPixel;
        if (data.size() < size) {
            return TgaReadFailure(fileName);
        }
        picture.Pixels = SwappedPixels(data.first(size), bytesPerPixel);
        return picture;
    }
    if (pixelCount > data.size() * LargestRunLength) {
        return TgaReadFailure(fileName);
    }
    picture.Pixels.resize(pixelCount * bytesPerPixel);
    switch (DecodeTgaPackets(data, bytesPerPixel, picture.Pixels)) {
    case PacketsEnd::PictureFilled:
        return picture;
    case PacketsEnd::PastThePicture:
        return TgaFailure(fileName, "A run-length packet runs past the image.");
    case PacketsEnd::PastTheData:
        break;
    }
    return TgaReadFailure(fileName);
}

PictureResult DecodeJpeg(std::span<const uint8_t> file, const std::string& fileName) {
    const auto scanLines = DecodeJpegScanLines(file);
    if (!scanLines) {
        return JpegFailure(fileName);
    }
    return PictureFromBgrxScanLines(scanLines->Width, scanLines->Height, scanLines->Bgrx);
}

void SwapRedBlue(std::span<uint8_t> pixels, int width, int height) {
    const size_t rowStride = PaddedToFourBytes(size_t(3) * width);
    assert(height <= 0 || pixels.size() >= rowStride * height);
    for (int row = 0; row < height; ++row) {
        uint8_t* pixel = &pixels[row * rowStride];
        for (int column = 0; column < width; ++column, pixel += 3) {
            std::swap(pixel[0], pixel[2]);
        }
    }
}

void CopyPixelSwapped(const uint8_t* source, uint8_t* destination, int bytesPerPixel) {
    destination[0] = source[2];
    destination[1] = source[1];
    destination[2] = source[0];
    if (bytesPerPixel == 4) {
        destination[3] = source[3];
    }
}

Picture PictureFromBgrxScanLines(uint16_t width, uint16_t height, std::span<const uint8_t> bgrx) {
    const size_t rowBytes = size_t{width} * 4;
    assert(bgrx.size() >= rowBytes * height);
    Picture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Format = PixelFormat::Rgba;
    picture.RowAlignment = 4;
    picture.Pixels.resize(rowBytes * height);
    for (size_t row = 0; row < height; ++row) {
        const uint8_t* source = &bgrx[(height - 1 - row) * rowBytes];
        uint8_t* destination = &picture.Pixels[row * rowBytes];
        for (size_t column = 0; column < width; ++column, source += 4, destination += 4) {
            CopyPixelSwapped(source, destination, 4);
            destination[3] = 255;
        }
    }
    return picture;
}

std::vector<uint8_t> TightlyPackedTexels(const Picture& picture) {
    const size_t rowBytes = size_t{picture.Width} * ComponentCount(picture.Format);
    std::vector<uint8_t> texels;
    texels.reserve(rowBytes * picture.Height);
    for (size_t row = 0; row < picture.Height; ++row) {
        const auto start = picture.Pixels.begin() + row * picture.RowStride();
        texels.insert(texels.end(), start, start + rowBytes);
    }
    return texels;
}

} // namespace tavren
