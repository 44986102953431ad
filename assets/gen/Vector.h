// The little vector maths the model builders and the software renderer share.
#pragma once

#include <cmath>

namespace tavren {

struct Vec2 {
    float X = 0.0f;
    float Y = 0.0f;
};

struct Vec3 {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.X + b.X, a.Y + b.Y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.X - b.X, a.Y - b.Y};
}
inline Vec2 operator*(Vec2 a, float s) {
    return {a.X * s, a.Y * s};
}
inline Vec2 Lerp(Vec2 a, Vec2 b, float t) {
    return a + (b - a) * t;
}

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}
inline Vec3 operator*(Vec3 a, float s) {
    return {a.X * s, a.Y * s, a.Z * s};
}
inline Vec3 Lerp(Vec3 a, Vec3 b, float t) {
    return a + (b - a) * t;
}
inline float Dot(Vec3 a, Vec3 b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
inline float Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
inline Vec3 Normalised(Vec3 a) {
    const float length = Length(a);
    return length > 0.0f ? a * (1.0f / length) : Vec3{0.0f, 1.0f, 0.0f};
}

constexpr float Pi = 3.14159265358979f;

} // namespace tavren
