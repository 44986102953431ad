// libFuzzer target of the model reader: a file is loaded, linked, set up and posed, advanced
// a few times and walked corner by corner as the drawing walks it. The loader's own errors are
// fine; anything else (a crash, a hang, an access outside a list) is a bug.
#include "Boids/Model.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::string ModelPath =
    (std::filesystem::temp_directory_path() / ("tavren-fuzz-model-" + std::to_string(getpid())))
        .string();

void NoTexture(const std::string&, tavren::TextureName&) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(ModelPath, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    tavren::TModel model(false, false, NoTexture);
    try {
        model.LoadFromFile(ModelPath);
        for (const float frames : {0.5f, 3.0f, 40.0f, -2.0f}) {
            model.Advance(frames);
        }
    } catch (const tavren::ModelError&) {
        return 0;
    }
    float sum = 0;
    for (const tavren::TShape& mesh : model.Meshes) {
        model.ForEachCorner(mesh,
                            [&](const tavren::TNormal*, const tavren::TVec& vertex,
                                const tavren::TPoint& position) { sum += vertex.U + position[0]; });
    }
    // Keeps the walk from being optimised away.
    volatile float keep = sum;
    (void)keep;
    return 0;
}
