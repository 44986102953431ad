// The one description of the fish's form, shared by the model and by the painting of its skin, so
// that the skin's features land where the model's texture coordinates look for them.
//
// Model space: the head toward -z, the tail toward +z, the back toward +y, the fish's right
// toward +x. The skin is a side view: picture x grows with z, picture y grows toward the belly.
#pragma once

#include "Vector.h"

namespace tavren {

constexpr float NoseZ = -70.0f;
constexpr float BodyEndZ = 62.0f;

// The body's cross-section at a position s from 0 (nose) to 1 (root of the tail).
struct BodySection {
    float Z = 0.0f;
    float Centre = 0.0f;    // height of the section's middle
    float Top = 0.0f;       // from the middle up to the back
    float Bottom = 0.0f;    // from the middle down to the belly
    float HalfWidth = 0.0f; // from the middle out to each side
};

BodySection BodyAt(float s);

// The section at a model z inside the body (clamped to the body's ends).
BodySection BodyAtZ(float z);

constexpr int SkinWidth = 405;
constexpr int SkinHeight = 257;
constexpr float SkinScale = 2.2f; // picture pixels per model unit
constexpr float SkinLeftZ = NoseZ - 16.0f / SkinScale;
constexpr float SkinMiddleY = 128.0f; // picture row of model height 0

// Model (z, y) to skin picture pixels, and back.
inline Vec2 SkinPixel(float z, float y) {
    return {(z - SkinLeftZ) * SkinScale, SkinMiddleY - y * SkinScale};
}
inline Vec2 SkinModelPoint(float px, float py) {
    return {px / SkinScale + SkinLeftZ, (SkinMiddleY - py) / SkinScale};
}

// A fin as a patch over (a, b) in [0, 1] x [0, 1]: a runs along the fin's root, b from the root
// to the fin's edge. For the fins that stand in the body's plane the result is (z, y); the side
// fins have a 3-D form (SideFinPoint) and a flat picture of their own (SideFinSkinPoint, z, y).
enum class Fin { Dorsal, Tail, Anal, Side };

Vec2 FinPoint(Fin fin, float a, float b);
Vec3 SideFinPoint(float a, float b, float side); // side +1 for the right fin, -1 for the left
Vec2 SideFinSkinPoint(float a, float b);

// How many rays a fin's picture shows, for the painter.
int FinRayCount(Fin fin);

} // namespace tavren
