// The texture loader's picture readers as the Windows build has them (JPEG through the imaging
// component), for the end-to-end tests:
//   tavren-texture-decode FILE OUT
// prints "WIDTH HEIGHT RGB|RGBA" and writes the texels to OUT tightly packed, bottom row first,
// as `tavren-tool texture decode FILE --raw OUT` does on Linux. Exit code 0; 1 with
// "CAPTION: TEXT" on standard error when the reader refuses the picture; 3 when no reader takes
// the name; 2 when the command line is wrong.
#include "Boids/MessageSink.h"
#include "Boids/Pictures.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Done = 0;
constexpr int Refused = 1;
constexpr int UsageError = 2;
constexpr int NoReader = 3;

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: tavren-texture-decode FILE OUT\n", stderr);
        return UsageError;
    }
    // Lines end in \n alone, as the Linux tool's do.
    _setmode(_fileno(stdout), _O_BINARY);
    const auto result = tavren::ReadPictureFile(argv[1]);
    if (!result) {
        return NoReader;
    }
    if (const auto* failure = std::get_if<tavren::PictureFailure>(&*result)) {
        tavren::StandardErrorMessageSink().ShowMessage(failure->Text, failure->Caption);
        return Refused;
    }
    const auto& picture = std::get<tavren::Picture>(*result);
    if (!WriteFile(argv[2], tavren::TightlyPackedTexels(picture))) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[2]);
        return Refused;
    }
    std::printf("%u %u %s\n", unsigned{picture.Width}, unsigned{picture.Height},
                picture.Format == tavren::PixelFormat::Rgba ? "RGBA" : "RGB");
    return Done;
}
