#include "FishShape.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavren {

namespace {

struct ProfileRow {
    float S, Top, Bottom, HalfWidth, Centre;
};

// Hand-drawn outline of a deep-bodied fish; between rows the profile runs as a monotone cubic.
constexpr std::array<ProfileRow, 13> Profile{{
    {0.000f, 0.0f, 0.0f, 0.0f, -3.0f},
    {0.015f, 3.4f, 3.0f, 2.6f, -3.0f},
    {0.050f, 7.2f, 6.6f, 5.0f, -2.6f},
    {0.100f, 10.6f, 10.6f, 7.4f, -2.0f},
    {0.180f, 14.6f, 15.4f, 9.6f, -1.5f},
    {0.280f, 17.4f, 19.2f, 11.0f, -1.1f},
    {0.400f, 18.4f, 20.8f, 11.2f, -1.0f},
    {0.520f, 17.0f, 19.2f, 10.2f, -1.0f},
    {0.640f, 13.6f, 14.8f, 8.0f, -0.6f},
    {0.760f, 9.2f, 9.6f, 5.3f, -0.2f},
    {0.860f, 6.0f, 6.1f, 3.4f, 0.0f},
    {0.940f, 4.7f, 4.7f, 2.7f, 0.2f},
    {1.000f, 4.3f, 4.3f, 2.4f, 0.3f},
}};

// Fritsch-Carlson slopes keep the outline free of bumps between the hand-placed rows.
float MonotoneCubic(float s, float ProfileRow::*field) {
    const size_t count = Profile.size();
    s = std::clamp(s, 0.0f, 1.0f);
    size_t i = 0;
    while (i + 2 < count && s > Profile[i + 1].S) {
        ++i;
    }
    auto secant = [&](size_t k) {
        return (Profile[k + 1].*field - Profile[k].*field) / (Profile[k + 1].S - Profile[k].S);
    };
    auto slope = [&](size_t k) {
        if (k == 0) {
            return secant(0);
        }
        if (k == count - 1) {
            return secant(count - 2);
        }
        const float left = secant(k - 1);
        const float right = secant(k);
        if (left * right <= 0.0f) {
            return 0.0f;
        }
        return 2.0f / (1.0f / left + 1.0f / right);
    };
    const float h = Profile[i + 1].S - Profile[i].S;
    const float t = (s - Profile[i].S) / h;
    const float t2 = t * t;
    const float t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * Profile[i].*field + (t3 - 2 * t2 + t) * h * slope(i) +
           (-2 * t3 + 3 * t2) * Profile[i + 1].*field + (t3 - t2) * h * slope(i + 1);
}

float BackY(float z) {
    const BodySection section = BodyAtZ(z);
    return section.Centre + section.Top;
}

float BellyY(float z) {
    const BodySection section = BodyAtZ(z);
    return section.Centre - section.Bottom;
}

// Rounds a fin's corner: 0 at the ends of a, 1 in between.
float Taper(float a, float width) {
    return std::min({1.0f, a / width, (1.0f - a) / width});
}

} // namespace

BodySection BodyAt(float s) {
    BodySection section;
    section.Z = NoseZ + (BodyEndZ - NoseZ) * s;
    section.Centre = MonotoneCubic(s, &ProfileRow::Centre);
    section.Top = MonotoneCubic(s, &ProfileRow::Top);
    section.Bottom = MonotoneCubic(s, &ProfileRow::Bottom);
    section.HalfWidth = MonotoneCubic(s, &ProfileRow::HalfWidth);
    return section;
}

BodySection BodyAtZ(float z) {
    return BodyAt((z - NoseZ) / (BodyEndZ - NoseZ));
}

Vec2 FinPoint(Fin fin, float a, float b) {
    switch (fin) {
    case Fin::Dorsal: {
        const float rootZ = -27.0f + 52.0f * a;
        const Vec2 root{rootZ, BackY(rootZ) - 2.0f};
        const float height = 2.0f + 8.8f * std::pow(1.0f - a, 0.8f);
        const Vec2 edge{rootZ + 5.0f + 5.0f * a, BackY(rootZ) + height};
        return Lerp(root, edge, b) + Vec2{0.0f, 1.2f * std::sin(Pi * b) * (1.0f - a)};
    }
    case Fin::Tail: {
        const Vec2 root{56.0f, -3.4f + 7.2f * a};
        const float notch = 17.0f * std::exp(-std::pow((a - 0.47f) / 0.17f, 2.0f));
        const Vec2 edge{94.0f + 3.0f * a - notch, -23.5f + 51.0f * a};
        return Lerp(root, edge, b) + Vec2{0.0f, 2.5f * std::sin(Pi * b) * (2.0f * a - 1.0f)};
    }
    case Fin::Anal: {
        const float rootZ = 23.0f + 19.0f * a;
        const Vec2 root{rootZ, BellyY(rootZ) + 1.8f};
        const float depth = 2.0f + 6.5f * std::pow(1.0f - a, 0.6f);
        const Vec2 edge{rootZ + 6.0f + 2.0f * a, BellyY(rootZ) - depth};
        return Lerp(root, edge, b);
    }
    case Fin::Side:
        return SideFinSkinPoint(a, b);
    }
    return {};
}

namespace {

float SideFinLength(float a) {
    return 11.0f + 16.0f * std::sin(Pi * (0.2f + 0.8f * a));
}

} // namespace

Vec3 SideFinPoint(float a, float b, float side) {
    const float rootZ = -36.0f + 11.0f * a;
    const BodySection section = BodyAtZ(rootZ);
    const float rootY = section.Centre - 0.55f * section.Bottom;
    const Vec3 root{side * 0.72f * section.HalfWidth, rootY, rootZ};
    const Vec3 out = Normalised({side * 1.0f, -0.42f, 0.30f});
    const float reach = b * SideFinLength(a) * (0.85f + 0.15f * Taper(a, 0.3f));
    return root + out * reach + Vec3{0.0f, 0.0f, 7.0f * b * b};
}

Vec2 SideFinSkinPoint(float a, float b) {
    const float rootZ = -36.0f + 11.0f * a;
    const Vec2 root{rootZ, BellyY(rootZ) + 2.5f};
    const float reach = b * SideFinLength(a) * (0.85f + 0.15f * Taper(a, 0.3f));
    return root + Vec2{0.50f, -0.86f} * reach + Vec2{5.0f * b * b, 0.0f};
}

int FinRayCount(Fin fin) {
    switch (fin) {
    case Fin::Dorsal:
        return 13;
    case Fin::Tail:
        return 19;
    case Fin::Anal:
        return 9;
    case Fin::Side:
        return 11;
    }
    return 10;
}

} // namespace tavren
