#include "Boids/Scene.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "tools/PngFile.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tavren {
namespace {

TEST(HeadlessRenderer, ZeroHeightGivesAOnePixelViewportAndTheWidthAsAspect) {
    HeadlessRenderer renderer(800, 8);
    ResizeScene(800, 0);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 1);

    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const double focal = 1.0 / std::tan(22.5 * M_PI / 180.0);
    EXPECT_NEAR(projection[5], focal, 1e-5);
    EXPECT_NEAR(projection[0], focal / 800.0, 1e-7);
    // Near plane 1, far plane 100.
    EXPECT_NEAR(projection[10], -101.0 / 99.0, 1e-5);
    EXPECT_NEAR(projection[14], -200.0 / 99.0, 1e-5);
}

TEST(HeadlessRenderer, RefusesAnEmptyTarget) {
    EXPECT_THROW(HeadlessRenderer(0, 10), HeadlessError);
}

} // namespace
} // namespace tavren
