#include "Boids/Matrix.h"

#include <gtest/gtest.h>

#include <numbers>

namespace tavren {
namespace {

constexpr float Quarter = std::numbers::pi_v<float> / 2;

void ExpectPoint(const TPoint& actual, const TPoint& expected) {
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(actual[axis], expected[axis], 1e-6f) << "axis " << axis;
    }
}

TEST(TMatrix, StartsAsTheIdentity) {
    const TMatrix matrix;
    for (int index = 0; index < 16; ++index) {
        EXPECT_EQ(matrix[index], index % 5 == 0 ? 1.0f : 0.0f) << index;
    }
}

TEST(TMatrix, EulerRotationTurnsAboutXThenYThenZ) {
    struct Case {
        TPoint Angles;
        TPoint Point;
        TPoint Turned;
    };
    const Case cases[] = {
        {{0, 0, Quarter}, {1, 0, 0}, {0, 1, 0}},
        {{Quarter, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, Quarter, 0}, {1, 0, 0}, {0, 0, -1}},
        {{Quarter, 0, Quarter}, {0, 1, 0}, {0, 0, 1}},
        {{Quarter, 0, Quarter}, {1, 0, 0}, {0, 1, 0}},
        {{Quarter, Quarter, 0}, {0, 1, 0}, {1, 0, 0}},
    };
    for (const Case& test : cases) {
        TMatrix matrix;
        matrix.SetEulerRotation(test.Angles);
        TPoint point = test.Point;
        matrix.RotatePoint(point);
        ExpectPoint(point, test.Turned);
        matrix.UnrotatePoint(point);
        ExpectPoint(point, test.Point);
    }
}

TEST(TMatrix, EulerRotationAndOffsetWriteOnlyTheirOwnElements) {
    float elements[16];
    for (int index = 0; index < 16; ++index) {
        elements[index] = 100.0f + static_cast<float>(index);
    }
    TMatrix matrix;
    matrix.CopyFrom(elements);
    matrix.SetEulerRotation({0, 0, 0});
    matrix.SetOffset({1, 2, 3});
    float copied[16];
    matrix.CopyTo(copied);
    for (const int untouched : {3, 7, 11, 15}) {
        EXPECT_EQ(copied[untouched], elements[untouched]);
    }
    EXPECT_EQ(copied[12], 1.0f);
    EXPECT_EQ(copied[14], 3.0f);
    EXPECT_EQ(copied[5], 1.0f);
}

TEST(TMatrix, MultiplyByAppliesTheOtherMatrixFirstAndMakesARigidMotion) {
    float elements[16] = {1, 0, 0, 7, 0, 1, 0, 8, 0, 0, 1, 9, 1, 0, 0, 5};
    TMatrix first;
    first.CopyFrom(elements);
    TMatrix second;
    second.SetOffset({0, 2, 0});
    first.MultiplyBy(second);
    EXPECT_EQ(first[12], 1.0f);
    EXPECT_EQ(first[13], 2.0f);
    EXPECT_EQ(first[14], 0.0f);
    for (const int zero : {3, 7, 11}) {
        EXPECT_EQ(first[zero], 0.0f) << zero;
    }
    EXPECT_EQ(first[15], 1.0f);

    TMatrix turn;
    turn.SetEulerRotation({0, 0, Quarter});
    TMatrix shift;
    shift.SetOffset({1, 0, 0});
    turn.MultiplyBy(shift);
    TPoint origin = {0, 0, 0};
    turn.RotatePoint(origin);
    turn.OffsetPoint(origin);
    ExpectPoint(origin, {0, 1, 0});
}

TEST(TMatrix, OffsetAndUnoffsetMoveByTheTranslation) {
    TMatrix matrix;
    matrix.SetOffset({1, -2, 0.5f});
    TPoint point = {1, 1, 1};
    matrix.OffsetPoint(point);
    ExpectPoint(point, {2, -1, 1.5f});
    matrix.UnoffsetPoint(point);
    ExpectPoint(point, {1, 1, 1});
    matrix.LoadIdentity();
    EXPECT_EQ(matrix[12], 0.0f);
}

} // namespace
} // namespace tavren
