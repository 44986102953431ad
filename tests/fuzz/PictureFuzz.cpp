// libFuzzer target of the picture readers: the first byte chooses the reader, the rest is the
// file. A reader must give a picture whose buffer holds every row, or a message; never crash,
// hang or touch memory outside its buffers.
#include "Boids/Pictures.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <variant>

namespace {

void CheckPicture(const tavren::PictureResult& result) {
    if (const auto* picture = std::get_if<tavren::Picture>(&result)) {
        if (picture->Width == 0 || picture->Height == 0 ||
            picture->Pixels.size() < picture->RowStride() * picture->Height) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> file(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        CheckPicture(tavren::DecodeBitmap(file));
        break;
    case 1:
        CheckPicture(tavren::DecodeTga(file, "fuzz.tga"));
        break;
    default:
        CheckPicture(tavren::DecodeJpeg(file, "fuzz.jpg"));
        break;
    }
    return 0;
}
