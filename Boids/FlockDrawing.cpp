// The school's drawing and its fish player, apart from its simulation so that the simulation
// builds without models or GL.
#include "Animate.h"
#include "Boid.h"
#include "OpenGL.h"

#include <cmath>

namespace tavren {

namespace {

// The animated model player in a school's slot.
class AnimatedFishPlayer final : public SchoolModelPlayer {
public:
    explicit AnimatedFishPlayer(std::unique_ptr<TAnimate> player) : Player(std::move(player)) {}
    void Render() override { Player->Render(); }

private:
    std::unique_ptr<TAnimate> Player;
};

} // namespace

std::unique_ptr<TFlock> TFlock::Create(int32_t modelCount, double areaHeight, double areaWidth,
                                       const std::string& modelPath, bool multitexture,
                                       bool caustics, const TextureLoaderFunction& loadTexture,
                                       ClockSource& clock, std::unique_ptr<UniformRandom> random) {
    auto school = std::make_unique<TFlock>(modelCount, areaHeight, areaWidth, std::move(random));
    school->PlayerSlots.at(0) = std::make_unique<AnimatedFishPlayer>(
        std::make_unique<TAnimate>(modelPath, 24.0, multitexture, caustics, loadTexture, clock));
    return school;
}

void TFlock::Draw() {
    for (const std::unique_ptr<TBoid>& fish : FishList) {
        const double x = fish->GetX();
        const double y = fish->GetY();
        const double heading = fish->GetHeading();
        const T2DCoord position(static_cast<float>(x / 100), static_cast<float>(y / 100));
        // The point 20 units ahead of the fish.
        const T2DCoord head(static_cast<float>((x + 20 * std::cos(heading)) / 100),
                            static_cast<float>((y + 20 * std::sin(heading)) / 100));
        const float bearing = CompassBearing(position, head);

        const int32_t slot = fish->GetModelIndex();
        if (slot < 0 || static_cast<size_t>(slot) >= PlayerSlots.size() || !PlayerSlots[slot]) {
            continue;
        }
        glPushMatrix();
        glTranslatef(position.X, position.Y, 0);
        glScalef(0.005f, 0.005f, 0.005f);
        glRotatef(-bearing, 0, 0, 1);
        // Fish farther back in the tilted plane are darker.
        const float grey = 1 - position.Y / 10;
        glColor3f(grey, grey, grey);
        PlayerSlots[slot]->Render();
        glPopMatrix();
    }
}

} // namespace tavren
