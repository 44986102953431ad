// Lays out a data folder as the show leaves it: the two models and the 35 texture bitmaps,
// written from the pictures the front end carries (JPEG) by the same bitmap writer.
#include "Arguments.h"
#include "Commands.h"

#include "Boids/Pictures.h"
#include "saver/BitmapFile.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <variant>

namespace tavren::tool {

namespace {

namespace fs = std::filesystem;

// The decoder's bottom-first RGBA as the writer's top-first RGB.
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

void WriteTextureBitmap(const fs::path& pictures, const fs::path& folder, const std::string& name) {
    const std::string source = (pictures / (name + ".jpg")).string();
    const PictureResult result = ReadJpegFile(source);
    if (const auto* failure = std::get_if<PictureFailure>(&result)) {
        throw std::runtime_error(failure->Caption + ": " + failure->Text);
    }
    WriteBitmapFile((folder / (name + ".bmp")).string(), TopFirstRgb(std::get<Picture>(result)));
}

} // namespace

int RunData(std::span<const std::string_view> arguments) {
    if (arguments.empty() || arguments[0].starts_with("--")) {
        throw UsageError("the data folder is missing");
    }
    const fs::path folder(arguments[0]);
    OptionReader options(arguments.subspan(1));
    const fs::path assets(options.Require("--assets"));
    options.RejectLeftovers();

    fs::create_directories(folder);
    for (const char* model : {"Tavren.pp1", "Tavren.pp2"}) {
        fs::copy_file(assets / "models" / model, folder / model,
                      fs::copy_options::overwrite_existing);
    }
    char name[16];
    for (int index = 0; index < 32; ++index) {
        std::snprintf(name, sizeof name, "Tavren1%02d", index);
        WriteTextureBitmap(assets / "pictures", folder, name);
    }
    for (int index = 0; index < 3; ++index) {
        std::snprintf(name, sizeof name, "Tavren2%02d", index);
        WriteTextureBitmap(assets / "pictures", folder, name);
    }
    std::printf("%s\n", folder.string().c_str());
    return 0;
}

} // namespace tavren::tool
