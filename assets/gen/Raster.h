// A small software renderer: enough of fixed-function OpenGL (modulated textures, exp2 fog,
// depth test, near-plane clipping) to look at the models before the real renderer draws them.
#pragma once

#include "Picture.h"
#include "Vector.h"

#include <array>

namespace tavren {

// Column-major 4 x 4 matrix, as OpenGL keeps it.
struct Mat4 {
    std::array<float, 16> E{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Mat4 Translation(Vec3 offset);
    static Mat4 Scaling(float factor);
    static Mat4 Rotation(float degrees, Vec3 axis);
    // Rz(az) x Ry(ay) x Rx(ax), radians: the model format's joint rotation.
    static Mat4 Euler(Vec3 angles);
    static Mat4 Perspective(float fovYDegrees, float aspect, float zNear, float zFar);
    static Mat4 Orthographic(float left, float right, float bottom, float top, float zNear,
                             float zFar);

    Mat4 operator*(const Mat4& other) const;
    Vec3 TransformPoint(Vec3 p) const;
    Vec3 TransformDirection(Vec3 d) const;
    std::array<float, 4> TransformClip(Vec3 p) const;
    // The inverse of a rigid motion (rotation and translation only).
    Mat4 RigidInverse() const;
};

struct RasterVertex {
    Vec3 Eye;    // position in eye space
    float S = 0; // texture coordinates, OpenGL's convention: t = 0 at the picture's bottom
    float T = 0;
    float Shade = 1.0f;
};

class Raster {
public:
    Raster(int width, int height, Colour clear, const Mat4& projection);

    void SetFog(Colour colour, float density) {
        fogColour = colour;
        fogDensity = density;
    }

    // Draws one triangle given in eye space; `texture` and `overlay` may be null.
    void DrawTriangle(const std::array<RasterVertex, 3>& corners, Colour tint,
                      const Picture* texture, const Picture* overlay);

    const Picture& Image() const { return image; }

private:
    struct ClipPoint {
        std::array<float, 4> Clip;
        float Distance;
        float S;
        float T;
        float Shade;
    };
    void Rasterise(const ClipPoint& a, const ClipPoint& b, const ClipPoint& c, Colour tint,
                   const Picture* texture, const Picture* overlay);

    Picture image;
    std::vector<float> depth;
    Mat4 projection;
    Colour fogColour;
    float fogDensity = 0.0f;
};

} // namespace tavren
