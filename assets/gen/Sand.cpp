#include "Noise.h"
#include "Pictures.h"
#include "Random.h"
#include "Vector.h"

#include <cmath>

namespace tavren {

namespace {

constexpr int Size = 256;

// Everything here is periodic over the tile: whole-number wave vectors and noise periods that
// divide the picture, so the floor shows no seams where the sand repeats.
float RippleShade(float u, float v) {
    const float warp = 2.2f * (PeriodicFractal(u, v, 3, 3, 0.5f, 88u) - 0.5f);
    const float phase = 2.0f * Pi * (1.0f * u + 7.0f * v) + 2.0f * Pi * warp;
    // Ripples are steeper on their lee side; the slope decides how much light a face catches.
    const float slope = std::cos(phase) + 0.7f * std::cos(2.0f * phase);
    const float strength = 0.6f + 0.4f * PeriodicFractal(u, v, 2, 2, 0.5f, 89u);
    return 1.0f + 0.13f * strength * slope / 1.7f;
}

} // namespace

Picture PaintSand() {
    Picture picture(Size, Size);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            const float u = (x + 0.5f) / Size;
            const float v = (y + 0.5f) / Size;
            const float patches = PeriodicFractal(u, v, 4, 4, 0.5f, 31u);
            Colour colour = Mix(Rgb(136, 150, 178), Rgb(190, 200, 218), patches);
            colour = colour * RippleShade(u, v);
            // Grains: fine noise at two scales, then a few dark and bright grains.
            const float fine = HashUnit(x, y, 7u) - 0.5f;
            const float clumps = PeriodicNoise(u * 64.0f, v * 64.0f, 64, 8u) - 0.5f;
            colour = colour * (1.0f + 0.16f * fine + 0.14f * clumps);
            const float pick = HashUnit(x, y, 12u);
            if (pick < 0.035f) {
                colour = colour * 0.72f;
            } else if (pick > 0.975f) {
                colour = Mix(colour, Rgb(236, 240, 246), 0.55f);
            }
            picture.At(x, y) = colour;
        }
    }
    return picture;
}

} // namespace tavren
