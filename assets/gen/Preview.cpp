#include "FishShape.h"
#include "Pictures.h"

#include <cmath>

namespace tavren {

Picture PaintPreview(const Picture& fishSkin) {
    constexpr int Width = 152;
    constexpr int Height = 112;
    // The fish with all its fins, cut out of the skin picture with a little black around it.
    const Vec2 topLeft = SkinPixel(NoseZ - 3.0f, 31.0f);
    const Vec2 bottomRight = SkinPixel(99.0f, -45.0f);
    const int left = static_cast<int>(std::floor(topLeft.X));
    const int top = static_cast<int>(std::floor(topLeft.Y));
    const int width = static_cast<int>(std::ceil(bottomRight.X)) - left;
    const int height = static_cast<int>(std::ceil(bottomRight.Y)) - top;
    const Picture fish = Crop(fishSkin, left, top, width, height);
    const int scaledWidth = Width - 8;
    const int scaledHeight =
        static_cast<int>(std::lround(static_cast<double>(height) * scaledWidth / width));
    Picture preview(Width, Height);
    Paste(preview, Shrink(fish, scaledWidth, scaledHeight), (Width - scaledWidth) / 2,
          (Height - scaledHeight) / 2);
    return preview;
}

} // namespace tavren
