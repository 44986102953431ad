#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tavren {

Mat4 Mat4::Translation(Vec3 offset) {
    Mat4 m;
    m.E[12] = offset.X;
    m.E[13] = offset.Y;
    m.E[14] = offset.Z;
    return m;
}

Mat4 Mat4::Scaling(float factor) {
    Mat4 m;
    m.E[0] = m.E[5] = m.E[10] = factor;
    return m;
}

Mat4 Mat4::Rotation(float degrees, Vec3 axis) {
    const Vec3 a = Normalised(axis);
    const float radians = degrees * Pi / 180.0f;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float k = 1.0f - c;
    Mat4 m;
    m.E = {a.X * a.X * k + c,
           a.Y * a.X * k + a.Z * s,
           a.X * a.Z * k - a.Y * s,
           0,
           a.X * a.Y * k - a.Z * s,
           a.Y * a.Y * k + c,
           a.Y * a.Z * k + a.X * s,
           0,
           a.X * a.Z * k + a.Y * s,
           a.Y * a.Z * k - a.X * s,
           a.Z * a.Z * k + c,
           0,
           0,
           0,
           0,
           1};
    return m;
}

Mat4 Mat4::Euler(Vec3 angles) {
    const float cx = std::cos(angles.X);
    const float sx = std::sin(angles.X);
    const float cy = std::cos(angles.Y);
    const float sy = std::sin(angles.Y);
    const float cz = std::cos(angles.Z);
    const float sz = std::sin(angles.Z);
    Mat4 m;
    m.E = {cy * cz,
           cy * sz,
           -sy,
           0,
           sx * sy * cz - cx * sz,
           sx * sy * sz + cx * cz,
           sx * cy,
           0,
           cx * sy * cz + sx * sz,
           cx * sy * sz - sx * cz,
           cx * cy,
           0,
           0,
           0,
           0,
           1};
    return m;
}

Mat4 Mat4::Perspective(float fovYDegrees, float aspect, float zNear, float zFar) {
    const float f = 1.0f / std::tan(fovYDegrees * Pi / 360.0f);
    Mat4 m;
    m.E = {f / aspect,
           0,
           0,
           0,
           0,
           f,
           0,
           0,
           0,
           0,
           (zFar + zNear) / (zNear - zFar),
           -1,
           0,
           0,
           2.0f * zFar * zNear / (zNear - zFar),
           0};
    return m;
}

Mat4 Mat4::Orthographic(float left, float right, float bottom, float top, float zNear, float zFar) {
    Mat4 m;
    m.E = {2.0f / (right - left),
           0,
           0,
           0,
           0,
           2.0f / (top - bottom),
           0,
           0,
           0,
           0,
           -2.0f / (zFar - zNear),
           0,
           -(right + left) / (right - left),
           -(top + bottom) / (top - bottom),
           -(zFar + zNear) / (zFar - zNear),
           1};
    return m;
}

Mat4 Mat4::operator*(const Mat4& other) const {
    Mat4 m;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += E[k * 4 + r] * other.E[c * 4 + k];
            }
            m.E[c * 4 + r] = sum;
        }
    }
    return m;
}

Vec3 Mat4::TransformPoint(Vec3 p) const {
    return {E[0] * p.X + E[4] * p.Y + E[8] * p.Z + E[12],
            E[1] * p.X + E[5] * p.Y + E[9] * p.Z + E[13],
            E[2] * p.X + E[6] * p.Y + E[10] * p.Z + E[14]};
}

Vec3 Mat4::TransformDirection(Vec3 d) const {
    return {E[0] * d.X + E[4] * d.Y + E[8] * d.Z, E[1] * d.X + E[5] * d.Y + E[9] * d.Z,
            E[2] * d.X + E[6] * d.Y + E[10] * d.Z};
}

std::array<float, 4> Mat4::TransformClip(Vec3 p) const {
    std::array<float, 4> out{};
    for (int r = 0; r < 4; ++r) {
        out[r] = E[r] * p.X + E[4 + r] * p.Y + E[8 + r] * p.Z + E[12 + r];
    }
    return out;
}

Mat4 Mat4::RigidInverse() const {
    Mat4 m;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            m.E[c * 4 + r] = E[r * 4 + c];
        }
    }
    const Vec3 offset{E[12], E[13], E[14]};
    const Vec3 back = m.TransformDirection(offset);
    m.E[12] = -back.X;
    m.E[13] = -back.Y;
    m.E[14] = -back.Z;
    return m;
}

Raster::Raster(int width, int height, Colour clear, const Mat4& projection)
    : image(width, height, clear),
      depth(static_cast<size_t>(width) * height, std::numeric_limits<float>::max()),
      projection(projection) {}

void Raster::DrawTriangle(const std::array<RasterVertex, 3>& corners, Colour tint,
                          const Picture* texture, const Picture* overlay) {
    std::vector<ClipPoint> polygon;
    for (const RasterVertex& v : corners) {
        polygon.push_back({projection.TransformClip(v.Eye), -v.Eye.Z, v.S, v.T, v.Shade});
    }
    // Clip against the near plane (z > -w), where the perspective division would fail.
    std::vector<ClipPoint> clipped;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const ClipPoint& a = polygon[i];
        const ClipPoint& b = polygon[(i + 1) % polygon.size()];
        const float da = a.Clip[2] + a.Clip[3];
        const float db = b.Clip[2] + b.Clip[3];
        if (da >= 0.0f) {
            clipped.push_back(a);
        }
        if ((da >= 0.0f) != (db >= 0.0f)) {
            const float t = da / (da - db);
            ClipPoint p;
            for (int k = 0; k < 4; ++k) {
                p.Clip[k] = a.Clip[k] + (b.Clip[k] - a.Clip[k]) * t;
            }
            p.Distance = a.Distance + (b.Distance - a.Distance) * t;
            p.S = a.S + (b.S - a.S) * t;
            p.T = a.T + (b.T - a.T) * t;
            p.Shade = a.Shade + (b.Shade - a.Shade) * t;
            clipped.push_back(p);
        }
    }
    for (size_t i = 1; i + 1 < clipped.size(); ++i) {
        Rasterise(clipped[0], clipped[i], clipped[i + 1], tint, texture, overlay);
    }
}

void Raster::Rasterise(const ClipPoint& a, const ClipPoint& b, const ClipPoint& c, Colour tint,
                       const Picture* texture, const Picture* overlay) {
    const int width = image.Width();
    const int height = image.Height();
    struct Screen {
        float X, Y, Z, InverseW;
    };
    auto toScreen = [&](const ClipPoint& p) {
        const float inverse = 1.0f / p.Clip[3];
        return Screen{(p.Clip[0] * inverse * 0.5f + 0.5f) * width,
                      (0.5f - p.Clip[1] * inverse * 0.5f) * height, p.Clip[2] * inverse, inverse};
    };
    const Screen s0 = toScreen(a);
    const Screen s1 = toScreen(b);
    const Screen s2 = toScreen(c);
    const float area = (s1.X - s0.X) * (s2.Y - s0.Y) - (s2.X - s0.X) * (s1.Y - s0.Y);
    if (std::fabs(area) < 1e-9f) {
        return;
    }
    const int left = std::max(0, static_cast<int>(std::floor(std::min({s0.X, s1.X, s2.X}))));
    const int right =
        std::min(width - 1, static_cast<int>(std::ceil(std::max({s0.X, s1.X, s2.X}))));
    const int top = std::max(0, static_cast<int>(std::floor(std::min({s0.Y, s1.Y, s2.Y}))));
    const int bottom =
        std::min(height - 1, static_cast<int>(std::ceil(std::max({s0.Y, s1.Y, s2.Y}))));
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            float w1 = ((px - s0.X) * (s2.Y - s0.Y) - (s2.X - s0.X) * (py - s0.Y)) / area;
            float w2 = ((s1.X - s0.X) * (py - s0.Y) - (px - s0.X) * (s1.Y - s0.Y)) / area;
            float w0 = 1.0f - w1 - w2;
            if (w0 < 0.0f || w1 < 0.0f || w2 < 0.0f) {
                continue;
            }
            const float z = w0 * s0.Z + w1 * s1.Z + w2 * s2.Z;
            const size_t index = static_cast<size_t>(y) * width + x;
            if (z < -1.0f || z >= depth[index]) {
                continue;
            }
            depth[index] = z;
            // Perspective-correct interpolation.
            const float q0 = w0 * s0.InverseW;
            const float q1 = w1 * s1.InverseW;
            const float q2 = w2 * s2.InverseW;
            const float q = 1.0f / (q0 + q1 + q2);
            auto attribute = [&](float ClipPoint::*field) {
                return (q0 * a.*field + q1 * b.*field + q2 * c.*field) * q;
            };
            const float s = attribute(&ClipPoint::S);
            const float t = attribute(&ClipPoint::T);
            Colour colour = tint * attribute(&ClipPoint::Shade);
            if (texture) {
                colour = colour * texture->SampleWrapped(s * texture->Width(),
                                                         (1.0f - t) * texture->Height());
            }
            if (overlay) {
                colour = colour * overlay->SampleWrapped(s * overlay->Width(),
                                                         (1.0f - t) * overlay->Height());
            }
            if (fogDensity > 0.0f) {
                const float d = fogDensity * attribute(&ClipPoint::Distance);
                colour = Mix(fogColour, colour, std::exp(-d * d));
            }
            image.At(x, y) = colour;
        }
    }
}

} // namespace tavren
