// What the renderer shows: the scene's OpenGL state, its projection and one frame: the school
// in its tilted plane, the background strip behind it and the sea floor under caustic light,
// all in a blue fog. Needs a current OpenGL context.
#pragma once

#include "Animate.h"
#include "Boid.h"
#include "RendererShell.h"
#include "TextureName.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace tavren {

// The most fish a settings file can ask for; beyond it a hand-edited value would take the
// machine's memory and time.
inline constexpr int32_t MostFishSetting = 10000;

// Called whenever the client size is set. A height of 0 is treated as 1.
void ResizeScene(int32_t width, int32_t height);
// Called once, with the context current, after the first ResizeScene.
void SetUpScene();
// Called once per frame; the shell swaps the buffers afterwards.
void DrawScene();
// Frees the scene's objects: the school, then the terrain player.
void FreeScene();

// The scene's objects: set up by SetUpScene, empty when their model could not be read.
extern std::unique_ptr<TFlock> SceneSchool;
extern std::unique_ptr<TAnimate> SceneTerrain;
extern TextureName BackgroundTexture;

// What tools and tests may choose before SetUpScene: the players' clock (the system clock
// when empty) and the seed of the school's generator (the clock when empty).
struct SceneOptions {
    ClockSource* Clock = nullptr;
    std::optional<uint64_t> Seed;
};
void SetSceneOptions(const SceneOptions& options);

// Where a frame's time goes, summed over the frames drawn while a profile is installed. The
// drawing waits for the GPU at each boundary, so the parts add up to the frame.
struct SceneProfile {
    double SimulationSeconds = 0;
    double FishDrawingSeconds = 0;
    double TerrainDrawingSeconds = 0;
    double RestSeconds = 0;
    int64_t Frames = 0;
};
// Installs profile (not owned), or none for nullptr.
void SetSceneProfile(SceneProfile* profile);

// The shell's hooks, handed to the functions above.
class SceneFunctions final : public SceneHooks {
public:
    void ResizeScene(int32_t width, int32_t height) override;
    void SetUpScene() override;
    void DrawScene() override;
    void FreeScene() override;
};

} // namespace tavren
