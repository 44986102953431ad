// Pictures of the models drawn by the software renderer, for looking at shape, skin and motion.
#pragma once

#include "ModelText.h"
#include "Picture.h"
#include "Raster.h"

#include <vector>

namespace tavren {

// Every bone's model-space matrix at an animation frame, posed as the renderer poses them.
std::vector<Mat4> PoseBones(const ModelText& model, float frame);

// The fish seen from its left side, orthographic, at a frame.
Picture DrawFishSide(const ModelText& fish, const Picture& skin, float frame);
// The fish seen from above, orthographic, at a frame.
Picture DrawFishTop(const ModelText& fish, const Picture& skin, float frame);
// The fish from the front left and above, with simple lighting that shows its normals.
Picture DrawFishLit(const ModelText& fish, const Picture& skin, float frame);

// The sea floor from straight above, with the sand and one caustic frame.
Picture DrawTerrainTop(const ModelText& terrain, const Picture& sand, const Picture& caustic);

struct ScenePictures {
    const Picture* Background;
    const Picture* FishSkin;
    const Picture* Sand;
    const Picture* Caustic;
};

// One frame of the whole scene as the renderer composes it: school, background strip, sea floor
// with caustic light, blue fog.
Picture DrawScene(const ModelText& fish, const ModelText& terrain, const ScenePictures& pictures,
                  int width, int height);

} // namespace tavren
