// Floating-point RGB pictures that the generator paints into, and the small maths they need.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tavren {

struct Colour {
    float R = 0.0f;
    float G = 0.0f;
    float B = 0.0f;
};

inline Colour operator+(Colour a, Colour b) {
    return {a.R + b.R, a.G + b.G, a.B + b.B};
}
inline Colour operator-(Colour a, Colour b) {
    return {a.R - b.R, a.G - b.G, a.B - b.B};
}
inline Colour operator*(Colour a, float s) {
    return {a.R * s, a.G * s, a.B * s};
}
inline Colour operator*(Colour a, Colour b) {
    return {a.R * b.R, a.G * b.G, a.B * b.B};
}
inline Colour Mix(Colour a, Colour b, float t) {
    return a + (b - a) * t;
}

// From 0-255 channel values, which is how colours are easiest to pick.
inline Colour Rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

inline float Clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

inline float SmoothStep(float edge0, float edge1, float x) {
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

class Picture {
public:
    Picture() = default;
    Picture(int width, int height, Colour fill = {})
        : width(width), height(height), pixels(static_cast<size_t>(width) * height, fill) {}

    int Width() const { return width; }
    int Height() const { return height; }

    Colour& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Colour& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    // Bilinear sample at a position in pixels (pixel centres at +0.5), edges clamped.
    Colour Sample(float x, float y) const;
    // Bilinear sample with wrap-around, for tiling pictures.
    Colour SampleWrapped(float x, float y) const;

    // Blends colour over the pixel with the given coverage; positions outside are ignored.
    void Blend(int x, int y, Colour colour, float coverage);

private:
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;
};

// Averages factor x factor blocks: how supersampled paintings become their final size.
Picture Downsample(const Picture& source, int factor);

// Area-weighted resampling to any smaller or equal size.
Picture Shrink(const Picture& source, int width, int height);

// Copies a rectangle out of a picture.
Picture Crop(const Picture& source, int left, int top, int width, int height);

// Pastes source into target with its top-left corner at (left, top), clipped.
void Paste(Picture& target, const Picture& source, int left, int top);

// 8-bit channels, rounded and clamped, rows top first, in the order red, green, blue.
std::vector<uint8_t> ToRgb8(const Picture& picture);

// True when every pixel's 8-bit red, green and blue are equal.
bool IsGrey(const Picture& picture);

} // namespace tavren
