#include "Noise.h"
#include "Pictures.h"
#include "Random.h"
#include "Vector.h"

#include <cmath>

namespace tavren {

namespace {

constexpr int Width = 1024;
constexpr int Height = 160;
constexpr int Supersample = 2;

// The globe: a pale, lit sphere hanging in the water near the strip's right end.
constexpr float GlobeX = 872.0f;
constexpr float GlobeY = 66.0f;
constexpr float GlobeRadius = 30.0f;

Colour Water(float x, float y) {
    const float depth = y / Height;
    Colour colour = Mix(Rgb(28, 74, 128), Rgb(4, 16, 42), std::pow(depth, 0.8f));
    // Slow, wide variations, like distant murk.
    const float murk = PeriodicFractal(x / Width * 4.0f, y / Height, 4, 4, 0.55f, 71u);
    colour = colour * (0.80f + 0.40f * murk);
    // Shafts of light fanning down from the sun above the surface, fading with depth.
    const float angle = std::atan2(x - 430.0f, y + 900.0f);
    const float shafts = PeriodicFractal(angle * 4.0f, 0.3f, 16, 3, 0.5f, 5u);
    const float shaft =
        std::pow(SmoothStep(0.42f, 0.85f, shafts), 1.5f) * std::pow(1.0f - depth, 1.4f);
    colour = colour + Rgb(60, 120, 160) * (0.5f * shaft);
    return colour;
}

Colour Globe(Colour water, float x, float y) {
    const float dx = (x - GlobeX) / GlobeRadius;
    const float dy = (y - GlobeY) / GlobeRadius;
    const float r2 = dx * dx + dy * dy;
    const float r = std::sqrt(r2);
    // The glow it casts into the water around it.
    const float halo = std::exp(-std::pow(std::max(0.0f, r - 0.9f) / 1.6f, 1.2f) * 2.2f);
    Colour colour = water + Rgb(90, 150, 200) * (0.55f * halo);
    if (r >= 1.0f + 1.0f / GlobeRadius) {
        return colour;
    }
    // Lit from above and a little in front; the light sits up and to the left of the centre.
    const float dz = std::sqrt(std::max(0.0f, 1.0f - r2));
    const Vec3 normal{dx, -dy, dz};
    const Vec3 light = Normalised({-0.45f, 0.6f, 0.65f});
    const float diffuse = std::max(0.0f, Dot(normal, light));
    const float rim = std::pow(1.0f - dz, 3.0f);
    const Vec3 half = Normalised(light + Vec3{0.0f, 0.0f, 1.0f});
    const float specular = std::pow(std::max(0.0f, Dot(normal, half)), 40.0f);
    Colour surface = Rgb(70, 120, 165) * 0.55f + Rgb(215, 235, 245) * (0.75f * diffuse) +
                     Rgb(150, 210, 240) * (0.6f * rim) + Rgb(255, 255, 250) * (0.9f * specular);
    // Faint bands, so that it reads as a globe and not as a disc.
    const float band = 0.5f + 0.5f * std::sin(dy * 9.0f + dx * 2.0f);
    surface = surface * (0.92f + 0.08f * band);
    const float edge = Clamp01((1.0f - r) * GlobeRadius + 0.5f);
    return Mix(colour, surface, edge);
}

} // namespace

Picture PaintBackground() {
    Picture big(Width * Supersample, Height * Supersample);
    for (int y = 0; y < big.Height(); ++y) {
        for (int x = 0; x < big.Width(); ++x) {
            const float px = (x + 0.5f) / Supersample;
            const float py = (y + 0.5f) / Supersample;
            big.At(x, y) = Globe(Water(px, py), px, py);
        }
    }
    Picture picture = Downsample(big, Supersample);
    // Drifting specks of matter, a few catching the light.
    Random random(1907u);
    for (int i = 0; i < 260; ++i) {
        const float x = static_cast<float>(random.Uniform(0.0, Width));
        const float y = static_cast<float>(random.Uniform(0.0, Height));
        const float size = static_cast<float>(random.Uniform(0.5, 1.4));
        const float glow =
            static_cast<float>(random.Uniform(0.08, 0.40)) * (1.0f - 0.6f * y / Height);
        for (int yy = static_cast<int>(y - 2); yy <= static_cast<int>(y + 2); ++yy) {
            for (int xx = static_cast<int>(x - 2); xx <= static_cast<int>(x + 2); ++xx) {
                const float d = std::hypot(xx + 0.5f - x, yy + 0.5f - y) / size;
                const float coverage = glow * std::exp(-d * d);
                picture.Blend(xx, yy, Rgb(170, 210, 230), coverage);
            }
        }
    }
    // A whisper of grain keeps the dark gradient from banding in 8 bits.
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const float grain = (HashUnit(x, y, 333u) + HashUnit(x, y, 334u) - 1.0f) / 255.0f;
            picture.At(x, y) = picture.At(x, y) + Colour{grain, grain, grain};
        }
    }
    return picture;
}

} // namespace tavren
