// The texture loader: picture files turned into mip-mapped OpenGL textures. Needs a current
// OpenGL context. A failure is shown through the renderer's message sink and leaves the
// caller's texture name as it was.
#pragma once

#include "OpenGL.h"
#include "Pictures.h"
#include "TextureName.h"

#include <cstdint>
#include <string>

namespace tavren {

// Loads fileName with the reader its last four characters choose (".bmp", ".jpg", ".tga" in
// any case); any other name loads nothing and shows nothing.
void LoadTexture(const std::string& fileName, TextureName& texture);

void LoadBmpFile(const std::string& fileName, TextureName& texture);
void LoadJpegFile(const std::string& fileName, TextureName& texture);
void LoadTgaFile(const std::string& fileName, TextureName& texture);

// A new texture, bound to GL_TEXTURE_2D on the active unit, with every mipmap level built from
// pixels (format GL_RGB or GL_RGBA, rows starting on multiples of rowAlignment bytes). Sets the
// unit's environment to GL_MODULATE and both filters to GL_LINEAR.
TextureName MakeTexture(uint16_t width, uint16_t height, GLenum format, const uint8_t* pixels,
                        int rowAlignment = 4);

} // namespace tavren
