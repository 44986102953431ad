// The data package's slicing, on packages of any length and content: the first bytes choose
// the pieces' lengths, the rest is the package.
#include "saver/Tavren_B.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::filesystem::path Folder =
    std::filesystem::temp_directory_path() / ("tavren-fuzz-package-" + std::to_string(getpid()));

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    const uint64_t program = data[0];
    const uint64_t fish = data[1];
    const uint64_t floor = data[2];
    const tavren::saver::PackagePiece pieces[] = {{"Tavren.pex", 0, program},
                                                  {"Tavren.pp1", program, fish},
                                                  {"Tavren.pp2", program + fish, floor}};
    std::filesystem::create_directories(Folder);
    const std::filesystem::path package = Folder / "package";
    std::ofstream(package, std::ios::binary)
        .write(reinterpret_cast<const char*>(data + 3), static_cast<std::streamsize>(size - 3));
    const auto result = tavren::saver::InstallDataFolder(package, Folder, pieces);
    if (result == tavren::saver::InstallResult::Installed &&
        std::filesystem::file_size(Folder / "Tavren.pp2") != floor) {
        __builtin_trap();
    }
    std::filesystem::remove_all(Folder);
    return 0;
}
