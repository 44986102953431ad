#include "Noise.h"
#include "Pictures.h"
#include "Random.h"
#include "Vector.h"

#include <cmath>

namespace tavren {

namespace {

constexpr int Size = 256;
constexpr int Supersample = 2;

// Everything here is periodic over the tile: whole-number wave vectors and noise periods that
// divide the picture, so the floor shows no seams where the sand repeats.

// Ripples rise gently on the side the current comes from and drop steeply on the other; light
// from that side brightens the long slopes and leaves the short ones in shadow.
float RippleLight(float u, float v) {
    const float warp = 2.2f * (PeriodicFractal(u, v, 3, 3, 0.5f, 88u) - 0.5f);
    const float phase = 1.0f * u + 7.0f * v + warp;
    const float f = phase - std::floor(phase);
    constexpr float Rise = 0.72f;
    const float slope = f < Rise ? 1.0f / Rise : -1.0f / (1.0f - Rise);
    // Soften the crest and the trough so the ripples are rounded, not folded paper.
    const float crest = std::exp(-std::pow((f - Rise) / 0.06f, 2.0f));
    const float trough = std::exp(-std::pow(std::min(f, 1.0f - f) / 0.05f, 2.0f));
    const float shade = std::tanh(0.35f * slope) * (1.0f - 0.6f * crest - 0.6f * trough);
    const float strength = 0.55f + 0.45f * PeriodicFractal(u, v, 2, 2, 0.5f, 89u);
    return 1.0f + 0.12f * strength * shade + 0.05f * crest * strength;
}

// Grains: a soft blob in every cell of a fine grid, each with its own tone; a few are dark
// minerals or bright bits of shell.
Colour Grain(float x, float y) {
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    Colour tone{1.0f, 1.0f, 1.0f};
    float nearest = 10.0f;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = (cx + dx + Size) % Size;
            const int gy = (cy + dy + Size) % Size;
            const float px = cx + dx + HashUnit(gx, gy, 3u);
            const float py = cy + dy + HashUnit(gx, gy, 4u);
            const float d = std::hypot(x - px, y - py);
            if (d < nearest) {
                nearest = d;
                const float pick = HashUnit(gx, gy, 5u);
                const float shade = 0.88f + 0.24f * HashUnit(gx, gy, 6u);
                tone = Colour{shade, shade, shade};
                if (pick < 0.05f) {
                    tone = Rgb(150, 150, 165);
                } else if (pick > 0.97f) {
                    tone = Rgb(300, 300, 300);
                } else if (pick > 0.90f) {
                    tone = Rgb(270, 262, 250);
                }
            }
        }
    }
    // The gaps between grains are a little darker.
    const float edge = SmoothStep(0.35f, 0.75f, nearest);
    return Mix(tone, Colour{0.86f, 0.86f, 0.9f}, edge);
}

} // namespace

Picture PaintSand() {
    Picture big(Size * Supersample, Size * Supersample);
    for (int y = 0; y < big.Height(); ++y) {
        for (int x = 0; x < big.Width(); ++x) {
            const float u = (x + 0.5f) / big.Width();
            const float v = (y + 0.5f) / big.Height();
            const float patches = PeriodicFractal(u, v, 4, 4, 0.5f, 31u);
            Colour colour = Mix(Rgb(132, 146, 176), Rgb(186, 196, 216), patches);
            colour = colour * RippleLight(u, v);
            const float clumps = PeriodicNoise(u * 64.0f, v * 64.0f, 64, 8u) - 0.5f;
            colour = colour * (1.0f + 0.10f * clumps);
            // One grain-grid cell per painted pixel pair: grains about a picture pixel wide.
            colour = colour * Grain(x * 0.5f, y * 0.5f);
            big.At(x, y) = colour;
        }
    }
    return Downsample(big, Supersample);
}

} // namespace tavren
