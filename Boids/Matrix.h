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

    void RotatePoint(TPoint& point) const;
    // The inverse rotation, by the transposed rotation part.
    void UnrotatePoint(TPoint& point) const;
    void OffsetPoint(TPoint& point) const;
    void UnoffsetPoint(TPoint& point) const;

    float operator[](int index) const { return Elements[index]; }
    const std::array<float, 16>& Data() const { return Elements; }

private:
    std::array<float, 16> Elements;
};

} // namespace tavren
