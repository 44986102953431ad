// Model files for tests: the real ones and small ones written on the fly.
#pragma once

#include "Boids/Model.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavren::test {

// A file of the shared real-data set of MilkShape ASCII models.
std::filesystem::path RealModel(std::string_view name);

// Writes text as a file of this run's scratch folder and returns its path.
std::filesystem::path WriteModelFile(std::string_view name, std::string_view text);

// A LoadTexture stand-in that loads nothing.
TextureLoaderFunction NoTextures();

// A LoadTexture stand-in that records the files it is asked for and hands out 1, 2, 3...
class RecordingTextureLoader {
public:
    std::vector<std::string> Files;
    TextureLoaderFunction Function();

private:
    TextureName Next = 1;
};

// A model with one mesh of three vertices (bound to bone 0, bone 1 and no bone), one
// material and a chain of two bones whose root turns a quarter turn about z from frame 1
// to frame 11.
std::string ChainModelText();

} // namespace tavren::test
