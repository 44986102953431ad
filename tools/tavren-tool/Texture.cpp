#include "Arguments.h"
#include "Commands.h"

#include "Boids/MessageSink.h"
#include "Boids/Pictures.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

namespace tavren::tool {

namespace {

// The texture command's own exit status for a name that no reader takes.
constexpr int NoReader = 3;

void WriteTexels(const std::string& path, const Picture& picture) {
    const std::vector<uint8_t> texels = TightlyPackedTexels(picture);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(texels.data()),
              static_cast<std::streamsize>(texels.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

int Decode(std::span<const std::string_view> arguments) {
    if (arguments.empty() || arguments[0].starts_with("--")) {
        throw UsageError("decode needs a FILE");
    }
    const std::string fileName(arguments[0]);
    OptionReader options(arguments.subspan(1));
    const auto raw = options.Take("--raw");
    options.RejectLeftovers();

    const auto result = ReadPictureFile(fileName);
    if (!result) {
        return NoReader;
    }
    if (const auto* failure = std::get_if<PictureFailure>(&*result)) {
        StandardErrorMessageSink().ShowMessage(failure->Text, failure->Caption);
        return 1;
    }
    const Picture& picture = std::get<Picture>(*result);
    if (raw) {
        WriteTexels(std::string(*raw), picture);
    }
    std::printf("%u %u %s\n", unsigned{picture.Width}, unsigned{picture.Height},
                picture.Format == PixelFormat::Rgba ? "RGBA" : "RGB");
    return 0;
}

} // namespace

int RunTexture(std::span<const std::string_view> arguments) {
    if (arguments.empty() || arguments[0] != "decode") {
        throw UsageError("texture takes the subcommand decode");
    }
    return Decode(arguments.subspan(1));
}

} // namespace tavren::tool
