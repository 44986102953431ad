// What the renderer shows: the scene's OpenGL state, its projection and one frame.
// Needs a current OpenGL context.
#pragma once

#include "RendererShell.h"

#include <cstdint>

namespace tavren {

// Called whenever the client size is set. A height of 0 is treated as 1.
void ResizeScene(int32_t width, int32_t height);
// Called once, with the context current, after the first ResizeScene.
void SetUpScene();
// Called once per frame; the shell swaps the buffers afterwards.
void DrawScene();
// Frees the scene's objects: the school, then the terrain player.
void FreeScene();

// The shell's hooks, handed to the functions above.
class SceneFunctions final : public SceneHooks {
public:
    void ResizeScene(int32_t width, int32_t height) override;
    void SetUpScene() override;
    void DrawScene() override;
    void FreeScene() override;
};

} // namespace tavren
