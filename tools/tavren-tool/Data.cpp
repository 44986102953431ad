// Lays out a data folder as the show leaves it: the two models and the 35 texture bitmaps,
// written from the pictures the front end carries (JPEG) by the same bitmap writer.
#include "Arguments.h"
#include "Commands.h"

#include "saver/ShowBitmaps.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavren::tool {

namespace {

namespace fs = std::filesystem;

void WriteTextureBitmap(const fs::path& pictures, const fs::path& folder, const std::string& name) {
    const fs::path source = pictures / (name + ".jpg");
    std::ifstream file(source, std::ios::binary);
    const std::vector<uint8_t> jpeg((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (!file.is_open()) {
        throw std::runtime_error(source.string() + ": the picture cannot be read");
    }
    WriteJpegAsBitmap(jpeg, folder / (name + ".bmp"));
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
    for (int index = 0; index < ShowBitmapCount; ++index) {
        WriteTextureBitmap(assets / "pictures", folder, ShowPictureStem(index));
    }
    std::printf("%s\n", folder.string().c_str());
    return 0;
}

} // namespace tavren::tool
