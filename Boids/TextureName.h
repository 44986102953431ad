// OpenGL texture object names as the renderer keeps them, without the GL headers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tavren {

// A texture object name; 0 means no texture.
using TextureName = std::uint32_t;

// The shape of LoadTexture: loads FileName into a new texture and stores its name in texture,
// which is written only on success.
using TextureLoaderFunction =
    std::function<void(const std::string& fileName, TextureName& texture)>;

} // namespace tavren
