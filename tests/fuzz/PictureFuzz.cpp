// libFuzzer target of one picture reader, chosen when it is built (TAVREN_FUZZ_READER: 0 the
// bitmap reader, 1 TGA, 2 JPEG), so that real files of that kind seed it as they are. A
// reader must give a picture whose buffer holds every row, or a message; never crash, hang or
// touch memory outside its buffers.
#include "Boids/Pictures.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    const tavren::PictureResult result = [&] {
        switch (TAVREN_FUZZ_READER) {
        case 0:
            return tavren::DecodeBitmap(file);
        case 1:
            return tavren::DecodeTga(file, "fuzz.tga");
        default:
            return tavren::DecodeJpeg(file, "fuzz.jpg");
        }
    }();
    if (const auto* picture = std::get_if<tavren::Picture>(&result)) {
        if (picture->Width == 0 || picture->Height == 0 ||
            picture->Pixels.size() < picture->RowStride() * picture->Height) {
            std::abort();
        }
    }
    return 0;
}
