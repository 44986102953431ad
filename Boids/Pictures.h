// Picture files turned into pixel buffers for texture upload, without OpenGL: Windows bitmaps,
// TGA and JPEG files. Each reader gives a picture or the message (text and caption) that tells
// the user why there is none.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tavren {

enum class PixelFormat {
    Rgb,  // red, green, blue
    Rgba, // red, green, blue, alpha
};

int ComponentCount(PixelFormat format);

// Pixels as the texture upload takes them: one byte per component, bottom row first. Each row
// starts on a multiple of RowAlignment bytes; the fill bytes between rows are not texels.
struct Picture {
    uint16_t Width = 0;
    uint16_t Height = 0;
    PixelFormat Format = PixelFormat::Rgb;
    int RowAlignment = 1;
    std::vector<uint8_t> Pixels;

    // Bytes from the start of one row to the start of the next.
    size_t RowStride() const;
};

// Why a reader gave no picture, as the message box shows it.
struct PictureFailure {
    std::string Text;
    std::string Caption;

    bool operator==(const PictureFailure&) const = default;
};

using PictureResult = std::variant<Picture, PictureFailure>;

enum class PictureReader { None, Bitmap, Jpeg, Tga };

// The reader for a file name, by its last four characters without regard to ASCII case:
// ".BMP", ".JPG" or ".TGA". None for any other ending and for names shorter than four.
PictureReader ReaderFor(std::string_view fileName);

// The readers of LoadTexture, for a file name as the renderer writes it (converted with
// NativePath before the file system sees it); messages name the file as given.
PictureResult ReadBmpFile(const std::string& fileName);
PictureResult ReadJpegFile(const std::string& fileName);
PictureResult ReadTgaFile(const std::string& fileName);
// The reader that ReaderFor chooses; empty when no reader takes the name.
std::optional<PictureResult> ReadPictureFile(const std::string& fileName);

// The readers' decoding of a whole file held in memory; fileName is used only in messages.
PictureResult DecodeBitmap(std::span<const uint8_t> file);
PictureResult DecodeTga(std::span<const uint8_t> file, const std::string& fileName);
PictureResult DecodeJpeg(std::span<const uint8_t> file, const std::string& fileName);

// Exchanges the first and third byte of every 3-byte pixel in place. Each of the height rows
// holds width pixels followed by the fill bytes that pad it to a multiple of 4 bytes; the fill
// bytes are left as they are. pixels must hold all the rows.
void SwapRedBlue(std::span<uint8_t> pixels, int width, int height);

// Copies one pixel of 3 or 4 bytes with its first and third byte exchanged.
void CopyPixelSwapped(const uint8_t* source, uint8_t* destination, int bytesPerPixel);

// A picture of 32-bit scan lines (blue, green, red, one ignored byte; top row first, rows
// following each other without fill) as red, green, blue and alpha 255, bottom row first.
Picture PictureFromBgrxScanLines(uint16_t width, uint16_t height, std::span<const uint8_t> bgrx);

// The texels without the fill bytes between rows: width x height x components bytes.
std::vector<uint8_t> TightlyPackedTexels(const Picture& picture);

} // namespace tavren
