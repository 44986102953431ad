#include "MeshBuilder.h"
#include "Models.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace tavren {

namespace {

constexpr int GridSize = 32;
constexpr float FirstX = -242.5f;
constexpr float StepX = 15.0f;
constexpr float FirstZ = -165.0f;
constexpr float StepZ = 10.0f;
constexpr float LowestY = 43.0f;
constexpr float HighestY = 93.0f;
// How often the sand (and the caustic light, which shares its coordinates) repeats across the
// floor: the same number of picture repeats per unit of length in both directions.
constexpr float SandRepeatsAcross = 8.0f;

// Gentle dunes: long swells crossing at an angle, a little unevenness, and a floor that rises
// toward the back so that the far dunes show above the near ones.
float RawHeight(float u, float w) {
    const float swell = std::sin(2.0f * Pi * (1.3f * u + 0.45f * w) + 0.7f) * 0.55f +
                        std::sin(2.0f * Pi * (0.5f * u - 1.1f * w) + 2.1f) * 0.35f +
                        std::sin(2.0f * Pi * (2.6f * u + 1.7f * w) + 4.0f) * 0.12f;
    const float lumps = PeriodicFractal(u, w, 3, 3, 0.5f, 2026u) - 0.5f;
    const float rise = 0.9f * (1.0f - w);
    return swell + 1.4f * lumps + rise;
}

} // namespace

ModelText BuildTerrainModel() {
    std::vector<float> heights(GridSize * GridSize);
    for (int j = 0; j < GridSize; ++j) {
        for (int i = 0; i < GridSize; ++i) {
            const float u = static_cast<float>(i) / (GridSize - 1);
            const float w = static_cast<float>(j) / (GridSize - 1);
            heights[j * GridSize + i] = RawHeight(u, w);
        }
    }
    const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
    const float lowest = *low;
    const float range = *high - *low;

    const float width = StepX * (GridSize - 1);
    const float repeatsPerUnit = SandRepeatsAcross / width;
    MeshBuilder mesh;
    for (int j = 0; j < GridSize; ++j) {
        for (int i = 0; i < GridSize; ++i) {
            const float x = FirstX + StepX * i;
            const float z = FirstZ + StepZ * j;
            const float y =
                LowestY + (HighestY - LowestY) * (heights[j * GridSize + i] - lowest) / range;
            mesh.AddVertex(
                {{x, y, z}, (x - FirstX) * repeatsPerUnit, (z - FirstZ) * repeatsPerUnit, -1});
        }
    }
    for (int j = 0; j + 1 < GridSize; ++j) {
        for (int i = 0; i + 1 < GridSize; ++i) {
            const int a = j * GridSize + i;
            const int b = a + 1;
            const int c = a + GridSize + 1;
            const int d = a + GridSize;
            mesh.AddTriangle(a, b, c, {0.0f, 1.0f, 0.0f}, 0);
            mesh.AddTriangle(a, c, d, {0.0f, 1.0f, 0.0f}, 0);
        }
    }
    ModelText model;
    model.TotalFrames = 30;
    model.StartFrame = 1;
    model.ElementFlags = 0;
    model.Meshes.push_back(mesh.Build("terrain", 0, 0));
    model.Materials.push_back({"Sand", ".\\Tavren202.bmp"});
    return model;
}

} // namespace tavren
