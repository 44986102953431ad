#include "Pictures.h"
#include "Vector.h"

#include <algorithm>
#include <cmath>

namespace tavren {

namespace {

constexpr int ButtonWidth = 64;
constexpr int ButtonHeight = 25;

// How far a pixel lies inside a rounded rectangle inset by `inset` pixels, in pixels (negative
// outside); the button's painting copies 4-pixel corners, so the rounding stays within them.
float InsideRoundedRectangle(float x, float y, float inset, float radius) {
    const float left = inset + radius;
    const float right = ButtonWidth - inset - radius;
    const float top = inset + radius;
    const float bottom = ButtonHeight - inset - radius;
    const float dx = std::max({left - x, 0.0f, x - right});
    const float dy = std::max({top - y, 0.0f, y - bottom});
    return radius - std::hypot(dx, dy);
}

struct ButtonLook {
    Colour Outside;
    Colour Outline;
    Colour Rim; // the inner rim just inside the outline
    float RimWidth;
    Colour FaceTop;
    Colour FaceBottom;
};

// The skin is drawn at 4 x 4 samples per pixel so that the softened corners are smooth.
Picture PaintButton(const ButtonLook& look) {
    constexpr int Samples = 4;
    Picture picture(ButtonWidth, ButtonHeight);
    for (int y = 0; y < ButtonHeight; ++y) {
        for (int x = 0; x < ButtonWidth; ++x) {
            Colour sum;
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    const float px = x + (sx + 0.5f) / Samples;
                    const float py = y + (sy + 0.5f) / Samples;
                    const float inside = InsideRoundedRectangle(px, py, 0.0f, 3.0f);
                    const float t = py / ButtonHeight;
                    Colour colour = Mix(look.FaceTop, look.FaceBottom, t);
                    if (inside < 1.0f + look.RimWidth) {
                        colour = look.Rim;
                    }
                    if (inside < 1.0f) {
                        colour = look.Outline;
                    }
                    if (inside < 0.0f) {
                        colour = look.Outside;
                    }
                    sum = sum + colour;
                }
            }
            picture.At(x, y) = sum * (1.0f / (Samples * Samples));
        }
    }
    return picture;
}

} // namespace

ButtonSkins PaintButtonSkins() {
    const Colour outside = Rgb(206, 206, 214);
    const Colour darkBlue = Rgb(22, 44, 110);
    const Colour white = Rgb(255, 255, 255);
    const Colour pale = Rgb(226, 225, 235);
    // The face runs from white to the gradient colour the button paints behind the skin.
    ButtonLook normal{outside, darkBlue, white, 1.0f, white, Rgb(0xC6, 0xC5, 0xD7)};
    ButtonSkins skins;
    skins.Normal = PaintButton(normal);
    ButtonLook highlight = normal;
    highlight.Rim = Rgb(250, 160, 40);
    highlight.RimWidth = 2.0f;
    skins.HighLight = PaintButton(highlight);
    ButtonLook selected = normal;
    selected.Rim = Rgb(120, 170, 235);
    selected.RimWidth = 2.0f;
    skins.Selected = PaintButton(selected);
    const Colour beige = Rgb(205, 200, 186);
    skins.Pressed = PaintButton({outside, darkBlue, beige, 0.0f, beige, beige});
    skins.Disable =
        PaintButton({outside, Rgb(176, 176, 182), pale, 0.0f, Rgb(240, 240, 244), pale});
    return skins;
}

Picture PaintRadioMark(bool on) {
    constexpr int Size = 12;
    constexpr int Samples = 4;
    Picture picture(Size, Size);
    const Colour panel = Rgb(236, 236, 236);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            Colour sum;
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    const float px = x + (sx + 0.5f) / Samples - Size / 2.0f;
                    const float py = y + (sy + 0.5f) / Samples - Size / 2.0f;
                    const float r = std::hypot(px, py);
                    Colour colour = panel;
                    if (r < 5.8f) {
                        colour = Rgb(22, 44, 110);
                    }
                    if (r < 4.8f) {
                        // A slightly hollow well, lit from the top left.
                        colour = Mix(Rgb(206, 210, 222), Rgb(255, 255, 255),
                                     Clamp01(0.5f + (px + py) / 8.0f));
                    }
                    if (on && r < 2.7f) {
                        colour = Mix(Rgb(40, 80, 170), Rgb(12, 28, 80),
                                     Clamp01(0.5f + (px + py) / 5.0f));
                    }
                    sum = sum + colour;
                }
            }
            picture.At(x, y) = sum * (1.0f / (Samples * Samples));
        }
    }
    return picture;
}

IconImage PaintIcon(int size) {
    constexpr int Samples = 4;
    IconImage icon;
    icon.Size = size;
    icon.Rgba.resize(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float red = 0.0f;
            float green = 0.0f;
            float blue = 0.0f;
            float coverage = 0.0f;
            for (int sy = 0; sy < Samples; ++sy) {
                for (int sx = 0; sx < Samples; ++sx) {
                    // Unit coordinates: -1 to 1 across the icon, y up.
                    const float u = ((x + (sx + 0.5f) / Samples) / size) * 2.0f - 1.0f;
                    const float v = 1.0f - ((y + (sy + 0.5f) / Samples) / size) * 2.0f;
                    const float r = std::hypot(u, v);
                    if (r > 0.97f) {
                        continue;
                    }
                    // A round window of sea: light from above, sand below.
                    Colour colour =
                        Mix(Rgb(10, 40, 120), Rgb(70, 150, 230), Clamp01(0.5f + 0.6f * v));
                    if (v < -0.55f + 0.08f * std::sin(u * 5.0f)) {
                        colour = Rgb(190, 196, 214);
                    }
                    // A fish facing left: an ellipse body, a forked tail, an eye.
                    const float bx = (u + 0.12f) / 0.55f;
                    const float by = (v - 0.05f) / 0.30f;
                    const bool body = bx * bx + by * by < 1.0f;
                    const float tx = u - 0.36f;
                    const float dv = std::fabs(v - 0.05f);
                    const bool fan = dv < 0.06f + 0.85f * tx;
                    const bool notch = tx > 0.2f && dv < (tx - 0.2f) * 1.6f;
                    const bool tail = tx > 0.0f && tx < 0.4f && fan && !notch;
                    if (body || tail) {
                        const float shade = Clamp01(0.5f + 0.5f * by);
                        colour = Mix(Rgb(235, 238, 240), Rgb(40, 70, 90), shade);
                    }
                    if (std::hypot(u + 0.45f, v - 0.10f) < 0.075f) {
                        colour = Rgb(10, 10, 16);
                    }
                    // A dark rim around the window.
                    if (r > 0.88f) {
                        colour = Rgb(12, 28, 70);
                    }
                    red += colour.R;
                    green += colour.G;
                    blue += colour.B;
                    coverage += 1.0f;
                }
            }
            uint8_t* pixel = &icon.Rgba[(static_cast<size_t>(y) * size + x) * 4];
            const float samples = Samples * Samples;
            if (coverage > 0.0f) {
                pixel[0] = static_cast<uint8_t>(std::lround(Clamp01(red / coverage) * 255.0f));
                pixel[1] = static_cast<uint8_t>(std::lround(Clamp01(green / coverage) * 255.0f));
                pixel[2] = static_cast<uint8_t>(std::lround(Clamp01(blue / coverage) * 255.0f));
            }
            pixel[3] = static_cast<uint8_t>(std::lround(coverage / samples * 255.0f));
        }
    }
    return icon;
}

} // namespace tavren
