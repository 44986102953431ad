// The 35 texture bitmaps that a show writes into the data folder, from the JPEG pictures the
// front end carries: 32 caustic light frames, then the background, the fish skin and the sand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "Boids/Pictures.h"
#include "saver/BitmapFile.h"

namespace tavren {

inline constexpr int CausticFrameCount = 32;
inline constexpr int SceneryPictureCount = 3;
inline constexpr int ShowBitmapCount = CausticFrameCount + SceneryPictureCount;

// The name without its ending of the show's index-th picture (0 to 34): "Tavren100" to
// "Tavren131" for the caustic frames, "Tavren200" to "Tavren202" for the rest.
std::string ShowPictureStem(int index);

// The decoder's bottom-first RGBA or RGB as the writer's top-first RGB.
RgbPicture TopFirstRgb(const Picture& picture);

// Decodes a JPEG picture and writes it as a 24-bit bitmap file at path. Throws
// std::runtime_error when the picture does not decode or the file cannot be written.
void WriteJpegAsBitmap(std::span<const uint8_t> jpeg, const std::filesystem::path& path);

} // namespace tavren
