#include "Boids/Boid.h"
#include "Boids/platform/egl/HeadlessRenderer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <numbers>
#include <vector>

namespace tavren {
namespace {

struct Snapshot {
    std::array<float, 16> ModelView{};
    std::array<float, 4> Colour{};
};

// Notes the transform and colour each fish is drawn with.
class RecordingPlayer final : public SchoolModelPlayer {
public:
    explicit RecordingPlayer(std::vector<Snapshot>& renders) : Renders(renders) {}
    void Render() override {
        Snapshot snapshot;
        glGetFloatv(GL_MODELVIEW_MATRIX, snapshot.ModelView.data());
        glGetFloatv(GL_CURRENT_COLOR, snapshot.Colour.data());
        Renders.push_back(snapshot);
    }

private:
    std::vector<Snapshot>& Renders;
};

std::unique_ptr<TBoid> FishAt(double x, double y, double heading, int32_t modelIndex = 0) {
    const TBoidGene gene(new TColor(1, 1, 1), heading, 0.5, x, y, 0.8, 0.5, 0.01, 0.05, 60, 50, 1,
                         1, nullptr, modelIndex);
    return std::make_unique<TBoid>(gene);
}

TEST(FlockDrawTest, EachFishAtItsPlaceTurnedByItsHeadingAndGreyByItsDepth) {
    const HeadlessRenderer renderer(16, 16);
    std::vector<Snapshot> renders;
    TFlock school(2, 1000, 1000, std::make_unique<SequenceRandom>(std::vector<double>{}));
    school.Players()[0] = std::make_unique<RecordingPlayer>(renders);
    school.AppendBoid(FishAt(500, 250, 0));
    school.AppendBoid(FishAt(100, 500, std::numbers::pi / 2));
    school.AppendBoid(FishAt(900, 1000, std::numbers::pi));
    school.AppendBoid(FishAt(300, 300, 0, 1)); // an empty slot: not drawn

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    school.Draw();
    ASSERT_EQ(renders.size(), 3u);

    struct Expected {
        float X, Y, Grey, Cos, Sin; // the model's x axis after the turn by heading - 90 degrees
    };
    const Expected expected[] = {{5, 2.5f, 0.75f, 0, -1}, {1, 5, 0.5f, 1, 0}, {9, 10, 0, 0, 1}};
    for (size_t index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        const Snapshot& render = renders[index];
        const Expected& e = expected[index];
        EXPECT_NEAR(render.ModelView[12], e.X, 1e-5);
        EXPECT_NEAR(render.ModelView[13], e.Y, 1e-5);
        EXPECT_NEAR(render.ModelView[14], 0, 1e-6);
        EXPECT_NEAR(render.ModelView[0], 0.005f * e.Cos, 1e-6);
        EXPECT_NEAR(render.ModelView[1], 0.005f * e.Sin, 1e-6);
        EXPECT_NEAR(render.ModelView[10], 0.005f, 1e-7);
        EXPECT_NEAR(render.Colour[0], e.Grey, 1e-6);
        EXPECT_NEAR(render.Colour[2], e.Grey, 1e-6);
    }
    // Every push had its pop.
    std::array<float, 16> after{};
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(after[0], 1);
    EXPECT_EQ(after[12], 0);
}

} // namespace
} // namespace tavren
