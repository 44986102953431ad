#include "FishShape.h"
#include "Noise.h"
#include "Pictures.h"
#include "Random.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tavren {

namespace {

constexpr int Supersample = 3;

// A layer painted by one fin, composited over what lies below it.
struct Layer {
    explicit Layer(int width, int height)
        : Width(width), Colours(static_cast<size_t>(width) * height),
          Alpha(static_cast<size_t>(width) * height, 0.0f) {}
    int Width;
    std::vector<Colour> Colours;
    std::vector<float> Alpha;
};

// What a fin looks like at (a, b): pale rays in a thin, dusky membrane, denser near the root,
// fraying at the edge.
Colour FinColour(Fin fin, float a, float b, float& alpha) {
    const int rays = FinRayCount(fin);
    const float r = a * (rays - 1);
    const float d = std::fabs(r - std::round(r));
    // Rays fork toward the edge: a second, fainter ray appears between the main ones.
    const float fork =
        SmoothStep(0.45f, 0.8f, b) * 0.5f * std::exp(-std::pow((0.5f - d) / 0.09f, 2.0f));
    // Rays thin out toward the edge; the dorsal fin's first rays are stout spines.
    float width = 0.15f * (1.0f - 0.45f * b);
    if (fin == Fin::Dorsal && r < 3.5f) {
        width *= 1.5f;
    }
    const float ray = std::max(std::exp(-std::pow(d / width, 2.0f)), fork);
    // Segments along each ray and a little unevenness between rays, so they are not a comb.
    const float joints =
        1.0f -
        0.22f * std::exp(-std::pow((std::fmod(b * 9.0f + 0.3f * a, 1.0f) - 0.5f) / 0.07f, 2.0f));
    const uint32_t seed = 17u + static_cast<uint32_t>(fin);
    const float uneven = 0.75f + 0.5f * PeriodicNoise(r, b * 5.0f, 64, seed);
    // Fine streaks in the membrane along the rays.
    const float streaks = PeriodicNoise(a * 160.0f, b * 3.0f, 160, seed + 5u);
    Colour membrane = Mix(Rgb(104, 110, 112), Rgb(46, 54, 64), SmoothStep(0.0f, 0.9f, b)) *
                      (0.85f + 0.3f * streaks);
    Colour rayColour = Mix(Rgb(200, 196, 178), Rgb(128, 134, 138), b) * uneven;
    if (fin == Fin::Tail || fin == Fin::Dorsal) {
        // A dusky margin, as many fish have.
        membrane = Mix(membrane, Rgb(30, 36, 48), SmoothStep(0.72f, 1.0f, b) * 0.7f);
        rayColour = Mix(rayColour, Rgb(70, 76, 86), SmoothStep(0.75f, 1.0f, b) * 0.6f);
    }
    if (fin == Fin::Side || fin == Fin::Anal) {
        membrane = Mix(membrane, Rgb(150, 118, 96), 0.35f * (1.0f - b));
        rayColour = Mix(rayColour, Rgb(224, 190, 150), 0.4f);
    }
    const Colour colour = Mix(membrane, rayColour * joints, ray);
    const float fray = PeriodicNoise(a * 40.0f, 0.0f, 40, seed);
    const float edge = 1.0f - SmoothStep(0.90f - 0.08f * fray, 1.0f, b);
    alpha = (0.62f + 0.33f * ray) * edge;
    return colour;
}

// Fills a fin's layer by drawing the patch as many small triangles and interpolating (a, b).
void PaintFin(Layer& layer, int height, Fin fin) {
    constexpr int Columns = 72;
    constexpr int Rows = 36;
    auto pixel = [fin](float a, float b) {
        const Vec2 p = FinPoint(fin, a, b);
        return SkinPixel(p.X, p.Y) * static_cast<float>(Supersample);
    };
    auto fill = [&](Vec2 p0, Vec2 p1, Vec2 p2, Vec2 q0, Vec2 q1, Vec2 q2) {
        const int left = std::max(0, static_cast<int>(std::floor(std::min({p0.X, p1.X, p2.X}))));
        const int right =
            std::min(layer.Width - 1, static_cast<int>(std::ceil(std::max({p0.X, p1.X, p2.X}))));
        const int top = std::max(0, static_cast<int>(std::floor(std::min({p0.Y, p1.Y, p2.Y}))));
        const int bottom =
            std::min(height - 1, static_cast<int>(std::ceil(std::max({p0.Y, p1.Y, p2.Y}))));
        const float area = (p1.X - p0.X) * (p2.Y - p0.Y) - (p2.X - p0.X) * (p1.Y - p0.Y);
        if (std::fabs(area) < 1e-6f) {
            return;
        }
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                const Vec2 p{x + 0.5f, y + 0.5f};
                const float w1 =
                    ((p.X - p0.X) * (p2.Y - p0.Y) - (p2.X - p0.X) * (p.Y - p0.Y)) / area;
                const float w2 =
                    ((p1.X - p0.X) * (p.Y - p0.Y) - (p.X - p0.X) * (p1.Y - p0.Y)) / area;
                const float w0 = 1.0f - w1 - w2;
                if (w0 < -1e-4f || w1 < -1e-4f || w2 < -1e-4f) {
                    continue;
                }
                const Vec2 ab = q0 * w0 + q1 * w1 + q2 * w2;
                float alpha = 0.0f;
                const Colour colour = FinColour(fin, ab.X, ab.Y, alpha);
                const size_t index = static_cast<size_t>(y) * layer.Width + x;
                layer.Colours[index] = colour;
                layer.Alpha[index] = alpha;
            }
        }
    };
    for (int j = 0; j < Rows; ++j) {
        for (int i = 0; i < Columns; ++i) {
            const Vec2 q00{static_cast<float>(i) / Columns, static_cast<float>(j) / Rows};
            const Vec2 q11{static_cast<float>(i + 1) / Columns, static_cast<float>(j + 1) / Rows};
            const Vec2 q10{q11.X, q00.Y};
            const Vec2 q01{q00.X, q11.Y};
            fill(pixel(q00.X, q00.Y), pixel(q10.X, q10.Y), pixel(q11.X, q11.Y), q00, q10, q11);
            fill(pixel(q00.X, q00.Y), pixel(q11.X, q11.Y), pixel(q01.X, q01.Y), q00, q11, q01);
        }
    }
}

void Composite(Picture& picture, const Layer& layer) {
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const size_t index = static_cast<size_t>(y) * layer.Width + x;
            picture.Blend(x, y, layer.Colours[index], layer.Alpha[index]);
        }
    }
}

// Scales: overlapping discs in rows that follow the body's outline; the front scale lies on top,
// so the visible edges are arcs open toward the head, with a little shadow behind each.
struct ScaleLook {
    float Rim = 0.0f;
    float Shadow = 0.0f;
    float Centre = 0.0f;
    float Sparkle = 0.5f; // each scale's own angle to the light, 0 to 1
};

ScaleLook Scales(float z, float rowCoordinate) {
    constexpr float Length = 2.5f; // model units along the body
    ScaleLook look;
    const int row = static_cast<int>(std::floor(rowCoordinate));
    float bestZ = std::numeric_limits<float>::max();
    float bestDistance = 2.0f;
    float shadow = 0.0f;
    for (int r = row - 1; r <= row + 1; ++r) {
        const float shift = (r & 1) ? 0.5f : 0.0f;
        const int column = static_cast<int>(std::floor(z / Length - shift));
        for (int c = column - 1; c <= column + 1; ++c) {
            const float centreZ = (c + shift + 0.5f) * Length;
            const float dz = (z - centreZ) / Length;
            const float dr = rowCoordinate - (r + 0.5f);
            const float distance = std::sqrt(dz * dz + dr * dr) / 0.78f;
            if (distance < 1.0f && centreZ < bestZ) {
                bestZ = centreZ;
                bestDistance = distance;
                look.Sparkle = HashUnit(c, r, 61u);
            }
            if (distance >= 1.0f && dz > 0.0f) {
                shadow = std::max(shadow, std::exp(-(distance - 1.0f) / 0.09f));
            }
        }
    }
    look.Rim = SmoothStep(0.78f, 1.0f, bestDistance);
    look.Centre = 1.0f - bestDistance;
    // Only the scale that lies below the edge is shaded by it.
    look.Shadow = bestDistance < 0.86f ? 0.0f : shadow;
    return look;
}

float Gaussian(float x, float width) {
    return std::exp(-(x * x) / (width * width));
}

// The gill cover's rear edge: an arc bowed toward the tail, in model z, at relative height h
// (-1 belly, +1 back).
float GillEdgeZ(float h) {
    return -50.0f + 10.0f * std::sqrt(std::max(0.0f, 1.0f - 0.9f * h * h));
}

Colour BodyColour(float z, float y, const BodySection& section, float pixelSize) {
    const float height = section.Top + section.Bottom;
    const float t = (y - (section.Centre - section.Bottom)) / height; // 0 belly, 1 back
    const float h = 2.0f * t - 1.0f;
    const float s = (z - NoseZ) / (BodyEndZ - NoseZ);

    // Countershading: a dark back, a cool silver flank, a bright belly.
    Colour colour = Rgb(226, 226, 218);
    colour = Mix(colour, Rgb(176, 186, 190), SmoothStep(0.22f, 0.48f, t));
    colour = Mix(colour, Rgb(96, 122, 128), SmoothStep(0.50f, 0.72f, t));
    colour = Mix(colour, Rgb(34, 56, 64), SmoothStep(0.70f, 0.95f, t));
    // A hint of colour where the flank turns: green-gold above, violet below.
    colour = colour + Rgb(14, 12, -6) * Gaussian(t - 0.68f, 0.07f) +
             Rgb(8, -4, 14) * Gaussian(t - 0.42f, 0.06f);

    // Mottling on the back and faint bars, so that the fish is not a plain gradient.
    const float mottle = PeriodicFractal(z / 60.0f, y / 60.0f, 8, 4, 0.55f, 404u);
    colour = colour * (1.0f - 0.22f * SmoothStep(0.55f, 0.95f, t) * (mottle - 0.35f));
    const float bars = std::pow(0.5f + 0.5f * std::cos(2.0f * Pi * (s - 0.30f) / 0.115f), 4.0f);
    colour =
        colour * (1.0f - 0.16f * bars * SmoothStep(0.45f, 0.8f, t) * SmoothStep(0.22f, 0.32f, s) *
                             (1.0f - SmoothStep(0.80f, 0.92f, s)));

    // Scales from behind the gill cover to the tail.
    const float gill = GillEdgeZ(h);
    const float scaled = SmoothStep(gill, gill + 3.0f, z);
    const float rows = 24.0f;
    const ScaleLook scale = Scales(z, t * rows);
    const float scaleWeight = scaled * (0.6f + 0.4f * SmoothStep(0.15f, 0.5f, t));
    colour = colour * (1.0f - scaleWeight * (0.36f * scale.Shadow - 0.06f * scale.Centre));
    colour = colour + Rgb(52, 56, 58) * (scaleWeight * scale.Rim * (1.0f - 0.6f * t));
    // Silver scales mirror the light each at its own angle.
    colour = colour * (1.0f + scaleWeight * 0.10f * (scale.Sparkle - 0.5f) * (1.0f - 0.5f * t));

    // Roundness: the photograph's light falls from above, the body turns away at back and belly.
    const float round = std::sqrt(std::max(0.0f, 1.0f - h * h));
    colour = colour * (0.55f + 0.45f * std::pow(round, 0.6f));
    colour = colour + Rgb(70, 76, 80) * (0.45f * Gaussian(t - 0.56f, 0.08f) *
                                         (0.6f + 0.4f * scale.Centre) * scaled);
    // The broad sheen of the light source on the front half, and the tail a little in shade.
    colour =
        colour + Rgb(56, 62, 66) * (0.35f * Gaussian(t - 0.6f, 0.13f) * Gaussian(s - 0.38f, 0.2f));
    colour = colour * (1.0f - 0.12f * SmoothStep(0.7f, 1.0f, s));
    // A faint dark spot behind the gill cover, high on the shoulder.
    colour = colour * (1.0f - 0.3f * Gaussian(std::hypot(z + 33.0f, (t - 0.72f) * height), 1.8f));

    // The lateral line: a row of pale pores in a dark line, parallel to the back.
    const float lineT = 0.74f - 0.04f * s + 0.06f * s * s;
    const float lineWidth = 0.55f / height;
    const float onLine = Gaussian(t - lineT, lineWidth) * SmoothStep(gill + 1.0f, gill + 4.0f, z);
    const float pores = Gaussian(std::fmod(z + 1000.0f, 2.5f) - 1.25f, 0.45f);
    colour = Mix(colour, Rgb(48, 58, 60), 0.55f * onLine);
    colour = colour + Rgb(120, 120, 110) * (0.5f * onLine * pores);

    // The head: smooth skin, bronze cheek, the gill cover's edge with its shadow behind.
    const float head = 1.0f - SmoothStep(gill - 0.5f, gill + 0.5f, z);
    Colour headColour = Mix(Rgb(220, 218, 206), Rgb(168, 172, 166), SmoothStep(0.3f, 0.6f, t));
    headColour = Mix(headColour, Rgb(40, 60, 66), SmoothStep(0.60f, 0.92f, t));
    headColour = headColour * (0.55f + 0.45f * std::pow(round, 0.6f));
    const float cheek = Gaussian(z + 52.0f, 5.0f) * Gaussian(t - 0.40f, 0.16f);
    headColour = headColour + Rgb(44, 30, 8) * (0.45f * cheek);
    const float preopercle =
        Gaussian(z - (GillEdgeZ(h) - 6.5f), 0.35f) * (1.0f - SmoothStep(0.55f, 0.75f, t));
    headColour = headColour * (1.0f - 0.25f * preopercle);
    // The gill cover bulges a little and catches a golden light.
    const float cover = Gaussian(z - (gill - 4.0f), 3.0f) * Gaussian(t - 0.45f, 0.2f);
    headColour = headColour * (1.0f + 0.10f * cover) + Rgb(30, 22, 4) * (0.5f * cover);
    colour = Mix(colour, headColour, head);
    const float edgeDistance = z - gill;
    colour = colour * (1.0f - 0.45f * Gaussian(edgeDistance - 0.6f, 0.7f) *
                                  (1.0f - SmoothStep(0.8f, 0.95f, t)));
    colour = colour + Rgb(40, 40, 40) * (0.35f * Gaussian(edgeDistance + 0.7f, 0.6f) *
                                         (1.0f - SmoothStep(0.7f, 0.9f, t)));

    // Mouth, nostril and eye.
    const float mouthZ = std::clamp(z, NoseZ, -61.5f);
    const float mouthY = section.Centre - 1.3f - 0.32f * (mouthZ - NoseZ);
    const float mouth = Gaussian(std::hypot(z - mouthZ, y - mouthY), 0.4f);
    colour = Mix(colour, Rgb(40, 30, 30), 0.8f * mouth);
    // The upper jaw's bone: a pale, slightly raised band above the mouth line.
    const float jaw = Gaussian(std::hypot(z - mouthZ, y - mouthY - 0.9f), 0.6f) *
                      SmoothStep(NoseZ, NoseZ + 3.0f, z);
    colour = colour + Rgb(30, 30, 26) * (0.6f * jaw);
    const float nostril = Gaussian(std::hypot(z + 64.6f, y - 2.2f), 0.55f);
    colour = Mix(colour, Rgb(30, 34, 36), 0.8f * nostril);

    const float eyeZ = -57.5f;
    const float eyeY = 2.3f;
    const float eyeRadius = 3.8f;
    const float e = std::hypot(z - eyeZ, y - eyeY);
    colour = colour * (1.0f - 0.35f * Gaussian(e - eyeRadius - 0.6f, 1.0f));
    if (e < eyeRadius + pixelSize) {
        const float coverage = Clamp01((eyeRadius - e) / pixelSize + 0.5f);
        const float r = e / eyeRadius;
        Colour iris = Mix(Rgb(236, 200, 96), Rgb(150, 104, 36), SmoothStep(0.55f, 1.0f, r));
        iris = Mix(iris, Rgb(30, 26, 20), SmoothStep(0.88f, 1.0f, r));
        const float pupilRadius = 0.56f;
        const float pupil = Clamp01((pupilRadius - r) * eyeRadius / pixelSize + 0.5f);
        const Colour pupilColour =
            Mix(Rgb(4, 6, 10), Rgb(30, 50, 70),
                Gaussian(std::hypot(z - eyeZ - 0.8f, y - eyeY + 0.9f), 1.2f));
        Colour eye = Mix(iris, pupilColour, pupil);
        const float glint = Gaussian(std::hypot(z - (eyeZ - 1.1f), y - (eyeY + 1.2f)), 0.55f);
        eye = Mix(eye, Rgb(255, 255, 250), glint);
        colour = Mix(colour, eye, coverage);
    }

    // Fine grain, as in any photograph.
    const float grain =
        HashUnit(static_cast<int>(z * 20.0f), static_cast<int>(y * 20.0f), 9u) - 0.5f;
    return colour * (1.0f + 0.05f * grain);
}

} // namespace

Picture PaintFishSkin() {
    const int width = SkinWidth * Supersample;
    const int height = SkinHeight * Supersample;
    Picture picture(width, height);
    for (const Fin fin : {Fin::Side, Fin::Anal, Fin::Tail, Fin::Dorsal}) {
        Layer layer(width, height);
        PaintFin(layer, height, fin);
        Composite(picture, layer);
    }
    const float pixelSize = 1.0f / (SkinScale * Supersample); // model units per painted pixel
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Vec2 model = SkinModelPoint((x + 0.5f) / Supersample, (y + 0.5f) / Supersample);
            const float z = model.X;
            const float my = model.Y;
            if (z < NoseZ - 1.0f || z > BodyEndZ + 8.0f) {
                continue;
            }
            const BodySection section = BodyAtZ(z);
            const float top = section.Centre + section.Top;
            const float bottom = section.Centre - section.Bottom;
            float coverage = Clamp01(std::min(top - my, my - bottom) / pixelSize + 0.5f);
            // The body fades into the tail fin instead of ending at a hard line.
            coverage *= 1.0f - SmoothStep(BodyEndZ - 1.0f, BodyEndZ + 7.0f, z);
            if (z < NoseZ) {
                coverage = 0.0f;
            }
            if (coverage <= 0.0f) {
                continue;
            }
            picture.Blend(x, y, BodyColour(z, my, section, pixelSize), coverage);
        }
    }
    return Downsample(picture, Supersample);
}

} // namespace tavren
