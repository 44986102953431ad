#include "ShowBitmaps.h"

#include <stdexcept>
#include <variant>

namespace tavren {

std::string ShowPictureStem(int index) {
    const bool caustic = index < CausticFrameCount;
    const int number = caustic ? index : index - CausticFrameCount;
    // The number formatted with "00": two digits with a leading zero.
    return std::string(caustic ? "Tavren1" : "Tavren2") + (number < 10 ? "0" : "") +
           std::to_string(number);
}

RgbPicture TopFirstRgb(const Picture& picture) {
    RgbPicture rgb{picture.Width, picture.Height, {}};
    const int components = ComponentCount(picture.Format);
    rgb.Pixels.reserve(static_cast<size_t>(picture.Width) * picture.Height * 3);
    for (int row = picture.Height - 1; row >= 0; --row) {
        const uint8_t* pixel = picture.Pixels.data() + picture.RowStride() * row;
        for (int column = 0; column < picture.Width; ++column, pixel += components) {
            rgb.Pixels.insert(rgb.Pixels.end(), pixel, pixel + 3);
        }
    }
    return rgb;
}

void WriteJpegAsBitmap(std::span<const uint8_t> jpeg, const std::filesystem::path& path) {
    const std::u8string name = path.filename().u8string();
    const PictureResult result = DecodeJpeg(jpeg, std::string(name.begin(), name.end()));
    if (const auto* failure = std::get_if<PictureFailure>(&result)) {
        throw std::runtime_error(failure->Caption + ": " + failure->Text);
    }
    WriteBitmapFile(path, TopFirstRgb(std::get<Picture>(result)));
}

} // namespace tavren
