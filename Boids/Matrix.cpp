#include "Matrix.h"

#include <cmath>

namespace tavren {

void TMatrix::LoadIdentity() {
    Elements.fill(0.0f);
    Elements[0] = Elements[5] = Elements[10] = Elements[15] = 1.0f;
}

void TMatrix::CopyTo(float (&elements)[16]) const {
    for (int index = 0; index < 16; ++index) {
        elements[index] = Elements[index];
    }
}

void TMatrix::CopyFrom(const float (&elements)[16]) {
    for (int index = 0; index < 16; ++index) {
        Elements[index] = elements[index];
    }
}

void TMatrix::MultiplyBy(const TMatrix& other) {
    const std::array<float, 16>& a = Elements;
    const std::array<float, 16>& b = other.Elements;
    std::array<float, 16> product{};
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            product[column * 4 + row] = a[row] * b[column * 4] + a[4 + row] * b[column * 4 + 1] +
                                        a[8 + row] * b[column * 4 + 2];
        }
    }
    for (int row = 0; row < 3; ++row) {
        product[12 + row] = a[row] * b[12] + a[4 + row] * b[13] + a[8 + row] * b[14] + a[12 + row];
    }
    product[15] = 1.0f;
    Elements = product;
}

void TMatrix::SetEulerRotation(const TPoint& angles) {
    const float cx = std::cos(angles[0]);
    const float sx = std::sin(angles[0]);
    const float cy = std::cos(angles[1]);
    const float sy = std::sin(angles[1]);
    const float cz = std::cos(angles[2]);
    const float sz = std::sin(angles[2]);

    Elements[0] = cy * cz;
    Elements[1] = cy * sz;
    Elements[2] = -sy;
    Elements[4] = sx * sy * cz - cx * sz;
    Elements[5] = sx * sy * sz + cx * cz;
    Elements[6] = sx * cy;
    Elements[8] = cx * sy * cz + sx * sz;
    Elements[9] = cx * sy * sz - sx * cz;
    Elements[10] = cx * cy;
}

void TMatrix::SetOffset(const TPoint& offset) {
    Elements[12] = offset[0];
    Elements[13] = offset[1];
    Elements[14] = offset[2];
}

void TMatrix::UnrotatePoint(TPoint& point) const {
    const auto [x, y, z] = point;
    const std::array<float, 16>& e = Elements;
    point = {x * e[0] + y * e[1] + z * e[2], x * e[4] + y * e[5] + z * e[6],
             x * e[8] + y * e[9] + z * e[10]};
}

void TMatrix::UnoffsetPoint(TPoint& point) const {
    point[0] -= Elements[12];
    point[1] -= Elements[13];
    point[2] -= Elements[14];
}

} // namespace tavren
