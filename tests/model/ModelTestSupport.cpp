#include "ModelTestSupport.h"

#include <fstream>
#include <unistd.h>

namespace tavren::test {

std::filesystem::path RealModel(std::string_view name) {
    return std::filesystem::path(TAVREN_REALDATA) / "ms3d_ascii" / name;
}

std::filesystem::path WriteModelFile(std::string_view name, std::string_view text) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavren-model-tests-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TextureLoaderFunction NoTextures() {
    return [](const std::string&, TextureName&) {};
}

TextureLoaderFunction RecordingTextureLoader::Function() {
    return [this](const std::string& fileName, TextureName& texture) {
        Files.push_back(fileName);
        texture = Next++;
    };
}

std::string ChainModelText() {
    return "// MilkShape 3D ASCII\r\n"
           "\r\n"
           "Frames: 30\r\n"
           "Frame: 1\r\n"
           "\r\n"
           "Meshes: 1\r\n"
           "\"body\" 1 0\r\n"
           "3\r\n"
           "1 1.000000 0.000000 0.000000 0.250000 0.750000 0\r\n"
           "1 2.000000 0.000000 0.000000 0.500000 0.500000 1\r\n"
           "1 0.000000 0.000000 3.000000 1.000000 0.000000 -1\r\n"
           "1\r\n"
           "0.000000 0.000000 1.000000\r\n"
           "1\r\n"
           "1 0 1 2 0 0 0 1\r\n"
           "\r\n"
           "Materials: 1\r\n"
           "\"skin\"\r\n"
           "0.200000 0.200000 0.200000 1.000000\r\n"
           "0.800000 0.800000 0.800000 1.000000\r\n"
           "0.000000 0.000000 0.000000 1.000000\r\n"
           "0.000000 0.000000 0.000000 1.000000\r\n"
           "0.000000\r\n"
           "1.000000\r\n"
           "\"\"\r\n"
           "\"\"\r\n"
           "\r\n"
           "Bones: 2\r\n"
           "\"root\"\r\n"
           "\"\"\r\n"
           "8 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\r\n"
           "1\r\n"
           "1.000000 0.000000 0.000000 0.000000\r\n"
           "2\r\n"
           "1.000000 0.000000 0.000000 0.000000\r\n"
           "11.000000 0.000000 0.000000 1.570796\r\n"
           "\"child\"\r\n"
           "\"root\"\r\n"
           "8 1.000000 0.000000 0.000000 0.000000 0.000000 0.000000\r\n"
           "1\r\n"
           "1.000000 0.000000 0.000000 0.000000\r\n"
           "1\r\n"
           "1.000000 0.000000 0.000000 0.000000\r\n";
}

} // namespace tavren::test
