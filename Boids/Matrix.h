// A 4 by 4 rigid-motion matrix in OpenGL's column-major order: element 4c + r is row r of
// column c, elements 12 to 14 are the translation. Everything is in 32-bit floats.
#pragma once

#include <array>

namespace tavren {

using TPoint = std::array<float, 3>;

class TMatrix {
public:
    // A new matrix is the identity.
    TMatrix() { LoadIdentity(); }

    void LoadIdentity();
    void CopyTo(float (&elements)[16]) const;
    void CopyFrom(const float (&elements)[16]);

    // self := self x other: applied to a point, other acts first.
    void MultiplyBy(const TMatrix& other);
    // Writes the rotation part only: Rz(az) x Ry(ay) x Rx(ax), angles in radians.
    void SetEulerRotation(const TPoint& angles);
    // Writes the translation only.
    void SetOffset(const TPoint& offset);

    // Defined here, as they run for every drawn corner of every fish.
    void RotatePoint(TPoint& point) const {
        const auto [x, y, z] = point;
        const std::array<float, 16>& e = Elements;
        point = {x * e[0] + y * e[4] + z * e[8], x * e[1] + y * e[5] + z * e[9],
                 x * e[2] + y * e[6] + z * e[10]};
    }
    // The inverse rotation, by the transposed rotation part.
    void UnrotatePoint(TPoint& point) const;
    void OffsetPoint(TPoint& point) const {
        point[0] += Elements[12];
        point[1] += Elements[13];
        point[2] += Elements[14];
    }
    void UnoffsetPoint(TPoint& point) const;

    float operator[](int index) const { return Elements[index]; }
    const std::array<float, 16>& Data() const { return Elements; }

private:
    std::array<float, 16> Elements;
};

} // namespace tavren
